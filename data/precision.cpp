#include "data/precision.h"

#include "data/errors.h"

namespace ore {

bool isKnownPrecision(std::string_view text) {
  for (const Precision& p : kPrecisions)
    if (text == p.text) return true;
  return false;
}

std::string unknownPrecisionMessage(std::string_view text) {
  std::string list;
  for (const Precision& p : kPrecisions) {
    if (!list.empty()) list += "; ";
    list += p.text;
  }
  return "Точность составляемой таблицы «" + std::string(text) +
         "» не поддерживается. Допустимые значения: " + list;
}

void checkPrecisionText(std::string_view text) {
  if (!isKnownPrecision(text)) throw Error(unknownPrecisionMessage(text));
}

long double scaleFactor(std::string_view text) {
  for (const Precision& p : kPrecisions)
    if (text == p.text) return p.factor;
  throw Error(unknownPrecisionMessage(text));
}

}  // namespace ore
