// The Linux desktop's view of the shortcuts the program saves into a Wine
// prefix: a freedesktop menu or desktop entry beside each one, removed with
// it. Called by the prefix's script objects when a shortcut is saved or a
// file or folder is deleted, and by the shell refresh; nothing here ever
// fails the caller or writes a log record. A failure is reported in one line
// on standard error.
#ifndef BRANTVELL_PLATFORM_FREEDESKTOP_DESKTOP_ENTRIES_H_
#define BRANTVELL_PLATFORM_FREEDESKTOP_DESKTOP_ENTRIES_H_

#include <string>

namespace brantvell {

// A shortcut as it was saved: its Windows path (".lnk" or ".url") and what
// it holds. For a ".url", `target` is the address.
struct SavedShortcut {
  std::string path;
  std::string target;
  std::string arguments;
  std::string working_directory;
  std::string icon_path;
  std::string description;
};

// Makes (or replaces) the entry of a shortcut just saved.
void DesktopEntryForShortcut(const SavedShortcut& shortcut);

// Removes the entries this program made for the shortcut file or the
// folder of shortcuts at Windows path `path`, which was just deleted.
void DesktopEntriesForRemoved(const std::string& path);

// Lets the desktop know that entries changed during this run
// (update-desktop-database, where it is installed).
void RefreshDesktopEntries();

// Switches the entries off for this run (--no-desktop-entries).
void DisableDesktopEntries();

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_FREEDESKTOP_DESKTOP_ENTRIES_H_
