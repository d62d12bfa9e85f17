#include "graph/picture_files.h"

#include <zlib.h>

#include <cstring>
#include <vector>

#include "data/errors.h"
#include "platform/files/safe_file_writer.h"

namespace ore::graph {

namespace {

// Rows of RGB bytes, each led by the PNG filter byte 0 when png is set.
std::vector<unsigned char> rows(const Picture& p, bool png) {
  std::vector<unsigned char> out;
  out.reserve(static_cast<size_t>(p.height()) * (p.width() * 3 + 1));
  for (int y = 0; y < p.height(); ++y) {
    if (png) out.push_back(0);
    for (int x = 0; x < p.width(); ++x) {
      const Rgb c = p.pixel(x, y);
      out.insert(out.end(), {c.r, c.g, c.b});
    }
  }
  return out;
}

std::string deflate(const std::vector<unsigned char>& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, data.data(),
                static_cast<uLong>(data.size()), 9) != Z_OK)
    throw Error("Недостаточно памяти для сжатия рисунка");
  out.resize(size);
  return out;
}

void put32(std::string& s, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
}

void chunk(std::string& png, const char* type, const std::string& data) {
  put32(png, static_cast<std::uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  png += body;
  put32(png, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                              static_cast<uInt>(body.size()))));
}

}  // namespace

void writePng(const std::string& path, const Picture& picture) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  put32(header, static_cast<std::uint32_t>(picture.width()));
  put32(header, static_cast<std::uint32_t>(picture.height()));
  header +=
      std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", deflate(rows(picture, true)));
  chunk(png, "IEND", {});
  writeFileSafely(path, png);
}

void writePdf(const std::string& path, const Picture& picture) {
  const std::string image = deflate(rows(picture, false));
  const double w = picture.width() * 0.75, h = picture.height() * 0.75;
  char box[64];
  std::snprintf(box, sizeof box, "%.2f 0 0 %.2f 0 0", w, h);
  const std::string content = std::string("q ") + box + " cm /Im0 Do Q\n";
  char page[64];
  std::snprintf(page, sizeof page, "[0 0 %.2f %.2f]", w, h);
  std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      std::string("<< /Type /Page /Parent 2 0 R /MediaBox ") + page +
          " /Resources << /XObject << /Im0 4 0 R >> >> /Contents 5 0 R >>",
      "<< /Type /XObject /Subtype /Image /Width " + std::to_string(picture.width()) + " /Height " +
          std::to_string(picture.height()) +
          " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /Length " +
          std::to_string(image.size()) + " >>\nstream\n" + image + "\nendstream",
      "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
  };
  std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t o : offsets) {
    char line[24];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", o);
    pdf += line;
  }
  pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  writeFileSafely(path, pdf);
}

}  // namespace ore::graph
