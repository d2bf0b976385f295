#include "setup/cls_brantvell.h"

#include <utility>

#include "log/mdl_log.h"
#include "platform/error.h"
#include "platform/folder_probe.h"
#include "platform/make_path.h"
#include "platform/text.h"
#include "platform/value.h"
#include "platform/value_conversions.h"
#include "setup/error_trap.h"
#include "setup/shortcut_catalogue.h"

namespace brantvell {

namespace {

constexpr char kTab[] = "\t";

#define BRANTVELL_TAG(label) "[clsBrantvell] (" label ")"
constexpr char kTagGetShortCut[] = BRANTVELL_TAG("GetShortCut");
constexpr char kTagCreateShortCutApp[] = BRANTVELL_TAG("CreateShortCutApp");
constexpr char kTagCreateShortCutURL[] = BRANTVELL_TAG("CreateShortCutURL");
constexpr char kTagCheckFolders[] = BRANTVELL_TAG("CheckFolders");
constexpr char kTagFolderExists[] = BRANTVELL_TAG("FolderExists");
constexpr char kTagFileExists[] = BRANTVELL_TAG("FileExists");
constexpr char kTagFileDelete[] = BRANTVELL_TAG("FileDelete");
constexpr char kTagFolderDelete[] = BRANTVELL_TAG("FolderDelete");
constexpr char kTagSetupCheck[] = BRANTVELL_TAG("SetupCheck");
constexpr char kTagSetupMake[] = BRANTVELL_TAG("SetupMake");
constexpr char kTagSetupClear[] = BRANTVELL_TAG("SetupClear");
constexpr char kTagGetIconList[] = BRANTVELL_TAG("GetIconList");
constexpr char kTagGetSpecilaFolders[] = BRANTVELL_TAG("GetSpecilaFolders");
constexpr char kTagRegReadString[] = BRANTVELL_TAG("RegReadString");
constexpr char kTagGetNewObject[] = BRANTVELL_TAG("GetNewObject");
constexpr char kTagBuildPath[] = BRANTVELL_TAG("BuildPath");
constexpr char kTagMakeSureDirectoryPathExists[] = BRANTVELL_TAG("MakeSureDirectoryPathExists");
#undef BRANTVELL_TAG

constexpr char kProgIdShell[] = "WScript.Shell";
constexpr char kProgIdFileSystem[] = "Scripting.FileSystemObject";

// Shortcuts to programs open in a normal window and show the first icon of
// their target file.
constexpr int32_t kWindowStyleNormal = 1;
constexpr int16_t kIconFirst = 0;

const char* BoolText(bool value) { return value ? "True" : "False"; }

// Runs one component call given `path`. A component's error without a
// description (Wine's components give none) leaves with the system's text
// for its number and the path, so the log names the cause.
template <typename Call>
auto NamingCause(const std::string& path, Call&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const Error& error) {
    throw WithCause(error, path);
  }
}

// Number of entries of the collection `member` ("Files", "SubFolders") of
// `folder`.
int64_t CollectionCount(ScriptObject& folder, const char* member) {
  return CoerceToLong(folder.GetObject(member)->Get("Count"), kOwnErrorSource);
}

}  // namespace

clsBrantvell::clsBrantvell(ScriptHost& host) : clsBrantvell(host, StringTable::Real()) {}

clsBrantvell::clsBrantvell(ScriptHost& host, StringTable& strings)
    : clsBrantvell(host, strings, MakeSureDirectoryPathExists) {}

clsBrantvell::clsBrantvell(ScriptHost& host, StringTable& strings, PathMaker make_path)
    : clsBrantvell(host, strings, std::move(make_path), CheckFolderTakesFiles) {}

clsBrantvell::clsBrantvell(ScriptHost& host, StringTable& strings, PathMaker make_path,
                           FolderProbe probe_folder)
    : host_(host),
      strings_(strings),
      make_path_(std::move(make_path)),
      probe_folder_(std::move(probe_folder)) {}

