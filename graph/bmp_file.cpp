#include "graph/bmp_file.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

#include "data/errors.h"
#include "platform/files/safe_file_writer.h"

namespace ore::graph {

namespace {

void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
  b.push_back(v & 0xff);
  b.push_back((v >> 8) & 0xff);
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  put16(b, v & 0xffff);
  put16(b, v >> 16);
}
std::uint32_t get16(const std::vector<std::uint8_t>& b, size_t at) {
  return b[at] | (std::uint32_t(b[at + 1]) << 8);
}
std::uint32_t get32(const std::vector<std::uint8_t>& b, size_t at) {
  return get16(b, at) | (get16(b, at + 2) << 16);
}

}  // namespace

void writeBmp(const std::string& path, const Picture& picture) {
  const int w = picture.width(), h = picture.height();
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(h);
  std::vector<std::uint8_t> data;
  data.reserve(54 + imageBytes);
  data.push_back('B');
  data.push_back('M');
  put32(data, 54 + imageBytes);  // file size
  put32(data, 0);                // reserved
  put32(data, 54);               // offset of the pixels
  put32(data, 40);               // BITMAPINFOHEADER
  put32(data, static_cast<std::uint32_t>(w));
  put32(data, static_cast<std::uint32_t>(h));  // positive: bottom row first
  put16(data, 1);                              // planes
  put16(data, 24);                             // bits per pixel
  put32(data, 0);                              // no compression
  put32(data, imageBytes);
  put32(data, 3780);  // 96 dpi
  put32(data, 3780);
  put32(data, 0);
  put32(data, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      Rgb c = picture.pixel(x, y);
      data.push_back(c.b);
      data.push_back(c.g);
      data.push_back(c.r);
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(w) * 3; pad < rowBytes; ++pad)
      data.push_back(0);
  }

  writeFileSafely(path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

Picture readBmp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw Error("Не удается открыть файл " + path + ": " + std::strerror(errno));
  std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(f)),
                              std::istreambuf_iterator<char>());
  auto bad = [&]() { return Error("Файл " + path + " не является 24-битным рисунком BMP"); };
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw bad();
  const std::uint32_t offset = get32(b, 10);
  const std::int32_t w = static_cast<std::int32_t>(get32(b, 18));
  std::int32_t h = static_cast<std::int32_t>(get32(b, 22));
  const std::uint32_t bpp = get16(b, 28), compression = get32(b, 30);
  const bool topDown = h < 0;
  if (topDown) h = -h;
  if (w <= 0 || h <= 0 || w > 100000 || h > 100000 || (bpp != 24 && bpp != 32) ||
      (compression != 0 && !(compression == 3 && bpp == 32)))
    throw bad();
  const size_t bytesPerPixel = bpp / 8;
  const size_t rowBytes = (static_cast<size_t>(w) * bytesPerPixel + 3) & ~size_t(3);
  if (offset > b.size() || b.size() - offset < rowBytes * static_cast<size_t>(h)) throw bad();
  Picture pic(w, h);
  for (int row = 0; row < h; ++row) {
    const int y = topDown ? row : h - 1 - row;
    const size_t at = offset + rowBytes * static_cast<size_t>(row);
    for (int x = 0; x < w; ++x) {
      const size_t p = at + static_cast<size_t>(x) * bytesPerPixel;
      pic.setPixel(x, y, Rgb{b[p + 2], b[p + 1], b[p]});
    }
  }
  return pic;
}

}  // namespace ore::graph
