// The entries of a prefix brought back in line with its shortcuts after a
// make or a clear: whatever removed a shortcut (the Windows program under
// Wine, the user, a deleted prefix, a killed run), its entry goes too.
#ifndef BRANTVELL_PLATFORM_FREEDESKTOP_ENTRY_SWEEP_H_
#define BRANTVELL_PLATFORM_FREEDESKTOP_ENTRY_SWEEP_H_

#include <string>
#include <vector>

#include "platform/freedesktop/desktop_places.h"

namespace brantvell {

// The words of an Exec value (already unescaped as a value): split at
// spaces, double quotes and backslash escapes undone.
std::vector<std::string> ExecWords(const std::string& exec);

// The shortcut a desktop file stands for, when it is one of ours for
// `prefix` (its X-Brantvell-Shortcut, else the ".lnk" its Exec opens) or one
// Wine's menu builder made for a shortcut of the catalogue in `prefix`
// (`raw_prefix` is the prefix as WINEPREFIX names it); "" for any other.
// `ours` tells which of the two it is.
std::string EntryShortcut(const std::string& text, const std::string& prefix,
                          const std::string& raw_prefix, bool* ours);

// The real path of `path`, or `path` as it stands when it cannot be had.
std::string RealPathOr(const std::string& path);

// The prefix folder as entries record it: its real path, or for a prefix
// that is gone (a clear after it was deleted), its parent's real path and
// its name, however WINEPREFIX spelled it (relative, with a slash at its
// end).
std::string PrefixAsRecorded(const std::string& folder);

// Removes the entries of `prefix` whose shortcut is gone and the icons this
// program wrote that no entry names any more. Our own entries go through
// `remove_ours` (with the shortcut's Windows path); Wine's are deleted here.
// True when a file was removed.
bool MatchEntriesToShortcuts(const DesktopPlaces& places, const std::string& prefix,
                             const std::string& raw_prefix,
                             void (*remove_ours)(const std::string& shortcut));

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_FREEDESKTOP_ENTRY_SWEEP_H_
