// Whether a folder can take new files, asked before a make deletes the old
// set, so a make that could not save fails before it has removed anything.
#ifndef BRANTVELL_PLATFORM_FOLDER_PROBE_H_
#define BRANTVELL_PLATFORM_FOLDER_PROBE_H_

#include <string>

namespace brantvell {

// Raises the Error that saving a shortcut into `folder` would raise when a
// new file cannot be made there: the system's "access denied" (or disk
// full, ...) for an existing folder; "path not found" for a folder that
// does not exist and cannot be made in the nearest folder above it that
// does. Leaves nothing behind.
void CheckFolderTakesFiles(const std::string& folder);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_FOLDER_PROBE_H_
