#pragma once
// A small JSON reader for the test manifest: objects, arrays, strings (with \u escapes),
// numbers (as doubles, exactly as strtod reads them), true, false, null.

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ore::testjson {

struct Value {
  enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string string;
  std::vector<Value> array;
  std::map<std::string, Value> object;

  const Value& operator[](const std::string& key) const {
    auto it = object.find(key);
    if (it == object.end()) throw std::runtime_error("no key " + key);
    return it->second;
  }
  const Value& operator[](std::size_t i) const { return array.at(i); }
  bool has(const std::string& key) const { return object.count(key) != 0; }
  std::size_t size() const { return kind == Kind::Array ? array.size() : object.size(); }
};

class Parser {
 public:
  explicit Parser(std::string_view s) : s_(s) {}
  Value parse() {
    Value v = value();
    ws();
    if (i_ != s_.size()) fail();
    return v;
  }

 private:
  [[noreturn]] void fail() { throw std::runtime_error("bad JSON at " + std::to_string(i_)); }
  void ws() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t'))
      ++i_;
  }
  bool lit(std::string_view w) {
    if (s_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }
  Value value() {
    ws();
    if (i_ >= s_.size()) fail();
    Value v;
    char c = s_[i_];
    if (c == '{') {
      v.kind = Value::Kind::Object;
      ++i_;
      ws();
      if (s_[i_] == '}') return ++i_, v;
      for (;;) {
        ws();
        std::string k = str();
        ws();
        if (s_[i_++] != ':') fail();
        v.object.emplace(std::move(k), value());
        ws();
        if (s_[i_] == ',') {
          ++i_;
          continue;
        }
        if (s_[i_++] != '}') fail();
        return v;
      }
    }
    if (c == '[') {
      v.kind = Value::Kind::Array;
      ++i_;
      ws();
      if (s_[i_] == ']') return ++i_, v;
      for (;;) {
        v.array.push_back(value());
        ws();
        if (s_[i_] == ',') {
          ++i_;
          continue;
        }
        if (s_[i_++] != ']') fail();
        return v;
      }
    }
    if (c == '"') {
      v.kind = Value::Kind::String;
      v.string = str();
      return v;
    }
    if (lit("true")) {
      v.kind = Value::Kind::Bool;
      v.boolean = true;
      return v;
    }
    if (lit("false")) {
      v.kind = Value::Kind::Bool;
      return v;
    }
    if (lit("null")) return v;
    std::size_t e = i_;
    while (e < s_.size() &&
           std::string_view("+-0123456789.eE").find(s_[e]) != std::string_view::npos)
      ++e;
    if (e == i_) fail();
    v.kind = Value::Kind::Number;
    v.number = std::strtod(std::string(s_.substr(i_, e - i_)).c_str(), nullptr);
    i_ = e;
    return v;
  }
  void utf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xF0 | (cp >> 18));
      out += char(0x80 | ((cp >> 12) & 0x3F));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  }
  unsigned hex4() {
    if (i_ + 4 > s_.size()) fail();
    unsigned v = static_cast<unsigned>(std::stoul(std::string(s_.substr(i_, 4)), nullptr, 16));
    i_ += 4;
    return v;
  }
  std::string str() {
    if (s_[i_++] != '"') fail();
    std::string out;
    while (i_ < s_.size() && s_[i_] != '"') {
      char c = s_[i_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      char e = s_[i_++];
      switch (e) {
        case 'n':
          out += '\n';
          break;
        case 't':
          out += '\t';
          break;
        case 'r':
          out += '\r';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'u': {
          unsigned cp = hex4();
          if (cp >= 0xD800 && cp <= 0xDBFF && lit("\\u"))
            cp = 0x10000 + ((cp - 0xD800) << 10) + (hex4() - 0xDC00);
          utf8(out, cp);
          break;
        }
        default:
          out += e;
      }
    }
    ++i_;
    return out;
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

}  // namespace ore::testjson
