#include "platform/workbook/package/xml_stream.h"

// Debian builds expat with DTD support, which is what brings the amplification guard.
#define XML_DTD
#include <expat.h>

#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "platform/workbook/package/zip_archive.h"

namespace ore::reader {

namespace {

constexpr char kSep = '\x01';  // cannot occur in a URI or a name
constexpr int kMaxDepth = 1000;

// With namespace processing a name is "uri\x01local"; without, "prefix:local".
void split(const char* name, std::string_view& ns, std::string_view& local) {
  const char* s = std::strchr(name, kSep);
  if (!s) s = std::strchr(name, ':');
  if (s) {
    ns = std::string_view(name, static_cast<std::size_t>(s - name));
    local = std::string_view(s + 1);
  } else {
    ns = {};
    local = std::string_view(name);
  }
}

std::string errorText(XML_Error code) {
  switch (code) {
    case XML_ERROR_NO_ELEMENTS:
      return "документ пуст или оборван (не закрыт корневой элемент)";
    case XML_ERROR_UNCLOSED_TOKEN:
    case XML_ERROR_PARTIAL_CHAR:
    case XML_ERROR_UNCLOSED_CDATA_SECTION:
      return "документ оборван";
    case XML_ERROR_INVALID_TOKEN:
      return "недопустимый символ или разметка (в том числе неверная кодировка UTF-8)";
    case XML_ERROR_SYNTAX:
      return "синтаксическая ошибка";
    case XML_ERROR_TAG_MISMATCH:
      return "закрывающий тег не соответствует открывающему";
    case XML_ERROR_DUPLICATE_ATTRIBUTE:
      return "повторяющийся атрибут";
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
      return "лишние данные после конца документа";
    case XML_ERROR_UNDEFINED_ENTITY:
      return "неизвестная ссылка на сущность";
    case XML_ERROR_BAD_CHAR_REF:
      return "недопустимая ссылка на символ";
    case XML_ERROR_UNKNOWN_ENCODING:
    case XML_ERROR_INCORRECT_ENCODING:
      return "неизвестная или неверно указанная кодировка";
    case XML_ERROR_UNBOUND_PREFIX:
      return "префикс пространства имен не объявлен";
    case XML_ERROR_AMPLIFICATION_LIMIT_BREACH:
      return "раскрытие сущностей превышает допустимый объем";
    default:
      return XML_ErrorString(code);
  }
}

}  // namespace

void splitName(const char* name, std::string_view& ns, std::string_view& local) {
  split(name, ns, local);
}

const char* attrValue(const char** attrs, std::string_view local) {
  for (; *attrs; attrs += 2) {
    std::string_view n, l;
    split(*attrs, n, l);
    if (l == local) return attrs[1];
  }
  return nullptr;
}

const char* attrValue(const char** attrs, std::string_view ns, std::string_view local) {
  for (; *attrs; attrs += 2) {
    std::string_view n, l;
    split(*attrs, n, l);
    if (l == local && n == ns) return attrs[1];
  }
  return nullptr;
}

// Expat calls C functions; a C++ exception must not unwind through it, so a failure in a
// handler is kept here, the parser stopped, and the exception rethrown once expat returns.
struct XmlTrampoline {
  XmlParser* self;
  std::exception_ptr failure;
  bool doctype = false;
  int depth = 0;
  std::vector<std::pair<std::string, std::string>> bindings;  // namespace declarations in force

