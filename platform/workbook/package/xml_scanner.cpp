#include "platform/workbook/package/xml_scanner.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace ore::reader {

namespace {

constexpr std::size_t kMaxPending = 1u << 20;  // a token or a text this long is no row
constexpr std::size_t kMaxDepth = 32;
constexpr char kNsSep = '\x01';  // as the expat parser with namespace processing writes names
constexpr std::string_view kXmlUri = "http://www.w3.org/XML/1998/namespace";

bool nameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool nameChar(char c) {
  return nameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
bool blank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

// A qualified name at the start of s; its length, or 0 when it is none this scanner takes.
std::size_t qname(std::string_view s) {
  std::size_t i = 0;
  if (s.empty() || !nameStart(s[0])) return 0;
  while (i < s.size() && nameChar(s[i])) ++i;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (i == s.size() || !nameStart(s[i])) return 0;
    while (i < s.size() && nameChar(s[i])) ++i;
  }
  return i;
}

void split(std::string_view q, std::string_view& prefix, std::string_view& local) {
  const std::size_t colon = q.find(':');
  if (colon == std::string_view::npos) {
    prefix = {};
    local = q;
  } else {
    prefix = q.substr(0, colon);
    local = q.substr(colon + 1);
  }
}

}  // namespace

void XmlRegionScanner::resolveNames(std::vector<std::pair<std::string, std::string>> prefixes) {
  resolve_ = true;
  prefixes_ = std::move(prefixes);
  prefixes_.insert(prefixes_.begin(), {"xml", std::string(kXmlUri)});
}

bool XmlRegionScanner::feed(std::string_view chunk) {
  buf_.append(chunk);
  const std::size_t done = scan();
  count(std::string_view(buf_).substr(0, done));
  if (ended_) {
    rest_ = buf_.substr(done);
    buf_.clear();
    return true;
  }
  buf_.erase(0, done);
  if (buf_.size() > kMaxPending) throw ScanGiveUp{};
  return false;
}

// Lines and columns of the stretch taken, for messages about what follows it.
void XmlRegionScanner::count(std::string_view s) {
  if (nonAscii_) {
    pos_.advance(s);
    nonAscii_ = false;
    return;
  }
  // memchr: parts written on one line have nothing to count, and it finds that at memory speed.
  const char* const end = s.data() + s.size();
  const char* last = nullptr;
  for (const char* p = s.data(); p < end; ++p) {
    p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (!p) break;
    ++pos_.line;
    last = p;
  }
  pos_.column = last ? static_cast<std::uint64_t>(end - last - 1) : pos_.column + s.size();
}

// Whole tokens of buf_; returns how much was taken.
std::size_t XmlRegionScanner::scan() {
  const std::string_view s(buf_);
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] != '<') {
      const std::size_t lt = s.find('<', i);
      if (lt == std::string_view::npos) break;  // the text may go on in the next chunk
      text(s.substr(i, lt - i));
      i = lt;
      continue;
    }
    const std::size_t gt = s.find('>', i);
    if (gt == std::string_view::npos) break;
    if (tag(s.substr(i + 1, gt - i - 1))) return i;  // the region's end tag
    i = gt + 1;
  }
  return i;
}

// Appends one UTF-8 sequence from s at i, checked as expat checks it; returns its length.
std::size_t XmlRegionScanner::utf8(std::string_view s, std::size_t i, std::string& out) {
  nonAscii_ = true;
  const auto b = [&](std::size_t k) {
    return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u;
  };
  const unsigned c = b(0);
  auto cont = [&](std::size_t k) { return (b(k) & 0xC0) == 0x80; };
  std::size_t n;
  if (c >= 0xC2 && c <= 0xDF && cont(1)) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF && cont(1) && cont(2)) {
    if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) > 0x9F)) throw ScanGiveUp{};
    if (c == 0xEF && b(1) == 0xBF && b(2) >= 0xBE) throw ScanGiveUp{};  // U+FFFE, U+FFFF
    n = 3;
  } else if (c >= 0xF0 && c <= 0xF4 && cont(1) && cont(2) && cont(3)) {
    if ((c == 0xF0 && b(1) < 0x90) || (c == 0xF4 && b(1) > 0x8F)) throw ScanGiveUp{};
    n = 4;
  } else {
    throw ScanGiveUp{};
  }
  out.append(s.substr(i, n));
  return n;
}

