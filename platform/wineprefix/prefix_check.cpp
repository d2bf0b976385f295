#include "platform/prefix_check.h"

#include "platform/wineprefix/wineprefix.h"

#include <sys/stat.h>

#include "platform/host_path.h"
#include "platform/wineprefix/prefix_drive.h"

namespace brantvell {

std::string WinePrefixProblem() {
  std::string prefix = WinePrefixFolder();
  struct stat st;
  if (::stat(prefix.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    return "brantvell: no Wine prefix at " + prefix +
           " (the folder does not exist; WINEPREFIX names it, default ~/.wine)";
  if (::stat((prefix + "/system.reg").c_str(), &st) != 0)
    return "brantvell: " + prefix + " is not a Wine prefix (it has no system.reg)";
  std::string root;
  if (!PrefixDriveRoot('c', &root))
    return "brantvell: " + prefix + " is not a Wine prefix (it has no drive C)";
  return std::string();
}

}  // namespace brantvell
