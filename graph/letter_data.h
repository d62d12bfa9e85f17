#pragma once
// The six letter pictures and their span tables as compiled-in program data. letter_data.cpp
// is written by tools/make_graph_data.sh from the pictures it draws; do not edit it by hand.

#include <cstdint>

namespace ore::graph::data {

struct LetterData {
  const char* name;  // file name under graph/letters/, without ".bmp"
  // The picture is white outside this box; inside, grey[row * boxWidth + col] is the value of
  // all three channels of pixel (boxLeft + col, boxTop + row).
  int boxLeft, boxTop, boxWidth, boxHeight;
  const std::uint8_t* grey;
  int spanCount;
  const std::int32_t (*spans)[3];  // SpanLeft, SpanRight, SpanRow of spans 1..spanCount
};

// In the order of the Letter enumeration (letters.h): β, λ, θ, ε, α, γ.
extern const LetterData kLetters[6];

}  // namespace ore::graph::data
