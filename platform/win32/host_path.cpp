#include "platform/host_path.h"

namespace brantvell {

// On Windows every path already is a path of this machine.
bool ToHostPath(const std::string& path, std::string* host) {
  *host = path;
  return true;
}

std::string WinePrefixFolder() { return std::string(); }

}  // namespace brantvell
