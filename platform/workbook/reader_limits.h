#pragma once
// Limits that keep a hostile or damaged workbook from exhausting memory or time, the messages
// the readers raise, and the sheet builder through which every reader stores its cells.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/progress.h"
#include "platform/workbook/workbook.h"

namespace ore::reader {

// Archive members: at most kMaxInflatedTotal bytes inflated in all, and no more than
// kInflatedFloor + kInflatedPerByte times the archive's own size (so a file of a few MB cannot
// keep the parser busy for long). A member past kRatioMinBytes inflated may not exceed
// kMaxRatio times its compressed size: deflate reaches that only on pathological data.
inline constexpr std::uint64_t kMaxInflatedTotal = 2ull << 30;
#ifndef OREFRAC_FUZZING
inline constexpr std::uint64_t kInflatedFloor = 64ull << 20;
#else
// The same rules with smaller floors, so that a fuzz input reaching them costs milliseconds.
inline constexpr std::uint64_t kInflatedFloor = 8ull << 20;
#endif
inline constexpr std::uint64_t kInflatedPerByte = 100;
inline constexpr std::uint64_t kRatioMinBytes = 1ull << 20;
inline constexpr std::uint64_t kMaxRatio = 1000;

// The workbook model: at most kMaxModelBytes in all, and no more than kModelFloor +
// kModelPerInputByte times the input read so far (cells scattered far apart cost a full row
// each in the model, so memory must follow real content, not the positions a file claims).
inline constexpr std::uint64_t kMaxModelBytes = 2ull << 30;
#ifndef OREFRAC_FUZZING
inline constexpr std::uint64_t kModelFloor = 256ull << 20;
#else
inline constexpr std::uint64_t kModelFloor = 32ull << 20;
#endif
inline constexpr std::uint64_t kModelPerInputByte = 32;

inline constexpr std::size_t kMaxSheets = 4096;
// Files read whole into memory (xls, delimited text).
inline constexpr std::uint64_t kMaxFileBytes = 1ull << 30;

// What every reader knows about the file it reads: its name for the messages, the running
// account of memory the model takes, and whom to tell how far the reading has come.
class ReadContext {
 public:
  // Without a progress the reading reports to a silent one of its own.
  explicit ReadContext(std::string file) : file_(std::move(file)), progress_(silent_) {}
  ReadContext(std::string file, Progress& progress) : file_(std::move(file)), progress_(progress) {}
  ReadContext(const ReadContext&) = delete;
  ReadContext& operator=(const ReadContext&) = delete;

  const std::string& file() const { return file_; }

  // Units of the whole reading (file bytes) as the reader learns them, and how many are done;
  // throws WorkStopped when a stop was asked for. Readers call it every megabyte or so.
  void setTotal(std::uint64_t total) { total_ = total; }
  void progressed(std::uint64_t done) {
    progress_.report(done < total_ ? done : total_, total_);
    progress_.checkStop();
  }
  // The whole file is read.
  void finished() { progress_.report(total_ ? total_ : 1, total_ ? total_ : 1); }

  // Whether the large parts of xlsx and ods may be read by the region scanner (the usual way)
  // or go through expat alone (a fuzzer holds the two readings against each other).
  bool regionScanner() const { return regionScanner_; }
  void setRegionScanner(bool on) { regionScanner_ = on; }

  // The file cannot be opened or read; err is the system's error number.
  [[noreturn]] void cannotOpen(int err) const;
  [[noreturn]] void notWorkbook(std::string_view why = {}) const;
  [[noreturn]] void corrupt(std::string_view what) const;
  [[noreturn]] void tooBig(std::string_view what) const;
  // A cell further out than a sheet's rows or columns reach, in a file that is not damaged.
  [[noreturn]] void beyondSheet(std::string_view what) const;
  [[noreturn]] void encrypted() const;

  // Input consumed (inflated XML bytes, file bytes); allows the model to grow accordingly.
  void addInput(std::uint64_t bytes) { input_ += bytes; }
  // Memory the model takes on; throws tooBig past the limits above.
  void addModel(std::uint64_t bytes);

  // The account as it stands, to return to when a part is read again from its start.
  struct Account {
    std::uint64_t input = 0, model = 0;
  };
  Account account() const { return {input_, model_}; }
  void restore(Account a) {
    input_ = a.input;
    model_ = a.model;
  }

 private:
  std::string file_;
  Progress silent_;
  Progress& progress_;
  std::uint64_t total_ = 0;
  bool regionScanner_ = true;
  std::uint64_t input_ = 0;
  std::uint64_t model_ = 0;
};

// Stores the cells of one sheet with the checks every reader needs: a position beyond the
// sheet's limits is an error (never a silent drop), and the memory the cell takes is accounted.
class SheetBuilder {
 public:
  SheetBuilder(ReadContext& ctx, Sheet& sheet) : ctx_(ctx), sheet_(sheet) {}

  // Row and column from 1. Throws ReadContext::beyondSheet for a position past the sheet's last
  // row or column, ReadContext::corrupt for one before its first.
  void set(std::int64_t row, std::int64_t col, Cell cell);
  void checkPosition(std::int64_t row, std::int64_t col) const;

 private:
  ReadContext& ctx_;
  Sheet& sheet_;
  std::vector<std::int32_t> width_;  // columns the model holds for each row
};

// "A1"-style name of a cell, for messages.
std::string cellName(std::int64_t row, std::int64_t col);
// A name or value from the file in «quotes» for a message, cut at a sane length.
std::string quoted(std::string_view text);

}  // namespace ore::reader
