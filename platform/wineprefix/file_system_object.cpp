// "Scripting.FileSystemObject" against the Wine prefix, with the folder and
// file-collection objects GetFolder hands out. A file counts as read-only
// when nobody may write it, the way Wine shows such files to programs.
// Deleting a file or folder changes only the folder that holds it, so a
// read-only file goes as it is and keeps its permissions when the removal
// fails; nothing is deleted through a link that leads off the prefix's
// drives. The folder that holds the entry is opened once and the removal
// made relative to it, so a link swapped in meanwhile changes nothing.
#include "platform/wineprefix/wineprefix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

#include "platform/freedesktop/desktop_entries.h"
#include "platform/linux/dir_entries.h"
#include "platform/posix/unique_fd.h"
#include "platform/wineprefix/errno_error.h"
#include "platform/wineprefix/host_folder.h"
#include "platform/wineprefix/script_call.h"
#include "platform/wineprefix/script_objects.h"

namespace brantvell {

namespace {

bool IsReadOnly(const struct stat& st) { return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

// The host path of a Windows path without separators at its end ("/"
// stays), so the last component is the entry itself, never its content.
bool HostPathOf(const std::string& path, std::string* host) {
  if (!DrivePathToHost(path, host)) return false;
  while (host->size() > 1 && host->back() == '/') host->pop_back();
  return true;
}

bool StatIs(const std::string& path, bool folder) {
  std::string host;
  struct stat st;
  if (!HostPathOf(path, &host)) return false;
  // A clear that finds nothing to delete still takes away what killed saves
  // left beside the shortcuts it looks for; once a folder in a run.
  static std::set<std::string> swept;
  std::string parent = host.substr(0, host.rfind('/'));
  if (!folder && !parent.empty() && swept.insert(parent).second) RemoveShortcutTemps(parent);
  if (::stat(host.c_str(), &st) != 0) return false;
  return folder ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
}

Error DeleteError(int error) { return ErrorForErrno(error, FailedCall::kDelete); }

// A directory stream closed when it goes out of scope.
class DirStream {
 public:
  explicit DirStream(DIR* dir) : dir_(dir) {}
  ~DirStream() {
    if (dir_ != nullptr) ::closedir(dir_);
  }
  DirStream(const DirStream&) = delete;
  DirStream& operator=(const DirStream&) = delete;
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

// Removes entry `name` of the folder open as `parent`: a folder with all it
// holds, anything else (a symbolic link included, never its target) by
// itself. Read-only files stop the removal unless `force` is set.
void RemoveEntry(int parent, const std::string& name, bool force) {
  struct stat st;
  if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) throw DeleteError(errno);
  if (!S_ISDIR(st.st_mode)) {
    if (S_ISREG(st.st_mode) && IsReadOnly(st) && !force) throw ComponentError(kErrPermissionDenied);
    if (::unlinkat(parent, name.c_str(), 0) != 0) throw DeleteError(errno);
    return;
  }
  int fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) throw DeleteError(errno);
  DirStream dir(::fdopendir(fd));
  if (dir.get() == nullptr) {
    ::close(fd);
    throw DeleteError(errno);
  }
  // Names first, removal after: removing while reading may skip entries.
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(dir.get())) {
    std::string entry_name = entry->d_name;
    if (entry_name != "." && entry_name != "..") names.push_back(entry_name);
  }
  for (const std::string& entry_name : names) RemoveEntry(::dirfd(dir.get()), entry_name, force);
  if (::unlinkat(parent, name.c_str(), AT_REMOVEDIR) != 0) throw DeleteError(errno);
}

// The temporary files that killed saves left in the folder open as
// `folder` go with the shortcut a clear deletes there; only while no save
// into the folder is under way (saves hold a shared lock on it).
void RemoveKilledSaves(int folder) {
  UniqueFd own(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!own.valid() || ::flock(own.get(), LOCK_EX | LOCK_NB) != 0) return;
  std::vector<std::string> stale;
  ForEachEntry(own.get(), [&](const char* entry) {
    if (IsShortcutTempName(entry)) stale.push_back(entry);
  });
  for (const std::string& name : stale) {
    struct stat st;
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
      ::unlinkat(folder, name.c_str(), 0);
  }
}

void DeleteFile(const std::string& path, bool force) {
  HostFolder folder;
  std::string name;
  struct stat st;
  if (!StartsWithDrive(path) || !OpenHostEntry(path, &folder, &name) ||
      ::fstatat(folder.fd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
      S_ISDIR(st.st_mode))
    throw ComponentError(kErrFileNotFound);
  if (S_ISREG(st.st_mode) && IsReadOnly(st) && !force) throw ComponentError(kErrPermissionDenied);
  if (!folder.on_drive) throw ComponentError(kErrPermissionDenied);
  if (::unlinkat(folder.fd.get(), name.c_str(), 0) != 0)
    throw errno == ENOENT || errno == ENOTDIR ? ComponentError(kErrFileNotFound)
                                              : ComponentError(kErrPermissionDenied);
  RemoveKilledSaves(folder.fd.get());
}

// True for "X:" and "X:\": a drive itself is never deleted.
bool IsDriveRoot(const std::string& path) {
  return (path.size() == 2 || (path.size() == 3 && (path[2] == '\\' || path[2] == '/'))) &&
         path[1] == ':';
}

void DeleteFolder(const std::string& path, bool force) {
  HostFolder parent;
  std::string name;
  struct stat st;
  if (IsDriveRoot(path) || !StartsWithDrive(path) || !OpenHostEntry(path, &parent, &name) ||
      ::fstatat(parent.fd.get(), name.c_str(), &st, 0) != 0 || !S_ISDIR(st.st_mode))
    throw ComponentError(kErrPathNotFound);
  if (!parent.on_drive) throw ComponentError(kErrPermissionDenied);
  RemoveEntry(parent.fd.get(), name, force);
}

// The files (or the sub-folders) of a folder; Count looks at the folder when
// it is asked.
class FileCollection : public ScriptObject {
 public:
  FileCollection(std::string host, bool folders) : host_(std::move(host)), folders_(folders) {}

  std::string TypeName() override { return folders_ ? "IFolderCollection" : "IFileCollection"; }

  Value Get(const std::string& member, const std::vector<Value>& args) override {
    if (MemberKey(member) != "count") throw ComponentError(kErrMemberNotSupported);
    CheckArgCount(args, 0, 0);
    DirStream dir(::opendir(host_.c_str()));
    if (dir.get() == nullptr) throw ComponentError(kErrPathNotFound);
    int32_t count = 0;
    while (dirent* entry = ::readdir(dir.get())) {
      struct stat st;
      if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
      // Links are not followed and count as files, so a folder that holds
      // anything besides sub-folders never looks empty. The temporary file
      // of a save that was killed is not a file of the folder's: it goes
      // with the folder.
      if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      if (S_ISREG(st.st_mode) && IsShortcutTempName(entry->d_name)) continue;
      if (S_ISDIR(st.st_mode) == folders_) ++count;
    }
    return Value::Long(count);
  }

  std::shared_ptr<ScriptObject> GetObject(const std::string&, const std::vector<Value>&) override {
    throw ComponentError(kErrMemberNotSupported);
  }

  void Put(const std::string&, const Value&) override {
    throw ComponentError(kErrMemberNotSupported);
  }

 private:
  std::string host_;
  bool folders_;
};

class Folder : public ScriptObject {
 public:
  Folder(std::string path, std::string host) : path_(std::move(path)), host_(std::move(host)) {}

  std::string TypeName() override { return "IFolder"; }

  Value Get(const std::string& member, const std::vector<Value>& args) override {
    if (MemberKey(member) != "path") throw ComponentError(kErrMemberNotSupported);
    CheckArgCount(args, 0, 0);
    return Value::String(path_);
  }

  std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                          const std::vector<Value>& args) override {
    std::string m = MemberKey(member);
    if (m != "files" && m != "subfolders") throw ComponentError(kErrMemberNotSupported);
    CheckArgCount(args, 0, 0);
    return std::make_shared<FileCollection>(host_, m == "subfolders");
  }

  void Put(const std::string&, const Value&) override {
    throw ComponentError(kErrMemberNotSupported);
  }

 private:
  std::string path_;
  std::string host_;
};

// Folder and name joined by one backslash, which is added only where
// neither side already has one at the seam.
std::string BuildPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '\\' || (!name.empty() && name.front() == '\\')) return folder + name;
  return folder + "\\" + name;
}