// Character data or an attribute value, its references resolved.
std::string_view XmlRegionScanner::decode(std::string_view s, bool attribute) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c >= 0x80 || c == '&' || c == ']' || c == '<') break;
    ++i;
  }
  if (i == s.size()) return s;
  scratch_.assign(s.substr(0, i));
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '&') {
      const std::size_t semi = s.find(';', i);
      if (semi == std::string_view::npos) throw ScanGiveUp{};
      const std::string_view name = s.substr(i + 1, semi - i - 1);
      if (name == "amp")
        scratch_ += '&';
      else if (name == "lt")
        scratch_ += '<';
      else if (name == "gt")
        scratch_ += '>';
      else if (name == "quot")
        scratch_ += '"';
      else if (name == "apos")
        scratch_ += '\'';
      else
        throw ScanGiveUp{};
      i = semi + 1;
    } else if (c >= 0x80) {
      i += utf8(s, i, scratch_);
    } else if (c < 0x20) {
      // Expat turns CR and, in attributes, every line break or tab into something else.
      if (attribute || (c != '\t' && c != '\n')) throw ScanGiveUp{};
      scratch_ += static_cast<char>(c);
      ++i;
    } else if (c == '<' || (c == ']' && s.substr(i, 3) == "]]>")) {
      throw ScanGiveUp{};
    } else {
      scratch_ += static_cast<char>(c);
      ++i;
    }
  }
  return scratch_;
}

void XmlRegionScanner::text(std::string_view s) {
  const std::string_view t = decode(s, false);
  if (!t.empty()) h_.text(t);
}

const std::string* XmlRegionScanner::uriOf(std::string_view prefix) const {
  for (auto it = prefixes_.rbegin(); it != prefixes_.rend(); ++it)
    if (it->first == prefix) return &it->second;
  return nullptr;
}

void XmlRegionScanner::elementName(std::string_view q, std::string_view& ns,
                                   std::string_view& local) const {
  split(q, ns, local);
  if (!resolve_) return;
  const std::string* uri = uriOf(ns);
  if (!uri) {
    if (!ns.empty()) throw ScanGiveUp{};  // an unbound prefix: expat's message
    ns = {};
    return;
  }
  ns = *uri;
}

void XmlRegionScanner::attributeName(std::string_view q) {
  if (!resolve_) {
    attrText_.append(q);
    return;
  }
  std::string_view prefix, local;
  split(q, prefix, local);
  if (prefix == "xmlns" || q == "xmlns") throw ScanGiveUp{};  // a binding of its own
  if (prefix.empty()) {
    attrText_.append(local);
    return;
  }
  const std::string* uri = uriOf(prefix);
  if (!uri || uri->empty()) throw ScanGiveUp{};
  attrText_.append(*uri);
  attrText_ += kNsSep;
  attrText_.append(local);
}

// The inside of one tag, between < and >. True for the region's end tag.
bool XmlRegionScanner::tag(std::string_view s) {
  if (!s.empty() && s[0] == '/') {
    const std::string_view rest = s.substr(1);
    const std::size_t n = qname(rest);
    if (n == 0) throw ScanGiveUp{};
    for (std::size_t k = n; k < rest.size(); ++k)
      if (!blank(rest[k])) throw ScanGiveUp{};
    const std::string_view name = rest.substr(0, n);
    if (open_.empty()) {
      if (name != region_) throw ScanGiveUp{};
      ended_ = true;
      return true;
    }
    if (name != open_.back()) throw ScanGiveUp{};
    std::string_view ns, local;
    elementName(name, ns, local);
    h_.end(ns, local);
    open_.pop_back();
    return false;
  }
  const std::size_t n = qname(s);
  if (n == 0) throw ScanGiveUp{};
  const std::string_view name = s.substr(0, n);
  bool empty = false;
  // Attribute names and values, each followed by its NUL, in attrText_; then the pointers.
  attrText_.clear();
  std::size_t attrCount = 0;
  std::size_t i = n;
  for (;;) {
    const std::size_t before = i;
    while (i < s.size() && blank(s[i])) ++i;
    if (i == s.size()) break;
    if (s[i] == '/') {
      if (i + 1 != s.size()) throw ScanGiveUp{};
      empty = true;
      break;
    }
    if (i == before) throw ScanGiveUp{};  // attributes are set apart by blanks
    const std::size_t an = qname(s.substr(i));
    if (an == 0) throw ScanGiveUp{};
    const std::string_view attr = s.substr(i, an);
    i += an;
    while (i < s.size() && blank(s[i])) ++i;
    if (i == s.size() || s[i] != '=') throw ScanGiveUp{};
    ++i;
    while (i < s.size() && blank(s[i])) ++i;
    if (i == s.size() || (s[i] != '"' && s[i] != '\'')) throw ScanGiveUp{};
    const char quote = s[i++];
    const std::size_t close = s.find(quote, i);
    if (close == std::string_view::npos) throw ScanGiveUp{};
    const std::string_view value = decode(s.substr(i, close - i), true);
    i = close + 1;
    const std::size_t at = attrText_.size();
    attributeName(attr);
    // Expat refuses a repeated attribute (after resolving, two prefixes of one namespace).
    const std::string_view added(attrText_.data() + at, attrText_.size() - at);
    for (std::size_t k = 0, seen = 0; k < attrCount; ++k) {
      const std::string_view prior(attrText_.c_str() + seen);
      if (prior == added) throw ScanGiveUp{};
      seen += prior.size() + 1;
      seen += std::strlen(attrText_.c_str() + seen) + 1;
    }
    attrText_ += '\0';
    attrText_.append(value);
    attrText_ += '\0';
    ++attrCount;
  }
  attrs_.clear();
  for (std::size_t k = 0, at = 0; k < 2 * attrCount; ++k) {
    attrs_.push_back(attrText_.c_str() + at);
    at += std::strlen(attrText_.c_str() + at) + 1;
  }
  attrs_.push_back(nullptr);
  std::string_view ns, local;
  elementName(name, ns, local);
  h_.start(ns, local, attrs_.data());
  if (empty) {
    h_.end(ns, local);
  } else {
    if (open_.size() >= kMaxDepth) throw ScanGiveUp{};
    open_.emplace_back(name);
  }
  return false;
}

