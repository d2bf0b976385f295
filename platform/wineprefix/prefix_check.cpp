#include "platform/wineprefix/prefix_check.h"

#include "platform/wineprefix/wineprefix.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

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

std::string ForeignPrefixProblem() {
  std::string prefix = WinePrefixFolder();
  struct stat st;
  if (::stat(prefix.c_str(), &st) != 0 || st.st_uid == ::getuid()) return std::string();
  std::string owner = "uid " + std::to_string(st.st_uid);
  struct passwd entry;
  struct passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(st.st_uid, &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr)
    owner = std::string(found->pw_name) + " (" + owner + ")";
  return "brantvell: the Wine prefix " + prefix + " is owned by " + owner +
         ", not by you; run brantvell as that user";
}

}  // namespace brantvell
