#pragma once
// The bulk of a large part without expat. Nearly all the bytes of a big sheet lie inside one
// element (<sheetData> of a worksheet, <office:spreadsheet> of an OpenDocument content part);
// ScannedPartReader lets expat read up to and including that element's start tag and from its
// end tag on, and a scanner read the inside, handing the handler the same elements, attributes
// and texts expat would. The scanner takes only a plain, certainly well-formed subset of XML (no
// comments, CDATA, processing instructions, character references or namespace declarations; no
// CR; names in ASCII). At anything else it throws ScanGiveUp and the caller reads the part again
// from its start through expat alone, so every message about a damaged part stays expat's.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/workbook/package/xml_stream.h"

namespace ore::reader {

struct ScanGiveUp {};

class XmlRegionScanner {
 public:
  explicit XmlRegionScanner(XmlHandler& h) : h_(h) {}

  // The qualified name of the element being read ("sheetData", "office:spreadsheet").
  void begin(std::string_view qname) { region_ = qname; }
  // Names resolved as expat resolves them with namespace processing, with the prefixes bound
  // where the region starts; without this call names go as written.
  void resolveNames(std::vector<std::pair<std::string, std::string>> prefixes);

  // Takes the next bytes of the document. True once the region's end tag is reached: rest()
  // then holds the document from that end tag on.
  bool feed(std::string_view chunk);
  const std::string& rest() const { return rest_; }
  // Where the scanned stretch ends, counted from its start.
  const XmlParser::Position& position() const { return pos_; }
  void startAt(const XmlParser::Position& p) { pos_ = p; }

 private:
  void count(std::string_view s);
  std::size_t scan();
  std::size_t utf8(std::string_view s, std::size_t i, std::string& out);
  std::string_view decode(std::string_view s, bool attribute);
  void text(std::string_view s);
  bool tag(std::string_view s);
  // An element name as the handler gets it; an attribute name as expat writes it.
  void elementName(std::string_view q, std::string_view& ns, std::string_view& local) const;
  void attributeName(std::string_view q);
  const std::string* uriOf(std::string_view prefix) const;

  XmlHandler& h_;
  std::string region_;
  bool resolve_ = false;
  std::vector<std::pair<std::string, std::string>> prefixes_;  // later bindings hide earlier
  std::string buf_, rest_, scratch_, attrText_;
  std::vector<const char*> attrs_;
  std::vector<std::string> open_;  // elements open inside the region
  bool ended_ = false;
  bool nonAscii_ = false;
  XmlParser::Position pos_;
};

// Reads one part: expat up to and including the region's start tag and from its end tag on, the
// scanner in between. Throws ScanGiveUp as the scanner does; the caller then reads the part
// through expat alone.
class ScannedPartReader {
 public:
  // regionLocal: the region element's local name; inRegion: whether the handler, after a start
  // tag, is inside the region now.
  ScannedPartReader(XmlHandler& h, ReadContext& ctx, const std::string& part,
                    std::string_view regionLocal, std::function<bool()> inRegion,
                    XmlParser::Names names = XmlParser::Names::Prefixes);

  void feed(std::string_view chunk);
  void finish();

 private:
  enum class Mode { Head, Scanner, Expat };
  void head(std::string_view chunk);
  void toExpat();

  XmlParser parser_;
  XmlRegionScanner scanner_;
  std::string regionLocal_;
  std::function<bool()> inRegion_;
  bool resolve_;
  Mode mode_ = Mode::Head;
  bool first_ = true;
  XmlParser::Position pos_;
};

}  // namespace ore::reader
