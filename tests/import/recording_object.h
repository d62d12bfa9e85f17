#pragma once
// An automation object that passes every call on to the real one and records it, with the
// objects it returns wrapped the same way, so a test sees every member call of a chain.

#include <memory>
#include <string>
#include <vector>

#include "platform/spreadsheet/automation.h"

namespace ore::test {

struct MemberCall {
  std::string member;
  std::vector<double> args;  // numeric arguments (texts are recorded as 0)
};

class RecordingObject : public automation::Object {
 public:
  RecordingObject(std::shared_ptr<automation::Object> inner, std::vector<MemberCall>& log)
      : inner_(std::move(inner)), log_(log) {}

  automation::Variant get(std::string_view member, automation::Args args) override {
    record(member, args);
    automation::Variant r = inner_->get(member, args);
    if (r.kind() != automation::Variant::Kind::Object) return r;
    return automation::Variant::fromObject(std::make_shared<RecordingObject>(r.toObject(), log_));
  }

  void put(std::string_view member, automation::Args args,
           const automation::Variant& value) override {
    record(member, args);
    inner_->put(member, args, value);
  }

 private:
  void record(std::string_view member, automation::Args args) {
    MemberCall c{std::string(member), {}};
    for (const auto& a : args) c.args.push_back(a.rawNumber());
    log_.push_back(std::move(c));
  }

  std::shared_ptr<automation::Object> inner_;
  std::vector<MemberCall>& log_;
};

}  // namespace ore::test
