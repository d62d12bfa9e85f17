#pragma once
// Streaming XML (expat) for the workbook parts, hardened for hostile input: a document type
// declaration is refused outright (so no entity can be declared, let alone expanded), expat's
// amplification guard is on, and every parse error becomes a "damaged file" message naming
// the part, line and column.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/workbook/reader_limits.h"

struct XML_ParserStruct;

namespace ore::reader {

class ZipArchive;

// Element and attribute names come split into namespace URI (or, for a parser without
// namespace processing, the prefix; empty when none) and local name.
class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  // attrs: expat's null-terminated array of name, value pairs; read them with attrValue.
  virtual void start(std::string_view ns, std::string_view local, const char** attrs) = 0;
  virtual void end(std::string_view ns, std::string_view local) = 0;
  // Character data, possibly in several pieces.
  virtual void text(std::string_view) {}
};

// An element or attribute name as the handler gets it, split into namespace and local name.
void splitName(const char* name, std::string_view& ns, std::string_view& local);
// The value of the attribute with this local name (any namespace), or nullptr.
const char* attrValue(const char** attrs, std::string_view local);
// The value of the attribute with this namespace URI (or prefix) and local name, or nullptr.
const char* attrValue(const char** attrs, std::string_view ns, std::string_view local);

class XmlParser {
 public:
  // Prefixes: names as written ("x:c" is prefix "x", local "c"), which is much faster and all
  // that formats with fixed element names need. Namespaces: resolved URIs.
  enum class Names { Prefixes, Namespaces };
  XmlParser(XmlHandler& handler, ReadContext& ctx, std::string part, Names names = Names::Prefixes);
  ~XmlParser();
  XmlParser(const XmlParser&) = delete;
  XmlParser& operator=(const XmlParser&) = delete;

  // Throws ReadContext::corrupt on malformed XML; exceptions of the handler pass through.
  void feed(std::string_view chunk);
  // The end of the document: an unclosed root element is an error here.
  void finish();
  // With namespace processing: the prefixes bound where the parser stands, with their URIs
  // (the default namespace under the empty prefix), outermost first.
  std::vector<std::pair<std::string, std::string>> namespacesInScope() const;

  // A place in the document as expat counts it: lines from 1, columns from 0 in characters, a
  // CR LF pair one line break.
  struct Position {
    std::uint64_t line = 1, column = 0;
    bool afterCr = false;
    void advance(std::string_view bytes);
  };
  // The caller read the stretch from `from` to `to` itself and feeds on after it: messages
  // about what follows name the place in the whole document.
  void skipped(const Position& from, const Position& to) {
    skipFrom_ = from;
    skipTo_ = to;
    spliced_ = true;
  }

 private:
  void check(int status);

  XML_ParserStruct* p_;
  bool spliced_ = false;
  Position skipFrom_, skipTo_;
  XmlHandler& handler_;
  ReadContext& ctx_;
  std::string part_;
  friend struct XmlTrampoline;
};

// Parses a whole archive member.
void parseMember(ZipArchive& zip, const std::string& name, XmlHandler& handler, ReadContext& ctx,
                 XmlParser::Names names = XmlParser::Names::Prefixes);

}  // namespace ore::reader
