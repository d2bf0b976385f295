// Where a Windows path lives on this machine. On Windows a path is itself;
// on POSIX a drive path `X:\a\b` maps through the drives of the Wine prefix
// ($WINEPREFIX, default ~/.wine) and any other path is a host path whose
// backslashes are separators.
#ifndef BRANTVELL_PLATFORM_HOST_PATH_H_
#define BRANTVELL_PLATFORM_HOST_PATH_H_

#include <string>

namespace brantvell {

// The host path for `path`, with existing components matched without regard
// to case; false when the path cannot be mapped (unknown drive, UNC path).
bool ToHostPath(const std::string& path, std::string* host);

// The prefix folder that drive paths map through (POSIX only; "" on Windows).
std::string WinePrefixFolder();

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_HOST_PATH_H_
