// Telling the shell that the common programs and desktop folders changed, so
// it redraws their icons. A no-op where there is no shell to tell.
#ifndef BRANTVELL_PLATFORM_SHELL_NOTIFY_H_
#define BRANTVELL_PLATFORM_SHELL_NOTIFY_H_

namespace brantvell {

void NotifyCommonFoldersChanged();

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_SHELL_NOTIFY_H_
