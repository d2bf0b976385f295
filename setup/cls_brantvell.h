// The setup object: finds the application's folders, builds the shortcut
// objects of the catalogue and checks, makes and clears the shortcut sets.
// It reaches the shell, the registry and the file system only through the
// scripting components of ScriptHost, creating a fresh component object for
// every call. Every procedure with a tag writes trace records and raises
// errors to its caller (see the error trap in cls_brantvell.cpp).
#ifndef BRANTVELL_SETUP_CLS_BRANTVELL_H_
#define BRANTVELL_SETUP_CLS_BRANTVELL_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/script_host.h"
#include "setup/shortcut_catalogue.h"
#include "setup/string_table.h"

namespace brantvell {

// Language variants (SetupCheck's result, SetupMake's argument).
constexpr int32_t kVariantCz = 1;
constexpr int32_t kVariantSk = 2;
constexpr int32_t kVariantCzSk = 3;

// Creates every missing folder of a path that ends with a backslash.
using PathMaker = std::function<bool(const std::string& path)>;

// Raises the Error a save into the folder would raise when it cannot take
// new files (CheckFolderTakesFiles).
using FolderProbe = std::function<void(const std::string& folder)>;

class clsBrantvell {
 public:
  // `host` creates the scripting components, `strings` reads the string
  // table by row id, `make_path` creates the group folder, `probe_folder`
  // tells before a make deletes anything whether its folders take files.
  explicit clsBrantvell(ScriptHost& host = ScriptHost::Real());
  clsBrantvell(ScriptHost& host, StringTable& strings);
  clsBrantvell(ScriptHost& host, StringTable& strings, PathMaker make_path);
  clsBrantvell(ScriptHost& host, StringTable& strings, PathMaker make_path,
               FolderProbe probe_folder);

  clsBrantvell(const clsBrantvell&) = delete;
  clsBrantvell& operator=(const clsBrantvell&) = delete;

  // The three folders, each filled on its first get while empty (and got
  // again while the result is empty). A set stores the value without
  // surrounding spaces and without one trailing backslash; it never fails.
  std::string AppStartMenuFolder();  // raises Error
  void SetAppStartMenuFolder(const std::string& strNewValue);
  std::string AppDesktopFolder();  // raises Error
  void SetAppDesktopFolder(const std::string& strNewValue);
  std::string AppPath();  // raises Error
  void SetAppPath(const std::string& strNewValue);

  // Unsaved shortcut objects for `sShortCutPath`\`sShortCutName`.lnk / .url.
  // Raise Error.
  std::shared_ptr<ScriptObject> CreateShortCutApp(const std::string& sTargetPath,
                                                  const std::string& sShortCutPath,
                                                  const std::string& sShortCutName,
                                                  const std::string& sArguments,
                                                  const std::string& sWorkPath, int32_t eWinStyle,
                                                  int16_t iIconNum);
  std::shared_ptr<ScriptObject> CreateShortCutURL(const std::string& sTargetPath,
                                                  const std::string& sShortCutPath,
                                                  const std::string& sShortCutName);

  bool FolderExists(const std::string& strFolder);  // raises Error
  bool FileExists(const std::string& strFile);      // raises Error

  // The installed variant: 1 CZ (also when nothing is installed), 2 SK,
  // 3 both. Raises Error when the application folder is not set or missing.
  int32_t SetupCheck();
  // Clears every catalogue shortcut, then installs the set of `variant`
  // (1, 2 or 3; any other value installs nothing). Raises Error.
  void SetupMake(int32_t variant);
  // Removes every catalogue shortcut and the group folder when nothing is
  // left in it. Raises Error.
  void SetupClear();

  // `strPath` and `strName` joined by one backslash. Raises Error.
  std::string BuildPath(const std::string& strPath, const std::string& strName);
  // Both trim spaces off `strPath` in place; QualifyPath returns it ending
  // in a backslash, UnQualifyPath without one trailing backslash.
  static std::string QualifyPath(std::string& strPath);
  static std::string UnQualifyPath(std::string& strPath);

 private:
  std::shared_ptr<ScriptObject> GetShortCut(int32_t number);
  bool CheckFolders();
  void FileDelete(const std::string& strFile, bool force);
  void FolderDelete(const std::string& strFolder, bool force);
  std::vector<int32_t> GetIconList(int32_t selector);
  std::string GetSpecilaFolders(const std::string& strName);
  std::string RegReadString(const std::string& strPath);
  std::shared_ptr<ScriptObject> GetNewObject(const std::string& strProgID);

  // In a make, before the clear's first delete: raises the error a save
  // into the group or desktop folder would meet.
  void ProbeFoldersBeforeDelete();
  // The file a clear looks for as shortcut `number`: the built shortcut's,
  // or for a link while the application folder cannot be read, the path
  // the catalogue's folder and name give.
  std::string FileToClear(int32_t number);
  std::string LinkFileByName(const ShortcutEntry& entry);
  // Saves `shortcut`; a failure without a description names its file.
  void SaveShortcut(ScriptObject& shortcut);
  // Removes the desktop shortcuts of `numbers` that exist.
  void ClearDesktopShortcuts(const std::vector<int32_t>& numbers);

  ScriptHost& host_;
  StringTable& strings_;
  PathMaker make_path_;
  FolderProbe probe_folder_;
  bool probe_before_delete_ = false;
  // The registry read of the application folder failed in this object.
  bool app_path_unreadable_ = false;

  std::string app_start_menu_folder_;
  std::string app_desktop_folder_;
  std::string app_path_;
};

}  // namespace brantvell

#endif  // BRANTVELL_SETUP_CLS_BRANTVELL_H_
