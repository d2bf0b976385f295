#include "platform/make_path.h"

#include "platform/wineprefix/wineprefix.h"

#include "platform/wineprefix/host_folder.h"

namespace brantvell {

// The folders are made one below the other through the folder made or
// found last, so none is made through a link that leads off the prefix's
// drives. An existing folder there still counts as existing: whatever is
// then saved into it is refused at the save.
bool MakeSureDirectoryPathExists(const std::string& path) {
  size_t last = path.find_last_of("\\/");
  if (last == std::string::npos) return true;
  HostFolder folder;
  return OpenHostFolder(path.substr(0, last + 1), /*create=*/true, &folder);
}

}  // namespace brantvell
