#pragma once
// The runtime's message texts, kept in one place. "%s" and "%d" are filled
// by FormatMessage.

#include <string>
#include <string_view>

namespace tavimo::messages {

inline constexpr std::string_view kInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr std::string_view kInvalidInteger = "'%s' is not a valid integer value";
inline constexpr std::string_view kFormatTooLong = "Format string too long";
inline constexpr std::string_view kListIndex = "List index out of bounds (%d)";
inline constexpr std::string_view kUnableToWrite = "Unable to write to %s";

inline constexpr std::string_view kDivisionByZero = "Division by zero";
inline constexpr std::string_view kRangeCheck = "Range check error";
inline constexpr std::string_view kIntegerOverflow = "Integer overflow";
inline constexpr std::string_view kInvalidOp = "Invalid floating point operation";
inline constexpr std::string_view kZeroDivide = "Floating point division by zero";
inline constexpr std::string_view kOverflow = "Floating point overflow";
inline constexpr std::string_view kUnderflow = "Floating point underflow";
inline constexpr std::string_view kPrivilege = "Privileged instruction";
inline constexpr std::string_view kControlC = "Control-C hit";
inline constexpr std::string_view kStackOverflow = "Stack overflow";

// The text as a message quotes it: each ASCII control character written
// as \r, \n or \xNN, so a message never carries a raw line end or escape.
std::string PrintableText(std::string_view text);
// "'" + PrintableText(text) + "'".
std::string QuotedText(std::string_view text);

// Replaces the first "%s" (or "%d") of the template with the argument, the
// text made printable.
std::string FormatMessage(std::string_view templ, std::string_view argument);
std::string FormatMessage(std::string_view templ, long long argument);

}  // namespace tavimo::messages
