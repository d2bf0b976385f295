#include "log/mdl_path_sup.h"

namespace brantvell {

std::string GetParentFolder(const std::string& path) {
  size_t last = path.rfind('\\');
  if (last == std::string::npos) return ".\\";
  return path.substr(0, last + 1);
}

}  // namespace brantvell
