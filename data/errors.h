#pragma once
// The program's failure type: every message a user can see travels as an ore::Error.

#include <stdexcept>
#include <string>

namespace ore {

// A failure whose what() is the exact text shown in the error box (or on stderr by the batch tool).
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text that does not convert to a number ("'%s' is not a valid ... value").
class ConversionError : public Error {
 public:
  using Error::Error;
};

// The messages the program's own steps raise, with their fixed wording.
namespace msg {
std::string notValidInteger(const std::string& text);
std::string notValidFloat(const std::string& text);
std::string variantConvert(const std::string& fromType, const std::string& toType);
// The refusal of a field of the program's own that wants a number: the field's name, then the
// text as typed ("Минимальное содержание: «abc» — не число"). The older fields keep the messages
// above.
std::string fieldNotNumber(const std::string& field, const std::string& text);
inline constexpr const char* kInvalidVariantOperation = "Invalid variant operation";
inline constexpr const char* kDivisionByZero = "Floating point division by zero";
}  // namespace msg

}  // namespace ore
