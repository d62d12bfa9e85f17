#pragma once
// The table precisions the program knows: the texts the calculation dialog accepts and the scale
// factor of each, with the one message that refuses any other text.

#include <array>
#include <string>
#include <string_view>

namespace ore {

struct Precision {
  std::string_view text;
  long double factor;  // 1 / the precision: 1, 10, ..., 1000000
};

// Coarsest first. Texts compare character for character: no trimming, a point is not a comma.
inline constexpr std::array<Precision, 7> kPrecisions = {{
    {"1", 1.0L},
    {"0,1", 10.0L},
    {"0,01", 100.0L},
    {"0,001", 1000.0L},
    {"0,0001", 10000.0L},
    {"0,00001", 100000.0L},
    {"0,000001", 1000000.0L},
}};

bool isKnownPrecision(std::string_view text);

// The refusal of any other text, naming it and listing the seven accepted texts.
std::string unknownPrecisionMessage(std::string_view text);

// Throws ore::Error with unknownPrecisionMessage when text is not a known precision.
void checkPrecisionText(std::string_view text);

// The scale factor of a precision text; throws as checkPrecisionText does.
long double scaleFactor(std::string_view text);

}  // namespace ore