// ---- Shortcut objects ------------------------------------------------------

std::shared_ptr<ScriptObject> clsBrantvell::CreateShortCutApp(const std::string& sTargetPath,
                                                              const std::string& sShortCutPath,
                                                              const std::string& sShortCutName,
                                                              const std::string& sArguments,
                                                              const std::string& sWorkPath,
                                                              int32_t eWinStyle, int16_t iIconNum) {
  return Trapped(kTagCreateShortCutApp, [&] {
    // Joined as plain text: a folder ending in a backslash keeps both.
    std::string file = sShortCutPath + "\\" + sShortCutName + ".lnk";
    std::shared_ptr<ScriptObject> shell = GetNewObject(kProgIdShell);
    std::shared_ptr<ScriptObject> shortcut = NamingCause(file, [&] {
      std::shared_ptr<ScriptObject> made =
          shell->GetObject("CreateShortcut", {Value::String(file)});
      made->Put("TargetPath", Value::String(sTargetPath));
      made->Put("Arguments", Value::String(sArguments));
      made->Put("WorkingDirectory", Value::String(sWorkPath));
      made->Put("WindowStyle", Value::Long(eWinStyle));
      made->Put("IconLocation", Value::String(sTargetPath + "," + std::to_string(iIconNum)));
      return made;
    });
    LogDebugText(kTagCreateShortCutApp, "RETURN=" + shortcut->TypeName() + kTab + file);
    return shortcut;
  });
}

std::shared_ptr<ScriptObject> clsBrantvell::CreateShortCutURL(const std::string& sTargetPath,
                                                              const std::string& sShortCutPath,
                                                              const std::string& sShortCutName) {
  return Trapped(kTagCreateShortCutURL, [&] {
    std::string file = sShortCutPath + "\\" + sShortCutName + ".url";
    std::shared_ptr<ScriptObject> shell = GetNewObject(kProgIdShell);
    std::shared_ptr<ScriptObject> shortcut = NamingCause(file, [&] {
      std::shared_ptr<ScriptObject> made =
          shell->GetObject("CreateShortcut", {Value::String(file)});
      made->Put("TargetPath", Value::String(sTargetPath));
      return made;
    });
    LogDebugText(kTagCreateShortCutURL, "RETURN=" + shortcut->TypeName() + kTab + file);
    return shortcut;
  });
}

std::shared_ptr<ScriptObject> clsBrantvell::GetShortCut(int32_t number) {
  return Trapped(kTagGetShortCut, [&] {
    LogDebugText(kTagGetShortCut, std::string("START") + kTab + std::to_string(number));
    const ShortcutEntry* entry = FindShortcut(number);
    if (!entry) throw OwnError(kErrInvalidProcedureCall);
    // Held for the whole call, as every procedure of the object that builds
    // shortcuts does; CreateShortCutApp/URL get their own.
    std::shared_ptr<ScriptObject> shell = GetNewObject(kProgIdShell);
    std::shared_ptr<ScriptObject> shortcut;
    if (entry->is_link) {
      std::string app_path = AppPath();
      std::string target = BuildPath(app_path, strings_.Load(entry->target_row));
      std::string folder =
          entry->folder == ShortcutFolder::kDesktop ? AppDesktopFolder() : AppStartMenuFolder();
      std::string name = strings_.Load(entry->name_row);
      std::string arguments = entry->arguments_row ? strings_.Load(entry->arguments_row) : "";
      std::string work_path = AppPath();
      shortcut = CreateShortCutApp(target, folder, name, arguments, work_path, kWindowStyleNormal,
                                   kIconFirst);
    } else {
      std::string url = strings_.Load(entry->target_row);
      std::string folder = AppStartMenuFolder();
      std::string name = strings_.Load(entry->name_row);
      shortcut = CreateShortCutURL(url, folder, name);
    }
    LogDebugText(kTagGetShortCut, std::string("END") + kTab + "RETURN=" + shortcut->TypeName());
    return shortcut;
  });
}