ScannedPartReader::ScannedPartReader(XmlHandler& h, ReadContext& ctx, const std::string& part,
                                     std::string_view regionLocal, std::function<bool()> inRegion,
                                     XmlParser::Names names)
    : parser_(h, ctx, part, names),
      scanner_(h),
      regionLocal_(regionLocal),
      inRegion_(std::move(inRegion)),
      resolve_(names == XmlParser::Names::Namespaces) {}

void ScannedPartReader::feed(std::string_view chunk) {
  switch (mode_) {
    case Mode::Expat:
      parser_.feed(chunk);
      return;
    case Mode::Scanner:
      if (scanner_.feed(chunk)) toExpat();
      return;
    case Mode::Head:
      head(chunk);
      return;
  }
}

void ScannedPartReader::finish() {
  if (mode_ == Mode::Scanner) throw ScanGiveUp{};  // cut off inside the region
  parser_.finish();
}

namespace {

// The scanner reads UTF-8 only, and counts places from the first byte: a part with a byte order
// mark or declared in another encoding is left to expat.
bool plainUtf8(std::string_view start) {
  if (start.substr(0, 3) == "\xEF\xBB\xBF") return false;
  if (start.substr(0, 5) != "<?xml") return true;
  const std::string_view decl = start.substr(0, start.find("?>"));
  const std::size_t enc = decl.find("encoding");
  if (enc == std::string_view::npos) return true;
  const std::size_t q = decl.find_first_of("\"'", enc);
  if (q == std::string_view::npos) return false;
  const std::string_view name = decl.substr(q + 1, 5);
  return name.size() == 5 && (name[0] | 0x20) == 'u' && (name[1] | 0x20) == 't' &&
         (name[2] | 0x20) == 'f' && name[3] == '-' && name[4] == '8' && decl.size() > q + 6 &&
         decl[q + 6] == decl[q];
}

}  // namespace

// Before the region: finds its start tag, lets expat read up to its end and the scanner on.
void ScannedPartReader::head(std::string_view chunk) {
  if (first_) {
    first_ = false;
    if (!plainUtf8(chunk)) {
      mode_ = Mode::Expat;
      parser_.feed(chunk);
      return;
    }
  }
  const std::size_t len = regionLocal_.size();
  std::size_t at = 0;
  for (;;) {
    at = chunk.find(regionLocal_, at);
    if (at == std::string_view::npos) break;
    std::size_t lt = at;
    while (lt > 0 && chunk[lt - 1] != '<' &&
           (std::isalnum(static_cast<unsigned char>(chunk[lt - 1])) || chunk[lt - 1] == ':' ||
            chunk[lt - 1] == '_' || chunk[lt - 1] == '-' || chunk[lt - 1] == '.'))
      --lt;
    const std::size_t after = at + len;
    if (lt > 0 && chunk[lt - 1] == '<' && after < chunk.size() &&
        (chunk[after] == '>' || chunk[after] == ' ' || chunk[after] == '\t' ||
         chunk[after] == '\n'))
      break;
    at = after;
  }
  const std::size_t gt = at == std::string_view::npos ? at : chunk.find('>', at);
  if (gt == std::string_view::npos || inRegion_() || chunk[gt - 1] == '/') {
    pos_.advance(chunk);
    parser_.feed(chunk);
    if (inRegion_()) mode_ = Mode::Expat;
    return;
  }
  const std::string_view upTo = chunk.substr(0, gt + 1);
  pos_.advance(upTo);
  parser_.feed(upTo);
  const std::string_view rest = chunk.substr(gt + 1);
  if (!inRegion_()) {  // not the tag it looked like: expat reads on alone
    mode_ = Mode::Expat;
    parser_.feed(rest);
    return;
  }
  std::size_t lt = at;
  while (chunk[lt - 1] != '<') --lt;
  scanner_.begin(chunk.substr(lt, at + len - lt));
  if (resolve_) scanner_.resolveNames(parser_.namespacesInScope());
  scanner_.startAt(pos_);
  mode_ = Mode::Scanner;
  if (scanner_.feed(rest)) toExpat();
}

void ScannedPartReader::toExpat() {
  parser_.skipped(pos_, scanner_.position());
  mode_ = Mode::Expat;
  parser_.feed(scanner_.rest());
}

}  // namespace ore::reader
