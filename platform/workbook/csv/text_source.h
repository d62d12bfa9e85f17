#pragma once
// Where delimited text comes from: a file (mapped, not copied), standard input ("-"), or either
// gzip-compressed (told by its magic bytes, inflated through zlib). The whole text is at hand
// at once; a mapped file's pages already read can be given back as the reading moves on.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/workbook/reader_limits.h"

namespace ore::reader {

// The name that stands for standard input, and how messages call it.
inline constexpr const char* kStandardInput = "-";
inline constexpr const char* kStandardInputName = "(стандартный ввод)";

// A gzip stream starts so.
inline bool isGzip(std::string_view head) {
  return head.size() >= 2 && head[0] == '\x1F' && head[1] == '\x8B';
}

class TextSource {
 public:
  // Opens and reads path (kStandardInput: standard input). Throws ReadContext messages: cannot
  // open or read it, gzip data damaged or cut short, empty ("файл пуст"), and tooBig past
  // maxBytes of text.
  TextSource(const std::string& path, ReadContext& ctx, std::uint64_t maxBytes);
  ~TextSource();
  TextSource(const TextSource&) = delete;
  TextSource& operator=(const TextSource&) = delete;

  std::string_view bytes() const { return text_; }
  // The text before `upTo` is not needed any more (its memory may go back to the system).
  void release(std::size_t upTo);
  // The text read so far (a scan over all of it) may leave memory; it is read again from the
  // file as it is needed.
  void releaseAll();
  // The bytes from `from` to `upTo` (pointers into bytes()) are not needed any more; only the
  // pages wholly inside go. Safe on one thread while another reads or releases other pages.
  void releaseBetween(const char* from, const char* upTo) const;

 private:
  void readAll(int fd, ReadContext& ctx, std::uint64_t maxBytes, bool gzip);

  std::string owned_;
  void* map_ = nullptr;
  std::size_t mapBytes_ = 0;
  std::size_t released_ = 0;
  std::string_view text_;
};

}  // namespace ore::reader
