// Whether the Wine prefix the program works on is one (POSIX only): the
// line that tells the user why not, after the program's own message.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_PREFIX_CHECK_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_PREFIX_CHECK_H_

#include <string>

namespace brantvell {

// "" for a prefix with system.reg and a drive C; else one line naming the
// folder that was looked at and what it lacks.
std::string WinePrefixProblem();

// "" unless the prefix exists and belongs to another user than the one
// running the program; then the line that refuses it, naming the prefix and
// its owner. Wine refuses such a prefix too, and a run with sudo would leave
// root-owned files in another user's prefix and entries in root's menu.
std::string ForeignPrefixProblem();

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_PREFIX_CHECK_H_
