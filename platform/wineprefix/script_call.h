// Helpers for serving late-bound member calls of script objects: reading
// the passed values as the types a member expects, and the errors a caller
// of an automation component sees (Visual Basic numbers and texts, no
// source, as the components give none).
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_SCRIPT_CALL_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_SCRIPT_CALL_H_

#include <cstdint>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/value.h"

namespace brantvell {

// Raises kErrWrongArgumentCount unless `min` <= args.size() <= `max`.
void CheckArgCount(const std::vector<Value>& args, size_t min, size_t max);

// A value read as text: strings as they are, numbers in decimal, Booleans
// as "True"/"False", Empty as "". Raises ErrTypeMismatch for objects,
// arrays, Null and error values.
std::string ValueText(const Value& value);

// A value read as a Boolean: numbers are True when not zero, texts
// "True"/"False" (any case) or numbers. Empty and a missing optional
// argument are False. Raises ErrTypeMismatch otherwise.
bool ValueBool(const Value& value);

// A value read as a 32-bit number (reals rounded to the nearest, Booleans
// -1/0, texts holding a number). Raises ErrTypeMismatch for other values,
// Error 6 for a number out of range.
int32_t ValueLong(const Value& value);

// The member name as the objects compare it: without regard to case.
std::string MemberKey(const std::string& member);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_SCRIPT_CALL_H_
