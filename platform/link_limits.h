// What a shell link keeps whole. The system's link object holds a target
// and a working folder of at most MAX_PATH - 1 characters and arguments of
// at most INFOTIPSIZE - 1, and cuts longer texts without a word; a link
// saved so points nowhere. Both systems refuse such a save instead.
#ifndef BRANTVELL_PLATFORM_LINK_LIMITS_H_
#define BRANTVELL_PLATFORM_LINK_LIMITS_H_

#include <cstddef>
#include <string>

#include "platform/error.h"

namespace brantvell {

constexpr size_t kMaxLinkPathUnits = 259;        // MAX_PATH - 1
constexpr size_t kMaxLinkArgumentsUnits = 1023;  // INFOTIPSIZE - 1

// Raises kErrSystemFilenameTooLong, as the save's error, when the target,
// the arguments or the working folder (UTF-8) is longer than a link keeps,
// counted in UTF-16 units.
void CheckLinkTextsFit(const std::string& target, const std::string& arguments,
                       const std::string& working_directory);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_LINK_LIMITS_H_