std::vector<int32_t> clsBrantvell::GetIconList(int32_t selector) {
  return Trapped(kTagGetIconList, [&] {
    std::vector<int32_t> numbers = ShortcutSet(selector);
    LogDebugText(kTagGetIconList,
                 "RETURN=" + std::to_string(numbers.size()) + kTab + std::to_string(selector));
    return numbers;
  });
}

// ---- Files, folders, shell and registry -------------------------------------

bool clsBrantvell::FolderExists(const std::string& strFolder) {
  return Trapped(kTagFolderExists, [&] {
    std::shared_ptr<ScriptObject> fso = GetNewObject(kProgIdFileSystem);
    bool exists = CoerceToBool(
        NamingCause(strFolder,
                    [&] { return fso->Get("FolderExists", {Value::String(strFolder)}); }),
        kOwnErrorSource);
    LogDebugText(kTagFolderExists, std::string("RETURN=") + BoolText(exists) + kTab + strFolder);
    return exists;
  });
}

bool clsBrantvell::FileExists(const std::string& strFile) {
  return Trapped(kTagFileExists, [&] {
    std::shared_ptr<ScriptObject> fso = GetNewObject(kProgIdFileSystem);
    bool exists = CoerceToBool(
        NamingCause(strFile, [&] { return fso->Get("FileExists", {Value::String(strFile)}); }),
        kOwnErrorSource);
    LogDebugText(kTagFileExists, std::string("RETURN=") + BoolText(exists) + kTab + strFile);
    return exists;
  });
}

void clsBrantvell::FileDelete(const std::string& strFile, bool force) {
  Trapped(kTagFileDelete, [&] {
    LogDebugText(kTagFileDelete, strFile + kTab + BoolText(force));
    std::shared_ptr<ScriptObject> fso = GetNewObject(kProgIdFileSystem);
    NamingCause(strFile, [&] {
      fso->Get("DeleteFile", {Value::String(strFile), Value::Boolean(force)});
    });
  });
}

void clsBrantvell::FolderDelete(const std::string& strFolder, bool force) {
  Trapped(kTagFolderDelete, [&] {
    LogDebugText(kTagFolderDelete, strFolder + kTab + BoolText(force));
    std::shared_ptr<ScriptObject> fso = GetNewObject(kProgIdFileSystem);
    NamingCause(strFolder, [&] {
      fso->Get("DeleteFolder", {Value::String(strFolder), Value::Boolean(force)});
    });
  });
}

std::string clsBrantvell::BuildPath(const std::string& strPath, const std::string& strName) {
  return Trapped(kTagBuildPath, [&] {
    std::shared_ptr<ScriptObject> fso = GetNewObject(kProgIdFileSystem);
    std::string path = CoerceToText(
        fso->Get("BuildPath", {Value::String(strPath), Value::String(strName)}), kOwnErrorSource);
    LogDebugText(kTagBuildPath, "RETURN=" + path);
    return path;
  });
}

std::string clsBrantvell::QualifyPath(std::string& strPath) {
  strPath = TrimSpaces(strPath);
  if (strPath.empty() || strPath.back() != '\\') return strPath + "\\";
  return strPath;
}

std::string clsBrantvell::UnQualifyPath(std::string& strPath) {
  strPath = TrimSpaces(strPath);
  if (!strPath.empty() && strPath.back() == '\\') return strPath.substr(0, strPath.size() - 1);
  return strPath;
}

std::string clsBrantvell::GetSpecilaFolders(const std::string& strName) {
  return Trapped(kTagGetSpecilaFolders, [&] {
    std::shared_ptr<ScriptObject> shell = GetNewObject(kProgIdShell);
    std::string folder =
        CoerceToText(shell->Get("SpecialFolders", {Value::String(strName)}), kOwnErrorSource);
    LogDebugText(kTagGetSpecilaFolders, "RETURN=" + folder + kTab + strName);
    return folder;
  });
}

