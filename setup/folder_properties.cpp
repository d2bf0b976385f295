// The setup object's folder properties: the Start-menu group, the public
// desktop and the application's folder, each read once and kept.
#include "setup/cls_brantvell.h"

#include "log/mdl_log.h"
#include "platform/error.h"
#include "setup/error_trap.h"

namespace brantvell {

namespace {

constexpr char kTagGetAppStartMenuFolder[] = "[clsBrantvell] (GET AppStartMenuFolder)";
constexpr char kTagGetAppDesktopFolder[] = "[clsBrantvell] (GET AppDesktopFolder)";
constexpr char kTagGetAppPath[] = "[clsBrantvell] (GET AppPath)";

}  // namespace

std::string clsBrantvell::AppStartMenuFolder() {
  return Trapped(kTagGetAppStartMenuFolder, [&] {
    if (app_start_menu_folder_.empty()) {
      std::string group = strings_.Load(kRowGroupName);
      std::string programs = GetSpecilaFolders("AllUsersPrograms");
      app_start_menu_folder_ = BuildPath(programs, group);
    }
    LogDebugText(kTagGetAppStartMenuFolder, "RETURN=" + app_start_menu_folder_);
    return app_start_menu_folder_;
  });
}

void clsBrantvell::SetAppStartMenuFolder(const std::string& strNewValue) {
  std::string value = strNewValue;
  app_start_menu_folder_ = UnQualifyPath(value);
}

std::string clsBrantvell::AppDesktopFolder() {
  return Trapped(kTagGetAppDesktopFolder, [&] {
    if (app_desktop_folder_.empty()) {
      app_desktop_folder_ = GetSpecilaFolders("AllUsersDesktop");
    }
    LogDebugText(kTagGetAppDesktopFolder, "RETURN=" + app_desktop_folder_);
    return app_desktop_folder_;
  });
}

void clsBrantvell::SetAppDesktopFolder(const std::string& strNewValue) {
  std::string value = strNewValue;
  app_desktop_folder_ = UnQualifyPath(value);
}

std::string clsBrantvell::AppPath() {
  return Trapped(kTagGetAppPath, [&] {
    if (app_path_.empty()) {
      // Stored as read: a trailing backslash of the registry value stays.
      try {
        app_path_ = RegReadString(strings_.Load(kRowAppPathValue));
      } catch (const Error&) {
        app_path_unreadable_ = true;
        throw;
      }
      // App Paths' Path is a search list, and its usual form ends in ";"
      // (C:\App;): the folder is the text before it.
      while (!app_path_.empty() && app_path_.back() == ';') app_path_.pop_back();
    }
    LogDebugText(kTagGetAppPath, "RETURN=" + app_path_);
    return app_path_;
  });
}

void clsBrantvell::SetAppPath(const std::string& strNewValue) {
  std::string value = strNewValue;
  app_path_ = UnQualifyPath(value);
}

}  // namespace brantvell
