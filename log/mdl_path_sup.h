// Path helpers of the logging subsystem.
#ifndef BRANTVELL_LOG_MDL_PATH_SUP_H_
#define BRANTVELL_LOG_MDL_PATH_SUP_H_

#include <string>

namespace brantvell {

// The folder part of a Windows path up to and including its last "\", or
// ".\" (the current folder) when the path has none. "/" is not a separator.
std::string GetParentFolder(const std::string& path);

}  // namespace brantvell

#endif  // BRANTVELL_LOG_MDL_PATH_SUP_H_
