#pragma once
// The 1900 date system of the spreadsheets: serial numbers of dates and times, ISO dates and
// durations as ODF stores them.

#include <cstdint>
#include <string>
#include <string_view>

namespace ore::reader {

// Serial number in the 1900 date system as the spreadsheet counts it: 1 = 1900-01-01,
// 60 = the nonexistent 1900-02-29, 61 = 1900-03-01, 43831 = 2020-01-01. Days before 1900
// count back from 1899-12-30 (0). Year 1 to 9999.
double dateSerial(int year, int month, int day);
// ISO 8601 date or date-time ("2020-01-01", "2020-01-01T12:30:00.5", with an optional zone
// suffix that is ignored: the wall time counts) to a serial number. False when malformed.
bool isoDateToSerial(std::string_view text, double& out);
// The text of a serial number of that system, as a date cell and a date value show it:
// "dd.mm.yyyy", and " hh:mm:ss" after it when there is a time of day (seconds rounded, at
// most 23:59:59): the inverse of dateSerial. Day 60 is the 29.02.1900 the system counts although
// it never was.
std::string serialDateText(double serial);
// An ISO 8601 duration as ODF time values use ("PT12H30M15S", "-PT1H") in days.
bool isoDurationToDays(std::string_view text, double& out);
// Days since 1899-12-30 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d);

}  // namespace ore::reader
