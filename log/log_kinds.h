// The nine log kinds and the three names each one has: its key in the INI
// configuration, its part of a log file name and its record prefix.
#ifndef BRANTVELL_LOG_LOG_KINDS_H_
#define BRANTVELL_LOG_LOG_KINDS_H_

#include <cstdint>
#include <string>

namespace brantvell {

// Kinds are numbered 0 to kKindCount - 1.
constexpr int32_t kKindCount = 9;

// The INI key of a kind; "default" for any other number.
std::string KindIniKey(int32_t kind);

// The kind's part of a log file name ("USER", "SYS", "DEBUG", ...); empty
// for kind 4 and for any other number.
std::string KindName(int32_t kind);

// The ten-character record prefix ("DebugLog: "); empty for kind 4 and for
// any other number.
std::string KindPrefix(int32_t kind);

}  // namespace brantvell

#endif  // BRANTVELL_LOG_LOG_KINDS_H_
