// The floor of reading a sheet: inflates one part of an xlsx with libzip, parses it with expat
// and converts every <v> with strtod, on one thread, keeping nothing. bench/compare sets the
// whole batch job against it.
//
// floor FILE.xlsx [PART]   (PART: xl/worksheets/sheet1.xml by default)

#include <expat.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct State {
  bool inV = false;
  std::string v;
  double sum = 0;  // so the conversions cannot be optimised away
  long long values = 0;
};

void start(void* ud, const char* name, const char**) {
  auto* s = static_cast<State*>(ud);
  if (name[0] == 'v' && name[1] == 0) {
    s->inV = true;
    s->v.clear();
  }
}

void end(void* ud, const char* name) {
  auto* s = static_cast<State*>(ud);
  if (s->inV && name[0] == 'v' && name[1] == 0) {
    s->inV = false;
    s->sum += std::strtod(s->v.c_str(), nullptr);
    ++s->values;
  }
}

void text(void* ud, const char* t, int len) {
  auto* s = static_cast<State*>(ud);
  if (s->inV) s->v.append(t, static_cast<std::size_t>(len));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "floor FILE.xlsx [PART]\n");
    return 2;
  }
  const char* part = argc > 2 ? argv[2] : "xl/worksheets/sheet1.xml";
  int err = 0;
  zip_t* z = zip_open(argv[1], ZIP_RDONLY, &err);
  if (!z) {
    std::fprintf(stderr, "%s: not a zip archive\n", argv[1]);
    return 1;
  }
  zip_file_t* f = zip_fopen(z, part, 0);
  if (!f) {
    std::fprintf(stderr, "%s: no part %s\n", argv[1], part);
    return 1;
  }
  State st;
  XML_Parser p = XML_ParserCreate(nullptr);
  XML_SetUserData(p, &st);
  XML_SetElementHandler(p, start, end);
  XML_SetCharacterDataHandler(p, text);
  std::vector<char> buf(64 * 1024);
  for (;;) {
    zip_int64_t n = zip_fread(f, buf.data(), buf.size());
    if (n < 0) {
      std::fprintf(stderr, "inflate error\n");
      return 1;
    }
    if (XML_Parse(p, buf.data(), static_cast<int>(n), n == 0) == XML_STATUS_ERROR) {
      std::fprintf(stderr, "XML error: %s\n", XML_ErrorString(XML_GetErrorCode(p)));
      return 1;
    }
    if (n == 0) break;
  }
  XML_ParserFree(p);
  zip_fclose(f);
  zip_discard(z);
  std::printf("%lld values, sum %.6g\n", st.values, st.sum);
  return 0;
}
