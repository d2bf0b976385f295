#include "platform/resource_strings.h"

#include "platform/posix/posix.h"

namespace brantvell {

// Executables here carry no Windows resources.
bool LoadResourceString(int, std::string*) { return false; }

}  // namespace brantvell