class FileSystemObject : public ScriptObject {
 public:
  std::string TypeName() override { return "IFileSystem3"; }

  Value Get(const std::string& member, const std::vector<Value>& args) override {
    std::string m = MemberKey(member);
    if (m == "folderexists" || m == "fileexists") {
      CheckArgCount(args, 1, 1);
      return Value::Boolean(StatIs(CoerceToText(args[0]), m == "folderexists"));
    }
    if (m == "deletefile" || m == "deletefolder") {
      CheckArgCount(args, 1, 2);
      std::string path = CoerceToText(args[0]);
      bool force = args.size() > 1 && CoerceToBool(args[1]);
      if (m == "deletefile")
        DeleteFile(path, force);
      else
        DeleteFolder(path, force);
      DesktopEntriesForRemoved(path);
      return Value();
    }
    if (m == "buildpath") {
      CheckArgCount(args, 2, 2);
      return Value::String(BuildPath(CoerceToText(args[0]), CoerceToText(args[1])));
    }
    throw ComponentError(kErrMemberNotSupported);
  }

  std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                          const std::vector<Value>& args) override {
    if (MemberKey(member) != "getfolder") throw ComponentError(kErrMemberNotSupported);
    CheckArgCount(args, 1, 1);
    std::string path = CoerceToText(args[0]);
    std::string host;
    struct stat st;
    if (!HostPathOf(path, &host) || ::stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
      throw ComponentError(kErrPathNotFound);
    return std::make_shared<Folder>(path, host);
  }

  void Put(const std::string&, const Value&) override {
    throw ComponentError(kErrMemberNotSupported);
  }
};

}  // namespace

std::shared_ptr<ScriptObject> NewFileSystemObject() { return std::make_shared<FileSystemObject>(); }

}  // namespace brantvell