std::string clsBrantvell::RegReadString(const std::string& strPath) {
  return Trapped(kTagRegReadString, [&] {
    std::shared_ptr<ScriptObject> shell = GetNewObject(kProgIdShell);
    std::string text = CoerceToText(
        NamingCause(strPath, [&] { return shell->Get("RegRead", {Value::String(strPath)}); }),
        kOwnErrorSource);
    LogDebugText(kTagRegReadString, "RETURN=" + text + kTab + strPath);
    return text;
  });
}

std::shared_ptr<ScriptObject> clsBrantvell::GetNewObject(const std::string& strProgID) {
  return Trapped(kTagGetNewObject, [&] {
    std::shared_ptr<ScriptObject> object;
    try {
      object = host_.Create(strProgID);
    } catch (const Error& error) {
      // Name the component that could not be created; the trap then tags an
      // error of the program's own code as usual.
      throw Error(error.number(), error.source(), error.description() + kTab + strProgID);
    }
    if (!object) {
      throw OwnError(kErrCannotCreateObject,
                     StandardErrorText(kErrCannotCreateObject) + (kTab + strProgID));
    }
    LogDebugText(kTagGetNewObject, "RETURN=" + object->TypeName() + kTab + strProgID);
    return object;
  });
}

// ---- Check, make and clear -------------------------------------------------

bool clsBrantvell::CheckFolders() {
  return Trapped(kTagCheckFolders, [&] {
    std::string app_path = AppPath();
    if (app_path.empty()) {
      LogDebug("", {});
      throw OwnError(kErrPathNotFound, "Aplikace neni nainstalována");
    }
    if (!FolderExists(app_path)) {
      throw OwnError(kErrPathNotFound, "Cesta nebyla nalezena:\r\n" + app_path);
    }
    LogDebugText(kTagCheckFolders, std::string("RETURN=True") + kTab + app_path);
    return true;
  });
}

int32_t clsBrantvell::SetupCheck() {
  return Trapped(kTagSetupCheck, [&] {
    LogDebugText(kTagSetupCheck, "START");
    CheckFolders();
    int32_t result = 0;
    if (FolderExists(AppStartMenuFolder())) {
      // The web-site shortcuts belong to the single sets and to the combined
      // set alike, so they tell which variants are present.
      std::string cz_site = CoerceToText(GetShortCut(10)->Get("FullName"), kOwnErrorSource);
      if (FileExists(cz_site)) result = kVariantCz;
      std::string sk_site = CoerceToText(GetShortCut(20)->Get("FullName"), kOwnErrorSource);
      if (FileExists(sk_site)) result = result == kVariantCz ? kVariantCzSk : kVariantSk;
    }
    if (result == 0) result = kVariantCz;
    LogDebugText(kTagSetupCheck, std::string("END") + kTab + "RETURN=" + std::to_string(result));
    return result;
  });
}

void clsBrantvell::SetupMake(int32_t variant) {
  Trapped(kTagSetupMake, [&] {
    LogDebugText(kTagSetupMake, std::string("START") + kTab + std::to_string(variant));
    CheckFolders();
    // A set that cannot be saved must not be cleared first: the user would
    // be left with no shortcuts at all. Asked at the clear's first delete.
    probe_before_delete_ = true;
    SetupClear();
    probe_before_delete_ = false;
    std::string folder = AppStartMenuFolder();
    LogDebugText(kTagMakeSureDirectoryPathExists, folder);
    // Its result is not looked at: a group folder that could not be made
    // makes the first Save fail with the component's error.
    make_path_(folder + "\\");
    if (variant == kVariantCz || variant == kVariantSk || variant == kVariantCzSk) {
      for (int32_t number : GetIconList(variant)) SaveShortcut(*GetShortCut(number));
    }
    LogDebugText(kTagSetupMake, "END");
  });
}

