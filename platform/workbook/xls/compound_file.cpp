#include "platform/workbook/xls/compound_file.h"

#include <algorithm>

#include "platform/workbook/xls/little_endian.h"

namespace ore::reader {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
constexpr std::uint32_t kMaxRegSect = 0xFFFFFFFA;

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

CompoundFile::CompoundFile(std::string_view bytes, ReadContext& ctx) : bytes_(bytes), ctx_(ctx) {
  if (bytes.size() < 512 ||
      bytes.substr(0, 8) != std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
    ctx.corrupt("заголовок составного файла испорчен");
  shift_ = u16(bytes, 0x1E);
  if (shift_ != 9 && shift_ != 12) ctx.corrupt("неверный размер сектора составного файла");
  if (u16(bytes, 0x20) != 6) ctx.corrupt("неверный размер малого сектора составного файла");
  const std::uint64_t sectorSize = 1ull << shift_;
  sectors_ =
      bytes.size() > sectorSize ? (bytes.size() - sectorSize + sectorSize - 1) / sectorSize : 0;
  const std::uint32_t numFat = u32(bytes, 0x2C);
  const std::uint32_t firstDir = u32(bytes, 0x30);
  miniCutoff_ = u32(bytes, 0x38);
  const std::uint32_t firstMiniFat = u32(bytes, 0x3C);
  std::uint32_t difat = u32(bytes, 0x44);
  const std::uint32_t numDifat = u32(bytes, 0x48);
  if (numFat > sectors_ || numDifat > sectors_)
    ctx.corrupt("таблица размещения составного файла испорчена");

  // The sectors of the allocation table: 109 in the header, the rest in the DIFAT chain.
  std::vector<std::uint32_t> fatSectors;
  for (std::size_t i = 0; i < 109 && fatSectors.size() < numFat; ++i)
    fatSectors.push_back(u32(bytes, 0x4C + 4 * i));
  const std::size_t perSector = sectorSize / 4;
  for (std::uint32_t n = 0; fatSectors.size() < numFat; ++n) {
    if (n >= numDifat || difat > kMaxRegSect || difat >= sectors_)
      ctx.corrupt("таблица размещения составного файла испорчена");
    std::size_t base = (static_cast<std::size_t>(difat) + 1) << shift_;
    for (std::size_t i = 0; i + 1 < perSector && fatSectors.size() < numFat; ++i)
      fatSectors.push_back(u32(bytes, base + 4 * i));
    difat = u32(bytes, base + 4 * (perSector - 1));
  }
  fat_.reserve(fatSectors.size() * perSector);
  for (std::uint32_t s : fatSectors) {
    if (s > kMaxRegSect || s >= sectors_)
      ctx.corrupt("таблица размещения составного файла испорчена");
    std::size_t base = (static_cast<std::size_t>(s) + 1) << shift_;
    if (base + sectorSize > bytes.size()) ctx.corrupt("составной файл оборван");
    for (std::size_t i = 0; i < perSector; ++i) fat_.push_back(u32(bytes, base + 4 * i));
  }

  // The directory.
  std::string dir = readChain(firstDir, ~0ull, false);
  for (std::size_t at = 0; at + 128 <= dir.size(); at += 128) {
    Entry e;
    std::size_t nameBytes = std::min<std::size_t>(u16(dir, at + 0x40), 64);
    for (std::size_t i = 0; i + 1 < nameBytes; i += 2) {
      std::uint16_t ch = u16(dir, at + i);
      if (ch == 0) break;
      if (ch >= 0x80) {
        e.name.clear();
        break;
      }
      e.name += static_cast<char>(ch);
    }
    e.type = static_cast<unsigned char>(dir[at + 0x42]);
    e.start = u32(dir, at + 0x74);
    e.size = shift_ == 9 ? u32(dir, at + 0x78) : u64(dir, at + 0x78);
    entries_.push_back(std::move(e));
  }
  if (entries_.empty() || entries_[0].type != 5) ctx.corrupt("каталог составного файла испорчен");

  // The small streams live in the mini stream, the root entry's own stream.
  const Entry& root = entries_[0];
  if (root.size > 0 && root.start <= kMaxRegSect) {
    miniStream_ = readChain(root.start, root.size, false);
    std::string mf = readChain(firstMiniFat, ~0ull, false);
    for (std::size_t i = 0; i + 4 <= mf.size(); i += 4) miniFat_.push_back(u32(mf, i));
  }
}

std::vector<std::uint32_t> CompoundFile::chain(std::uint32_t start,
                                               const std::vector<std::uint32_t>& fat,
                                               std::uint64_t limit) const {
  std::vector<std::uint32_t> out;
  if (start == kEndOfChain || start == kFreeSect) return out;
  std::vector<bool> seen(fat.size());
  // Sectors past what the stream needs are left unread (writers may leave slack).
  for (std::uint32_t s = start; s != kEndOfChain && out.size() < limit;) {
    if (s >= fat.size() || seen[s]) ctx_.corrupt("цепочка секторов составного файла испорчена");
    seen[s] = true;
    out.push_back(s);
    s = fat[s];
  }
  return out;
}

std::string CompoundFile::readChain(std::uint32_t start, std::uint64_t size, bool mini) const {
  const unsigned shift = mini ? 6 : shift_;
  const std::uint64_t sectorSize = 1ull << shift;
  const std::uint64_t maxSectors = size == ~0ull ? ~0ull : (size + sectorSize - 1) / sectorSize;
  auto sectors = chain(start, mini ? miniFat_ : fat_, maxSectors);
  if (size != ~0ull && sectors.size() * sectorSize < size)
    ctx_.corrupt("поток составного файла короче, чем указано");
  std::string out;
  out.reserve(sectors.size() * sectorSize);
  const std::string_view src = mini ? std::string_view(miniStream_) : bytes_;
  for (std::uint32_t s : sectors) {
    std::uint64_t at =
        mini ? static_cast<std::uint64_t>(s) << 6 : (static_cast<std::uint64_t>(s) + 1) << shift;
    if (at >= src.size()) ctx_.corrupt("составной файл оборван");
    out.append(src.substr(at, sectorSize));  // the last sector of a file may be short
  }
  if (size != ~0ull) {
    if (out.size() < size) ctx_.corrupt("составной файл оборван");
    out.resize(size);
  }
  return out;
}

const CompoundFile::Entry* CompoundFile::find(std::string_view name) const {
  for (const auto& e : entries_)
    if (e.type == 2 && equalsIgnoreCase(e.name, name)) return &e;
  return nullptr;
}

bool CompoundFile::has(std::string_view name) const {
  return find(name) != nullptr;
}

std::string CompoundFile::stream(std::string_view name) const {
  const Entry* e = find(name);
  if (!e) return {};
  if (e->size > bytes_.size()) ctx_.corrupt("поток составного файла длиннее самого файла");
  return readChain(e->start, e->size, e->size < miniCutoff_);
}

}  // namespace ore::reader
