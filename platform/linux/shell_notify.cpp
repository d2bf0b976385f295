#include "platform/shell_notify.h"

#include "platform/linux/linux.h"

#include <sys/stat.h>

#include <iostream>

#include "platform/freedesktop/desktop_entries.h"
#include "platform/host_path.h"

namespace brantvell {

// The desktop's menu is what shows the shortcuts here. Only a clear gets
// this far without a prefix (a make stops at its folder check): it had
// nothing to delete, which the user learns, and the entries still go.
void NotifyCommonFoldersChanged() {
  struct stat st;
  if (::stat(WinePrefixFolder().c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    std::cerr << "brantvell: no Wine prefix at " << WinePrefixFolder()
              << " (the folder does not exist); no shortcut there to remove" << std::endl;
  RefreshDesktopEntries();
}

}  // namespace brantvell
