// Helpers for serving late-bound member calls of script objects: the
// argument count a member expects and the member names as the objects
// compare them. The arguments are read with the coercions of
// platform/value_conversions.h.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_SCRIPT_CALL_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_SCRIPT_CALL_H_

#include <cstdint>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/value.h"
#include "platform/value_conversions.h"

namespace brantvell {

// Raises kErrWrongArgumentCount unless `min` <= args.size() <= `max`.
void CheckArgCount(const std::vector<Value>& args, size_t min, size_t max);

// The member name as the objects compare it: without regard to case.
std::string MemberKey(const std::string& member);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_SCRIPT_CALL_H_
