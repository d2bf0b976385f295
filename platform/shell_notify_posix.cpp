#include "platform/shell_notify.h"

namespace brantvell {

// There is no shell here that shows the common folders' icons.
void NotifyCommonFoldersChanged() {}

}  // namespace brantvell
