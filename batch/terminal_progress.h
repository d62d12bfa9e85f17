#pragma once
// orefrac-batch's one progress line on a terminal's standard error: "Чтение: 45 %", rewritten in
// place as the percentage changes and wiped when the work reports it is done (or by clear()).

#include "data/progress.h"

namespace ore::batch {

class TerminalProgress : public Progress {
 public:
  // fd: where the line goes (a terminal; the caller checks).
  explicit TerminalProgress(int fd) : fd_(fd) {}
  ~TerminalProgress() override { clear(); }

  // Wipes the line, so that what is printed next starts on a clean one.
  void clear();

 protected:
  void reported() override;

 private:
  int fd_;
  int shown_ = -1;  // the percentage on the line, -1 when there is none
};

}  // namespace ore::batch