  static void start(void* ud, const char* name, const char** attrs) {
    auto* t = static_cast<XmlTrampoline*>(ud);
    try {
      // Expat keeps every open element; no workbook part nests anywhere near this deep.
      if (++t->depth > kMaxDepth)
        t->self->ctx_.corrupt("элементы XML в части " + t->self->part_ + " вложены глубже " +
                              std::to_string(kMaxDepth) + " уровней");
      std::string_view ns, local;
      split(name, ns, local);
      t->self->handler_.start(ns, local, attrs);
    } catch (...) {
      t->fail();
    }
  }
  static void end(void* ud, const char* name) {
    auto* t = static_cast<XmlTrampoline*>(ud);
    --t->depth;
    try {
      std::string_view ns, local;
      split(name, ns, local);
      t->self->handler_.end(ns, local);
    } catch (...) {
      t->fail();
    }
  }
  static void text(void* ud, const char* s, int len) {
    auto* t = static_cast<XmlTrampoline*>(ud);
    try {
      t->self->handler_.text(std::string_view(s, static_cast<std::size_t>(len)));
    } catch (...) {
      t->fail();
    }
  }
  static void nsStart(void* ud, const char* prefix, const char* uri) {
    auto* t = static_cast<XmlTrampoline*>(ud);
    try {
      t->bindings.emplace_back(prefix ? prefix : "", uri ? uri : "");
    } catch (...) {
      t->fail();
    }
  }
  static void nsEnd(void* ud, const char* prefix) {
    auto* t = static_cast<XmlTrampoline*>(ud);
    const std::string_view p = prefix ? prefix : "";
    for (auto it = t->bindings.rbegin(); it != t->bindings.rend(); ++it) {
      if (it->first == p) {
        t->bindings.erase(std::next(it).base());
        return;
      }
    }
  }
  static void doctypeStart(void* ud, const char*, const char*, const char*, int) {
    auto* t = static_cast<XmlTrampoline*>(ud);
    t->doctype = true;
    XML_StopParser(t->self->p_, XML_FALSE);
  }
  static void entityDecl(void* ud, const char*, int, const char*, int, const char*, const char*,
                         const char*, const char*) {
    doctypeStart(ud, nullptr, nullptr, nullptr, 0);
  }
  void fail() {
    if (!failure) failure = std::current_exception();
    XML_StopParser(self->p_, XML_FALSE);
  }
};

XmlParser::XmlParser(XmlHandler& handler, ReadContext& ctx, std::string part, Names names)
    : p_(names == Names::Namespaces ? XML_ParserCreateNS(nullptr, kSep)
                                    : XML_ParserCreate(nullptr)),
      handler_(handler),
      ctx_(ctx),
      part_(std::move(part)) {
  if (!p_) throw std::bad_alloc();
  auto* t = new XmlTrampoline{this, nullptr, false, 0, {}};
  XML_SetUserData(p_, t);
  XML_SetElementHandler(p_, &XmlTrampoline::start, &XmlTrampoline::end);
  XML_SetCharacterDataHandler(p_, &XmlTrampoline::text);
  XML_SetStartDoctypeDeclHandler(p_, &XmlTrampoline::doctypeStart);
  if (names == Names::Namespaces)
    XML_SetNamespaceDeclHandler(p_, &XmlTrampoline::nsStart, &XmlTrampoline::nsEnd);
  XML_SetEntityDeclHandler(p_, &XmlTrampoline::entityDecl);
  XML_SetParamEntityParsing(p_, XML_PARAM_ENTITY_PARSING_NEVER);
  XML_SetBillionLaughsAttackProtectionMaximumAmplification(p_, 20.0f);
  XML_SetBillionLaughsAttackProtectionActivationThreshold(p_, 1u << 20);
}

XmlParser::~XmlParser() {
  delete static_cast<XmlTrampoline*>(XML_GetUserData(p_));
  XML_ParserFree(p_);
}

void XmlParser::check(int status) {
  auto* t = static_cast<XmlTrampoline*>(XML_GetUserData(p_));
  if (t->failure) std::rethrow_exception(t->failure);
  if (t->doctype)
    ctx_.corrupt("часть " + part_ +
                 " содержит объявление типа документа (DTD), а оно не допускается");
  if (status == XML_STATUS_ERROR) {
    std::uint64_t line = XML_GetCurrentLineNumber(p_), column = XML_GetCurrentColumnNumber(p_);
    if (spliced_ && line == skipFrom_.line && column >= skipFrom_.column) {
      line = skipTo_.line;
      column = skipTo_.column + (column - skipFrom_.column);
    } else if (spliced_ && line > skipFrom_.line) {
      line += skipTo_.line - skipFrom_.line;
    }
    ctx_.corrupt("ошибка XML в части " + part_ + " (строка " + std::to_string(line) + ", столбец " +
                 std::to_string(column + 1) + "): " + errorText(XML_GetErrorCode(p_)));
  }
}

std::vector<std::pair<std::string, std::string>> XmlParser::namespacesInScope() const {
  return static_cast<const XmlTrampoline*>(XML_GetUserData(p_))->bindings;
}

void XmlParser::Position::advance(std::string_view bytes) {
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\n') {
      if (!afterCr) ++line;
      column = 0;
      afterCr = false;
    } else if (c == '\r') {
      ++line;
      column = 0;
      afterCr = true;
    } else {
      afterCr = false;
      if ((c & 0xC0) != 0x80) ++column;  // a UTF-8 sequence is one character
    }
  }
}

void XmlParser::feed(std::string_view chunk) {
  // Expat takes an int length; members arrive in chunks far below that.
  while (!chunk.empty()) {
    std::size_t n = std::min<std::size_t>(chunk.size(), 1u << 30);
    check(XML_Parse(p_, chunk.data(), static_cast<int>(n), XML_FALSE));
    chunk.remove_prefix(n);
  }
}

void XmlParser::finish() {
  check(XML_Parse(p_, "", 0, XML_TRUE));
}

void parseMember(ZipArchive& zip, const std::string& name, XmlHandler& handler, ReadContext& ctx,
                 XmlParser::Names names) {
  XmlParser parser(handler, ctx, name, names);
  zip.read(name, [&](std::string_view chunk) { parser.feed(chunk); });
  parser.finish();
}

}  // namespace ore::reader
