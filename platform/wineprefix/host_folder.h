// Windows paths opened through directory file descriptors, for the calls
// that write, rename or delete: the folder is opened once and the change is
// made relative to it (openat, renameat, unlinkat), so a link swapped in
// after the folder was found cannot send the change elsewhere.
//
// A drive path is resolved from the drive's root: in one openat2 step
// beneath the root where the kernel has it and the names are spelled as
// they exist, else one folder at a time without following links, matching
// names without regard to case and following links by hand. Links that end
// on one of the prefix's drives are followed; the folder reached through
// any other is opened but marked as off the drives. Implemented beside the
// drive mapping of platform/host_path.h.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_HOST_FOLDER_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_HOST_FOLDER_H_

#include <string>

#include "platform/posix/unique_fd.h"

namespace brantvell {

struct HostFolder {
  // The folder, open with O_PATH: usable as the folder of *at calls.
  UniqueFd fd;
  // The folder lies on one of the prefix's drives; always for a host path
  // (one without a drive), which no drive confines.
  bool on_drive = false;
};

// True for a path that starts with a drive ("X:").
bool IsDrivePath(const std::string& path);

// True for a Windows path that starts with a drive ("X:\...").
bool StartsWithDrive(const std::string& path);

// The host path of a Windows path that starts with a drive ("X:\..."). A
// path without a drive is not found, like one that does not map.
bool DrivePathToHost(const std::string& path, std::string* host);

// Opens folder `path`. With `create`, missing folders are made (mode 0755,
// on the prefix's drives only). False, with errno set, when it cannot be
// opened.
bool OpenHostFolder(const std::string& path, bool create, HostFolder* folder);

// Opens the folder that holds the last entry of `path` and gives the name
// of that entry as the path spells it. False, with errno set, when the
// path has no last entry or the folder cannot be opened.
bool OpenHostParent(const std::string& path, HostFolder* folder, std::string* name);

// The entry of the folder open as `folder` that `name` means: the exact
// spelling when it exists, else the first of the names equal without
// regard to case in byte order, else `name` itself.
std::string MatchEntryAt(int folder, const std::string& name);

// OpenHostParent with the name matched by MatchEntryAt.
bool OpenHostEntry(const std::string& path, HostFolder* folder, std::string* name);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_HOST_FOLDER_H_
