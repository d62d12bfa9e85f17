#pragma once
// The columns of the results grid for C contents: the pocket number and limit, then the pocket's
// yield, contents and recoveries, then the same for the tails and for the concentrate. Row 0 is
// the header; rows 1..PocketCount the pockets. The report sheet holds them one column right.

namespace ore {

class ResultsLayout {
 public:
  explicit constexpr ResultsLayout(int contents) : C(contents) {}

  static constexpr int pocketNumber() { return 0; }
  static constexpr int limit() { return 1; }
  static constexpr int pocketYield() { return 2; }
  constexpr int pocketContent(int k) const { return 2 + k; }
  constexpr int pocketRecovery(int k) const { return C + 2 + k; }
  constexpr int tailsYield() const { return 2 * C + 3; }
  constexpr int tailsContent(int k) const { return 2 * C + 3 + k; }
  constexpr int tailsRecovery(int k) const { return 3 * C + 3 + k; }
  constexpr int concentrateYield() const { return 4 * C + 4; }
  constexpr int concentrateContent(int k) const { return 4 * C + 4 + k; }
  constexpr int concentrateRecovery(int k) const { return 5 * C + 4 + k; }
  // The last column of values and the number of columns.
  constexpr int lastColumn() const { return 6 * C + 4; }
  constexpr int columnCount() const { return 6 * C + 5; }

 private:
  int C;
};

}  // namespace ore
