// The floor of reading delimited text: reads the file in blocks, finds lines and fields with
// memchr and converts every field with std::from_chars (a decimal comma read as a point), on
// one thread, keeping nothing. bench/compare-csv sets the whole batch job against it.
//
// floor_csv FILE.csv [SEPARATOR]   (';' by default; the first line is skipped as a header)

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: floor_csv FILE.csv [SEPARATOR]\n");
    return 2;
  }
  const char sep = argc > 2 ? argv[2][0] : ';';
  const int fd = ::open(argv[1], O_RDONLY);
  if (fd < 0) {
    std::perror(argv[1]);
    return 1;
  }
  constexpr std::size_t kBlock = 4 << 20;
  std::vector<char> buf(kBlock + 4096);
  std::size_t carried = 0;
  double sum = 0;  // so the conversions cannot be optimised away
  long long values = 0, lines = 0;
  char field[64];
  for (;;) {
    const ssize_t got = ::read(fd, buf.data() + carried, kBlock);
    if (got < 0) return 1;
    const std::size_t have = carried + static_cast<std::size_t>(got);
    const char* p = buf.data();
    const char* end = p + have;
    for (;;) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', end - p));
      if (!nl) break;
      if (lines++ > 0) {
        const char* f = p;
        while (f < nl) {
          const char* e = static_cast<const char*>(std::memchr(f, sep, nl - f));
          if (!e) e = nl;
          const std::size_t n = std::min<std::size_t>(e - f, sizeof field);
          std::memcpy(field, f, n);
          if (char* comma = static_cast<char*>(std::memchr(field, ',', n))) *comma = '.';
          double v = 0;
          std::from_chars(field, field + n, v);
          sum += v;
          ++values;
          f = e + 1;
        }
      }
      p = nl + 1;
    }
    carried = static_cast<std::size_t>(end - p);
    std::memmove(buf.data(), p, carried);
    if (got == 0) break;
  }
  ::close(fd);
  std::printf("%lld lines, %lld values, sum %.6g\n", lines, values, sum);
  return 0;
}
