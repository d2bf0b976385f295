// The script objects served on POSIX against the Wine prefix, and what they
// share. Internal to the platform layer: callers reach them through
// ScriptHost::Real().
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_SCRIPT_OBJECTS_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_SCRIPT_OBJECTS_H_

#include <memory>
#include <string>

#include "platform/script_host.h"

namespace brantvell {

// "WScript.Shell": SpecialFolders, RegRead, CreateShortcut.
std::shared_ptr<ScriptObject> NewWshShell();

// "Scripting.FileSystemObject": FolderExists, FileExists, DeleteFile,
// DeleteFolder, GetFolder, BuildPath.
std::shared_ptr<ScriptObject> NewFileSystemObject();

// The unsaved shortcut object for a ".lnk" or ".url" path (extension
// matched without regard to case); raises Error 5 for any other path.
std::shared_ptr<ScriptObject> NewWshShortcut(const std::string& path);

// `object` with each of its calls noting what it ran into for
// FailureCause() (platform/failure_cause.h); the objects it hands out are
// wrapped too. `about` is the path the object stands for (a shortcut's, a
// folder's), for calls that name none.
std::shared_ptr<ScriptObject> NotingCauses(std::shared_ptr<ScriptObject> object,
                                           const std::string& about = std::string());

// Notes for FailureCause() that a folder checked before a make cannot take
// new files: "cannot save into <folder>: <what the system said>".
void NoteFolderRefused(const std::string& folder, const Error& error);

// True for the name of the temporary file that a shortcut's Save writes
// beside the shortcut before putting it in place; never a user's file.
bool IsShortcutTempName(const std::string& name);

// Removes the temporary files that killed saves left in the host folder,
// when no save into it is under way.
void RemoveShortcutTemps(const std::string& host_folder);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_SCRIPT_OBJECTS_H_
