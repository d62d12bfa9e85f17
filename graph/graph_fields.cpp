#include "graph/graph_fields.h"

namespace ore::graph {

void GraphFields::fillSpanTables() {
  fillSpanTable(Letter::Theta, ThetaSpans);
  fillSpanTable(Letter::Lambda, LambdaSpans);
  fillSpanTable(Letter::Alpha, AlphaSpans);
  fillSpanTable(Letter::Beta, BetaSpans);
  fillSpanTable(Letter::Epsilon, EpsilonSpans);
  fillSpanTable(Letter::Gamma, GammaSpans);
}

const SpanTable& GraphFields::spans(Letter letter) const {
  switch (letter) {
    case Letter::Beta:
      return BetaSpans;
    case Letter::Lambda:
      return LambdaSpans;
    case Letter::Theta:
      return ThetaSpans;
    case Letter::Epsilon:
      return EpsilonSpans;
    case Letter::Alpha:
      return AlphaSpans;
    case Letter::Gamma:
      break;
  }
  return GammaSpans;
}

}  // namespace ore::graph
