#include "platform/shell_notify.h"

#include "platform/linux/linux.h"

#include "platform/freedesktop/desktop_entries.h"

namespace brantvell {

// The desktop's menu is what shows the shortcuts here.
void NotifyCommonFoldersChanged() { RefreshDesktopEntries(); }

}  // namespace brantvell