void clsBrantvell::SetupClear() {
  Trapped(kTagSetupClear, [&] {
    LogDebugText(kTagSetupClear, "START");
    if (!FolderExists(AppStartMenuFolder())) {
      // No group folder, so none of its shortcuts; but the desktop
      // shortcuts live elsewhere and an uninstall must not leave them behind.
      ClearDesktopShortcuts(GetIconList(kSetEvery));
      LogDebugText(kTagSetupClear, "END");
      return;
    }
    for (int32_t number : GetIconList(kSetEvery)) {
      std::string file = FileToClear(number);
      if (FileExists(file)) {
        ProbeFoldersBeforeDelete();
        FileDelete(file, true);
      }
    }
    std::shared_ptr<ScriptObject> fso = GetNewObject(kProgIdFileSystem);
    std::string folder = AppStartMenuFolder();
    std::shared_ptr<ScriptObject> group =
        NamingCause(folder, [&] { return fso->GetObject("GetFolder", {Value::String(folder)}); });
    // Only a folder left completely empty goes: the folder deletion would
    // take subfolders with it, and those are not the program's.
    if (CollectionCount(*group, "Files") == 0 && CollectionCount(*group, "SubFolders") == 0) {
      group.reset();
      FolderDelete(folder, false);
    }
    LogDebugText(kTagSetupClear, "END");
  });
}

void clsBrantvell::ProbeFoldersBeforeDelete() {
  if (!probe_before_delete_) return;
  probe_before_delete_ = false;
  if (!probe_folder_) return;
  // The clear has got both folders by its first delete (the removal list
  // starts with a desktop shortcut), so the stored values are asked
  // without a record: a run that goes through keeps its records, and a
  // failure reads like the failed save it stands for.
  for (const std::string& folder : {app_start_menu_folder_, app_desktop_folder_}) {
    if (!folder.empty()) NamingCause(folder, [&] { probe_folder_(folder); });
  }
}

void clsBrantvell::SaveShortcut(ScriptObject& shortcut) {
  try {
    shortcut.Get("Save");
  } catch (const Error& error) {
    // The path is asked for only now: a save that goes through makes no
    // call more than it always has.
    std::string path;
    try {
      path = CoerceToText(shortcut.Get("FullName"), kOwnErrorSource);
    } catch (const Error&) {
    }
    throw WithCause(error, path);
  }
}

std::string clsBrantvell::LinkFileByName(const ShortcutEntry& entry) {
  std::string folder =
      entry.folder == ShortcutFolder::kDesktop ? AppDesktopFolder() : AppStartMenuFolder();
  return folder + "\\" + strings_.Load(entry.name_row) + ".lnk";
}

std::string clsBrantvell::FileToClear(int32_t number) {
  // An uninstall removes the application's registry entries before it
  // clears; deleting needs only the names, so a link is then found by its
  // name instead of failing for want of its target.
  const ShortcutEntry* entry = FindShortcut(number);
  const bool by_name_possible = entry && entry->is_link;
  if (by_name_possible && app_path_unreadable_) return LinkFileByName(*entry);
  try {
    return CoerceToText(GetShortCut(number)->Get("FullName"), kOwnErrorSource);
  } catch (const Error&) {
    if (!by_name_possible || !app_path_unreadable_) throw;
    return LinkFileByName(*entry);
  }
}

void clsBrantvell::ClearDesktopShortcuts(const std::vector<int32_t>& numbers) {
  for (int32_t number : numbers) {
    const ShortcutEntry* entry = FindShortcut(number);
    if (!entry || entry->folder != ShortcutFolder::kDesktop) continue;
    // The file path a built shortcut would have, without building one: a
    // shortcut object needs the application folder, which an uninstalled
    // application may no longer have.
    std::string file = LinkFileByName(*entry);
    if (FileExists(file)) {
      ProbeFoldersBeforeDelete();
      FileDelete(file, true);
    }
  }
}

}  // namespace brantvell
