#pragma once
// The graph window's own fields: the six span tables it fills at creation and the fourteen
// placement integers the painting sets at every paint.

#include <cstdint>

#include "graph/letters.h"

namespace ore::graph {

struct GraphFields {
  SpanTable ThetaSpans;
  SpanTable LambdaSpans;
  SpanTable AlphaSpans;
  SpanTable BetaSpans;
  SpanTable EpsilonSpans;
  SpanTable GammaSpans;
  std::int32_t LabelPoint = 0;     // pocket row at which the λ-, θ- and β-curves carry letters
  std::int32_t LabelPointEps = 0;  // PocketCount - LabelPoint: the ε-curve's letter row
  std::int32_t ThetaOrgX = 0, ThetaOrgY = 0;  // top-left corners of the letters' pictures
  std::int32_t LambdaOrgX = 0, LambdaOrgY = 0;
  std::int32_t BetaOrgX = 0, BetaOrgY = 0;
  std::int32_t EpsilonOrgX = 0, EpsilonOrgY = 0;
  std::int32_t AlphaOrgX = 0, AlphaOrgY = 0;
  std::int32_t TitleOrgX = 0, TitleOrgY = 0;  // the first axis title's γ

  // Zeroes every table and fills entries 1..N with the letters' fixed spans (window creation).
  void fillSpanTables();
  // The window's table of a letter.
  const SpanTable& spans(Letter letter) const;
};

}  // namespace ore::graph
