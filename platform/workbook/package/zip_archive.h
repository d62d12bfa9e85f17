#pragma once
// A read-only zip archive (libzip) whose members are inflated in chunks under the limits of
// reader_limits.h, checked while inflating: a declared size is never trusted.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/workbook/reader_limits.h"

struct zip;

namespace ore::reader {

class ZipArchive {
 public:
  // Opens the file at path. Throws (ReadContext messages) when the file is not a zip archive
  // or its directory is damaged.
  static ZipArchive openFile(const std::string& path, std::uint64_t fileSize, ReadContext& ctx);
  // Opens an archive held in memory; the bytes must outlive the archive.
  static ZipArchive openBuffer(std::string_view bytes, ReadContext& ctx);

  ZipArchive(ZipArchive&& o) noexcept;
  ZipArchive& operator=(ZipArchive&&) = delete;
  ~ZipArchive();

  // The stored name of a member: the exact name, else the same name in another letter case
  // (part names are case-insensitive); nothing when absent.
  std::optional<std::string> find(std::string_view name) const;
  bool has(std::string_view name) const { return find(name).has_value(); }

  // Inflates a member, passing it on in chunks and reporting progress to the context. Throws
  // corrupt on a read or checksum error, tooBig past the inflation limits, WorkStopped when a
  // stop was asked for.
  void read(const std::string& name, const std::function<void(std::string_view)>& sink);
  // The whole member, for the small ones; tooBig past maxBytes.
  std::string readAll(const std::string& name, std::size_t maxBytes);

  // What is left of the inflation allowance, to return to when a member is read again.
  std::uint64_t budget() const { return budget_; }
  void restoreBudget(std::uint64_t b) { budget_ = b; }

 private:
  ZipArchive(zip* z, std::uint64_t archiveBytes, ReadContext& ctx);

  zip* zip_;
  std::uint64_t budget_;        // inflated bytes still allowed
  std::uint64_t inflated_ = 0;  // by all reads so far, for progress
  ReadContext& ctx_;
};

}  // namespace ore::reader
