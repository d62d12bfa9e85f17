#include "platform/workbook/calendar.h"

#include <cmath>
#include <cstdio>

#include "platform/workbook/text_scan.h"

namespace ore::reader {

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468 + 25569;
}

double dateSerial(int year, int month, int day) {
  std::int64_t s = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  // The spreadsheet counts a 29 February 1900 that never was: before March 1900 its serial
  // numbers are one less than the day count.
  if (s >= 2 && s <= 60) --s;
  return static_cast<double>(s);
}

std::string serialDateText(double serial) {
  const double day = std::floor(serial);
  long long days = static_cast<long long>(day);
  int y = 1900, m = 2, d = 29;
  if (days != 60) {
    // Days since 1970-01-01 of the civil date, then back to year, month, day. Serials 1 to 59
    // are one less than the day count (the day that never was comes after them); serials from
    // 0 down count back from 1899-12-30, as dateSerial makes them.
    long long z = days - 25569 + (days >= 1 && days < 60 ? 1 : 0) + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
  }
  char buf[48];
  long long seconds = std::llround((serial - day) * 86400);
  if (seconds >= 86400) seconds = 86399;
  if (seconds == 0)
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d, m, y);
  else
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02lld:%02lld:%02lld", d, m, y, seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
  return buf;
}

bool isoDateToSerial(std::string_view s, double& out) {
  trimBlanks(s);
  int y, mo, d;
  if (!takeDigits(s, 4, y) || !take(s, '-') || !takeDigits(s, 2, mo) || !take(s, '-') ||
      !takeDigits(s, 2, d))
    return false;
  if (y < 1 || mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo)) return false;
  double frac = 0;
  if (take(s, 'T') || take(s, ' ')) {
    int h, mi, sec = 0;
    double secFrac = 0;
    if (!takeDigits(s, 2, h) || !take(s, ':') || !takeDigits(s, 2, mi)) return false;
    if (take(s, ':')) {
      if (!takeDigits(s, 2, sec)) return false;
      if (!s.empty() && (s.front() == '.' || s.front() == ',')) {
        std::string_view digits = s.substr(1);
        std::size_t n = 0;
        while (n < digits.size() && isDigit(digits[n])) ++n;
        if (n == 0) return false;
        double scale = 0.1;
        for (std::size_t i = 0; i < n && i < 15; ++i, scale /= 10)
          secFrac += (digits[i] - '0') * scale;
        s.remove_prefix(1 + n);
      }
    }
    if (h > 24 || mi > 59 || sec > 60 || (h == 24 && (mi || sec || secFrac))) return false;
    frac = ((h * 60.0 + mi) * 60.0 + sec + secFrac) / 86400.0;
  }
  if (take(s, 'Z')) {
  } else if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    s.remove_prefix(1);
    int zh, zm = 0;
    if (!takeDigits(s, 2, zh)) return false;
    if (take(s, ':') && !takeDigits(s, 2, zm)) return false;
    if (zh > 23 || zm > 59) return false;
  }
  if (!s.empty()) return false;
  out = dateSerial(y, mo, d) + frac;
  return true;
}

bool isoDurationToDays(std::string_view s, double& out) {
  trimBlanks(s);
  bool neg = take(s, '-');
  if (!take(s, 'P')) return false;
  double days = 0;
  bool any = false, time = false;
  while (!s.empty()) {
    if (!time && take(s, 'T')) {
      time = true;
      continue;
    }
    double v;
    if (!takeNumber(s, v) || s.empty()) return false;
    char unit = s.front();
    s.remove_prefix(1);
    if (!time && unit == 'D')
      days += v;
    else if (!time && unit == 'W')
      days += 7 * v;
    else if (time && unit == 'H')
      days += v / 24;
    else if (time && unit == 'M')
      days += v / 1440;
    else if (time && unit == 'S')
      days += v / 86400;
    else
      return false;  // years and months have no fixed length
    any = true;
  }
  if (!any || !std::isfinite(days)) return false;
  out = neg ? -days : days;
  return true;
}

}  // namespace ore::reader
