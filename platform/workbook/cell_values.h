#pragma once
// Value conversions the workbook readers share: numbers and dates as files store them, date
// number formats, constant formulas without a cached result, and text encodings.

#include <cstdint>
#include <string>
#include <string_view>

namespace ore::reader {

// A number as XML attributes and cells hold it ("12.5", "-1E-3", "+4"), locale-independent,
// surrounding blanks allowed. False for anything else and for infinities and NaN.
bool parseNumber(std::string_view text, double& out);
// A non-negative integer (an index, a count); false past max.
bool parseIndex(std::string_view text, std::uint64_t max, std::uint64_t& out);

// Serial number in the 1900 date system as the spreadsheet counts it: 1 = 1900-01-01,
// 60 = the nonexistent 1900-02-29, 61 = 1900-03-01, 43831 = 2020-01-01. Days before 1900
// count back from 1899-12-30 (0). Year 1 to 9999.
double dateSerial(int year, int month, int day);
// ISO 8601 date or date-time ("2020-01-01", "2020-01-01T12:30:00.5", with an optional zone
// suffix that is ignored: the wall time counts) to a serial number. False when malformed.
bool isoDateToSerial(std::string_view text, double& out);
// An ISO 8601 duration as ODF time values use ("PT12H30M15S", "-PT1H") in days.
bool isoDurationToDays(std::string_view text, double& out);
// Days since 1899-12-30 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d);

// Built-in number formats that show dates or times (14-22, 45-47 and the East Asian 27-36,
// 50-58).
bool isBuiltinDateFormat(std::uint64_t id);
// A custom format code that shows a date or a time: a y, m, d, h or s outside quoted text,
// brackets ([Red], [$-419]) and escaped characters.
bool isDateFormatCode(std::string_view code);

// A formula of numbers, + - * / ^ %, and parentheses (what a writer leaves uncomputed, "1+2").
enum class FormulaResult { Value, DivisionByZero, NotConstant };
FormulaResult evalConstantFormula(std::string_view formula, double& out);

// Text encodings.
bool isValidUtf8(std::string_view s);
void appendUtf8(std::string& out, char32_t cp);
// Windows-1251 bytes to UTF-8 (the one undefined byte, 0x98, becomes U+FFFD).
void appendCp1251(std::string& out, std::string_view bytes);
// UTF-16 (little or big endian, no byte order mark) to UTF-8; lone surrogates become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
// OOXML's escapes of characters XML cannot hold: "_x000D_" is a carriage return, "_x005F_"
// an underscore.
void decodeOoxmlEscapes(std::string& s);

}  // namespace ore::reader
