// The coercions a script call applies to a value: a member of a scripting
// object reads its arguments with them, and the program reads the results
// of its calls with them. A value that has no such reading raises Type
// mismatch (13) from `error_source`: no source for a component reading its
// arguments, kOwnErrorSource for the program's own code.
#ifndef BRANTVELL_PLATFORM_VALUE_CONVERSIONS_H_
#define BRANTVELL_PLATFORM_VALUE_CONVERSIONS_H_

#include <cstdint>
#include <string>

#include "platform/value.h"

namespace brantvell {

// Integer, Long, Byte and Boolean: the kinds that hold a whole number.
bool IsWholeNumber(const Value& value);

// The value as text: strings and decimals as they are, numbers in decimal
// (reals with up to 15 significant digits), Booleans as "True"/"False",
// Empty as "". Objects, arrays, Null and error values have none.
std::string CoerceToText(const Value& value, const char* error_source = "");

// The value as a Boolean: numbers are True when not zero, texts
// "True"/"False" (any case) or numbers. Empty and a missing optional
// argument are False.
bool CoerceToBool(const Value& value, const char* error_source = "");

// The value as a 32-bit number (reals rounded to the nearest, Booleans
// -1/0, texts holding a number, Empty 0); Overflow (6) out of range.
int32_t CoerceToLong(const Value& value, const char* error_source = "");

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_VALUE_CONVERSIONS_H_
