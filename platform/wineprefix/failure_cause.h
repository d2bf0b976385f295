// Why a run of the Linux program failed, in one line for standard error
// beside the run's message: the program's own message names no cause, and
// its log keeps the records it always had. The prefix's script objects note
// what their last call ran into (POSIX only).
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_FAILURE_CAUSE_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_FAILURE_CAUSE_H_

#include <string>

namespace brantvell {

// The line for the last call of a script object when it failed or found
// nothing: the path and what the system said ("Permission denied"), the
// folder that does not exist, the registry value that is missing. "" when
// that call went through.
std::string FailureCause();

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_FAILURE_CAUSE_H_
