#pragma once
// The shared-string table of an xlsx package, read as a handler of its part.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/cell_values.h"
#include "platform/workbook/package/xml_stream.h"
#include "platform/workbook/reader_limits.h"

namespace ore::reader {

// Shared strings in one pool: a hostile table of millions of tiny strings then costs 8 bytes
// each, not a std::string each.
class SharedStrings : public XmlHandler {
 public:
  explicit SharedStrings(ReadContext& ctx) : ctx_(ctx) {}

  std::size_t size() const { return ends_.size(); }
  std::string_view at(std::size_t i) const {
    std::size_t b = i ? ends_[i - 1] : 0;
    return std::string_view(pool_).substr(b, ends_[i] - b);
  }

  void start(std::string_view, std::string_view local, const char**) override {
    if (local == "si") {
      inSi_ = true;
      cur_.clear();
    } else if (inSi_ && local == "rPh") {
      ++phonetic_;  // phonetic guides are not part of the text
    } else if (inSi_ && local == "t" && !phonetic_) {
      inT_ = true;
    }
  }
  void end(std::string_view, std::string_view local) override {
    if (local == "t") {
      inT_ = false;
    } else if (local == "rPh") {
      if (phonetic_) --phonetic_;
    } else if (local == "si" && inSi_) {
      decodeOoxmlEscapes(cur_);
      ctx_.addModel(cur_.size() + sizeof(std::size_t));
      pool_ += cur_;
      ends_.push_back(pool_.size());
      inSi_ = false;
    }
  }
  void text(std::string_view s) override {
    if (inT_) cur_ += s;
  }

 private:
  ReadContext& ctx_;
  std::string pool_;
  std::vector<std::size_t> ends_;
  std::string cur_;
  bool inSi_ = false, inT_ = false;
  int phonetic_ = 0;
};

}  // namespace ore::reader
