#include "platform/shell_notify.h"

#include "platform/posix/posix.h"

namespace brantvell {

// There is no shell here that shows the common folders' icons.
void NotifyCommonFoldersChanged() {}

}  // namespace brantvell
