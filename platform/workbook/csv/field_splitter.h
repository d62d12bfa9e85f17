#pragma once
// Delimited text split into fields, row by row, as the delimited-text reader reads it: a
// quoted field may hold separators, line breaks and doubled quotes; CR LF, CR or LF end a
// row; an empty line is a row with one empty field.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/workbook/csv/text_source.h"
#include "platform/workbook/reader_limits.h"

namespace ore::reader {

// Progress is reported about every this many bytes of text.
constexpr std::size_t kReportBytes = 1 << 20;

// Splits the text into fields, line by line, and hands each field to a sink.
class FieldSplitter {
 public:
  FieldSplitter(std::string_view text, char sep, ReadContext& ctx)
      : s_(text), sep_(sep), ctx_(ctx) {
    ends_[static_cast<unsigned char>(sep)] = ends_['\n'] = ends_['\r'] = true;
  }

  // Splits from byte `from` on, a row's start, which is row and line `firstRow`: the text before
  // it must hold no quote (its rows and lines are then the same).
  void startAt(std::size_t from, std::int64_t firstRow) {
    i_ = from;
    row_ = line_ = firstRow;
  }

  // sink(row, col, raw field) for every field, empty ones included; rowEnded(row) after the
  // last field of each row. A source, when given, gets the text already split back.
  template <class Sink, class RowSink>
  void run(Sink&& sink, RowSink&& rowEnded, TextSource* source = nullptr) {
    runReleasing(sink, rowEnded, [source](std::size_t upTo) {
      if (source) source->release(upTo);
    });
  }

  // The same, with release(upTo) called as the text before upTo is split.
  template <class Sink, class RowSink, class Release>
  void runReleasing(Sink&& sink, RowSink&& rowEnded, Release&& release) {
    const std::size_t n = s_.size();
    std::int64_t row = row_;
    std::size_t nextReport = i_ + kReportBytes;
    while (i_ < n) {
      if (i_ >= nextReport) {
        ctx_.progressed(i_);
        release(i_);
        nextReport = i_ + kReportBytes;
      }
      std::int64_t col = 1;
      for (;; ++col) {
        if (i_ < n && s_[i_] == '"') {
          quotedField();
          sink(row, col, std::string_view(field_));
        } else {
          const std::size_t e = fieldEnd(i_);
          sink(row, col, s_.substr(i_, e - i_));
          i_ = e;
        }
        if (i_ >= n || s_[i_] != sep_) break;
        ++i_;  // the next field, empty at a line end
      }
      if (i_ < n && s_[i_] == '\r') ++i_;
      if (i_ < n && s_[i_] == '\n') ++i_;
      rowEnded(row);
      ++row;
      ++line_;
    }
  }

 private:
  bool endOfField(char ch) const { return ends_[static_cast<unsigned char>(ch)]; }

  // The first separator or line break from i on (the end of the text when there is none),
  // eight bytes at a time: each mask's lowest set bit marks the first byte that matches.
  std::size_t fieldEnd(std::size_t i) const {
    constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
    auto matches = [](std::uint64_t w, std::uint64_t c) {
      const std::uint64_t x = w ^ (kOnes * c);
      return (x - kOnes) & ~x & kHighs;
    };
    const std::size_t n = s_.size();
    // Byte order: the first byte is the lowest of the word only on a little-endian machine.
    for (; std::endian::native == std::endian::little && i + 8 <= n; i += 8) {
      std::uint64_t w;
      std::memcpy(&w, s_.data() + i, 8);
      const std::uint64_t m =
          matches(w, static_cast<unsigned char>(sep_)) | matches(w, '\n') | matches(w, '\r');
      if (m) return i + static_cast<std::size_t>(std::countr_zero(m) >> 3);
    }
    while (i < n && !endOfField(s_[i])) ++i;
    return i;
  }

  // "" is a quote; what follows the closing quote up to the separator belongs to the field too,
  // as spreadsheets read it.
  void quotedField() {
    const std::int64_t openedAt = line_;
    field_.clear();
    ++i_;
    for (;;) {
      std::size_t q = s_.find('"', i_);
      if (q == std::string_view::npos)
        ctx_.corrupt("кавычка, открытая в строке " + std::to_string(openedAt) + ", не закрыта");
      std::string_view part = s_.substr(i_, q - i_);
      for (char ch : part) line_ += ch == '\n';
      field_.append(part);
      i_ = q + 1;
      if (i_ < s_.size() && s_[i_] == '"') {
        field_ += '"';
        ++i_;
        continue;
      }
      break;
    }
    while (i_ < s_.size() && !endOfField(s_[i_])) field_ += s_[i_++];
  }

  std::string_view s_;
  char sep_;
  ReadContext& ctx_;
  std::size_t i_ = 0;
  std::int64_t row_ = 1;
  std::int64_t line_ = 1;  // of the file, for messages: quoted fields may hold line breaks
  std::string field_;
  std::array<bool, 256> ends_{};  // the separator and the line breaks
};

}  // namespace ore::reader
