// Creating every missing folder of a path (the path ends with a backslash;
// the part after the last backslash is not created). False on failure.
#ifndef BRANTVELL_PLATFORM_MAKE_PATH_H_
#define BRANTVELL_PLATFORM_MAKE_PATH_H_

#include <string>

namespace brantvell {

bool MakeSureDirectoryPathExists(const std::string& path);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_MAKE_PATH_H_
