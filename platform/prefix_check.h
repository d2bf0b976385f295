// Whether the Wine prefix the program works on is one (POSIX only): the
// line that tells the user why not, after the program's own message.
#ifndef BRANTVELL_PLATFORM_PREFIX_CHECK_H_
#define BRANTVELL_PLATFORM_PREFIX_CHECK_H_

#include <string>

namespace brantvell {

// "" for a prefix with system.reg and a drive C; else one line naming the
// folder that was looked at and what it lacks.
std::string WinePrefixProblem();

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_PREFIX_CHECK_H_
