// Shortcut objects of "WScript.Shell": properties are kept in memory until
// Save writes the ".lnk" (binary shell link) or ".url" (Internet shortcut)
// file into the Wine prefix. Save replaces the file in one step, so a
// failed save never leaves half a shortcut behind.
#include "platform/wineprefix/wineprefix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/folder_probe.h"
#include "platform/freedesktop/desktop_entries.h"
#include "platform/link_limits.h"
#include "platform/linux/dir_entries.h"
#include "platform/posix/unique_fd.h"
#include "platform/posix/write_all.h"
#include "platform/text.h"
#include "platform/wineprefix/errno_error.h"
#include "platform/wineprefix/host_folder.h"
#include "platform/wineprefix/script_call.h"
#include "platform/wineprefix/script_objects.h"
#include "platform/wineprefix/shell_link.h"

namespace brantvell {

namespace {

// The component gives no source and no description.
Error ErrSaveFolderNotFound() { return ComponentError(kErrSystemPathNotFound); }

Error SaveError(int error) { return ErrorForErrno(error, FailedCall::kSave); }

const char kTempHead[] = ".shortcut-";
const char kTempTail[] = ".tmp";
constexpr size_t kTempHeadSize = sizeof kTempHead - 1;
constexpr size_t kTempDigits = 8;

// Saves into a folder hold a shared lock on it for as long as their
// temporary file exists. A save that was killed leaves its temporary file
// behind; a later save removes such files, but only while it holds the
// exclusive lock, which it cannot get while another save is under way.
// The folder is listed once, under the lock: for the entry the target's
// name means and for those files.
class FolderSaveLock {
 public:
  FolderSaveLock(int folder, const std::string& name)
      : folder_(folder),
        fd_(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
        match_(name) {
    // A folder that cannot be opened for reading is saved into unlocked,
    // unswept, under the name as given.
    if (!fd_.valid()) return;
    exclusive_ = ::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0;
    ForEachEntry(fd_.get(), [&](const char* entry) {
      match_.Offer(entry);
      if (exclusive_ && IsShortcutTempName(entry)) stale_.push_back(entry);
    });
  }
  FolderSaveLock(const FolderSaveLock&) = delete;
  FolderSaveLock& operator=(const FolderSaveLock&) = delete;

  // The existing entry the target's name means, else the name as given.
  const std::string& Target() const { return match_.Result(); }

  // Removes the files of killed saves (with the exclusive lock), then
  // shares the lock with other saves.
  void Share() {
    if (!fd_.valid()) return;
    for (const std::string& name : stale_) {
      struct stat st;
      if (::fstatat(folder_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        ::unlinkat(folder_, name.c_str(), 0);
    }
    while (::flock(fd_.get(), LOCK_SH) != 0 && errno == EINTR) {
    }
  }

 private:
  int folder_;
  UniqueFd fd_;
  NameMatch match_;
  bool exclusive_ = false;
  std::vector<std::string> stale_;
};

// A new temporary file in the folder open as `folder`, beside the target;
// removed again unless it was renamed over the target.
class TempFile {
 public:
  explicit TempFile(int folder) : folder_(folder) {
    static unsigned counter = 0;
    static const unsigned pid = static_cast<unsigned>(getpid());
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    unsigned seed = static_cast<unsigned>(now.tv_nsec) ^ (pid << 16);
    for (int attempt = 0; attempt < 100; ++attempt) {
      char name[32];
      std::snprintf(name, sizeof name, "%s%08x%s", kTempHead, seed + 7919u * ++counter, kTempTail);
      int fd = ::openat(folder_, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd >= 0) {
        name_ = name;
        fd_.reset(fd);
        return;
      }
      if (errno != EEXIST) throw SaveError(errno);
    }
    throw SaveError(EEXIST);
  }
  ~TempFile() {
    fd_.reset();
    if (!committed_) ::unlinkat(folder_, name_.c_str(), 0);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  UniqueFd& fd() { return fd_; }
  const std::string& name() const { return name_; }
  void Commit() { committed_ = true; }

 private:
  int folder_;
  std::string name_;
  UniqueFd fd_;
  bool committed_ = false;
};

// Writes `bytes` as the file at Windows path `path`: into a temporary file
// in the same folder first, then renamed over the target, so no reader ever
// sees a half-written shortcut. The bytes are not forced to the disk, as the
// shell's own Save does not force them either: a flush per shortcut took
// most of a run's time, and a lost shortcut is made again by the next run.
void ReplaceFile(const std::string& path, const std::string& bytes) {
  // The folder is opened once; the temporary file, the rename and any
  // removal all happen in it, so a link swapped in meanwhile cannot move
  // the save elsewhere. Only onto the prefix's drives.
  HostFolder folder;
  std::string name;
  if (!StartsWithDrive(path) || !OpenHostParent(path, &folder, &name))
    throw ErrSaveFolderNotFound();
  if (!folder.on_drive) throw ComponentError(kErrPermissionDenied);
  int dir = folder.fd.get();
  FolderSaveLock lock(dir, name);
  name = lock.Target();

  // A read-only target stays as it is (root could rename over it anyway).
  struct stat st;
  bool replacing = ::fstatat(dir, name.c_str(), &st, 0) == 0;
  if (replacing && (S_ISDIR(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0))
    throw ComponentError(kErrPermissionDenied);

  lock.Share();
  TempFile temp(dir);
  if (replacing) ::fchmod(temp.fd().get(), st.st_mode & 07777);
  if (!WriteAll(temp.fd().get(), bytes) || !temp.fd().Close()) throw SaveError(errno);
  if (::renameat(dir, temp.name().c_str(), dir, name.c_str()) != 0) throw SaveError(errno);
  temp.Commit();
}

}  // namespace

// A save's own temporary file, made and removed at once: what a save into
// the folder would meet, met before anything is deleted.
namespace {

void CheckFolderTakesFilesAt(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  HostFolder host;
  if (StartsWithDrive(path) && OpenHostFolder(path, /*create=*/false, &host)) {
    if (!host.on_drive) throw ComponentError(kErrPermissionDenied);
    TempFile probe(host.fd.get());
    return;
  }
  // Not there yet: it is made in the nearest folder above it that exists,
  // and a save into it fails with "path not found" when that cannot be.
  for (size_t slash = path.rfind('\\'); slash != std::string::npos && slash >= 2;
       slash = path.rfind('\\', slash - 1)) {
    if (!OpenHostFolder(path.substr(0, std::max<size_t>(slash, 3)), false, &host)) continue;
    if (!host.on_drive) throw ErrSaveFolderNotFound();
    try {
      TempFile probe(host.fd.get());
    } catch (const Error&) {
      throw ErrSaveFolderNotFound();
    }
    return;
  }
}

}  // namespace

void CheckFolderTakesFiles(const std::string& folder) {
  try {
    CheckFolderTakesFilesAt(folder);
  } catch (const Error& error) {
    NoteFolderRefused(folder, error);
    throw;
  }
}

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

// "ALT+CTRL+F5"-style text as the shell link's hot key: the virtual key in
// the low byte, the modifier bits in the high byte. Raises Error 5 for a
// text it cannot read.
uint16_t ParseHotkey(const std::string& text) {
  if (TrimSpaces(text).empty()) return 0;
  unsigned modifiers = 0;
  unsigned key = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t plus = text.find('+', start);
    if (plus == std::string::npos) plus = text.size();
    std::string token = ToUpper(TrimSpaces(text.substr(start, plus - start)));
    start = plus + 1;
    if (key != 0) throw ComponentError(kErrInvalidProcedureCall);  // the key comes last
    if (token == "SHIFT") {
      modifiers |= 0x01;
    } else if (token == "CTRL" || token == "CONTROL") {
      modifiers |= 0x02;
    } else if (token == "ALT") {
      modifiers |= 0x04;
    } else if (token == "EXT") {
      modifiers |= 0x08;
    } else if (token.size() == 1 &&
               ((token[0] >= 'A' && token[0] <= 'Z') || (token[0] >= '0' && token[0] <= '9'))) {
      key = static_cast<unsigned char>(token[0]);
    } else if (token.size() >= 2 && token[0] == 'F' &&
               token.find_first_not_of("0123456789", 1) == std::string::npos && token.size() <= 3 &&
               std::atoi(token.c_str() + 1) >= 1 && std::atoi(token.c_str() + 1) <= 24) {
      key = 0x70 + static_cast<unsigned>(std::atoi(token.c_str() + 1)) - 1;
    } else {
      throw ComponentError(kErrInvalidProcedureCall);
    }
  }
  if (key == 0) throw ComponentError(kErrInvalidProcedureCall);
  return static_cast<uint16_t>((modifiers << 8) | key);
}

// "path,index": the icon file and the icon's index in it. Text without a
// number after its last comma is all path, index 0.
void SplitIconLocation(const std::string& location, std::string* path, int32_t* index) {
  *path = location;
  *index = 0;
  size_t comma = location.rfind(',');
  if (comma == std::string::npos) return;
  std::string number = TrimSpaces(location.substr(comma + 1));
  size_t digits = number.size() > 1 && number[0] == '-' ? 1 : 0;
  if (number.size() == digits || number.size() - digits > 9 ||
      number.find_first_not_of("0123456789", digits) != std::string::npos)
    return;
  *path = location.substr(0, comma);
  *index = std::atoi(number.c_str());
}

class WshShortcut : public ScriptObject {
 public:
  WshShortcut(std::string path, bool url) : path_(std::move(path)), url_(url) {}

  std::string TypeName() override { return url_ ? "IWshURLShortcut" : "IWshShortcut"; }

  Value Get(const std::string& member, const std::vector<Value>& args) override {
    std::string m = MemberKey(member);
    Value result = Property(m);  // an unknown member fails before a wrong argument count
    CheckArgCount(args, 0, 0);
    if (m == "save") Save();
    return result;
  }

  std::shared_ptr<ScriptObject> GetObject(const std::string&, const std::vector<Value>&) override {
    throw ComponentError(kErrMemberNotSupported);
  }

  void Put(const std::string& member, const Value& value) override {
    std::string m = MemberKey(member);
    if (m == "targetpath") {
      target_ = CoerceToText(value);
      return;
    }
    if (!url_) {
      if (m == "arguments") {
        arguments_ = CoerceToText(value);
        return;
      }
      if (m == "workingdirectory") {
        working_directory_ = CoerceToText(value);
        return;
      }
      if (m == "windowstyle") {
        window_style_ = CoerceToLong(value);
        return;
      }
      if (m == "iconlocation") {
        icon_location_ = CoerceToText(value);
        return;
      }
      if (m == "description") {
        description_ = CoerceToText(value);
        return;
      }
      if (m == "hotkey") {
        std::string text = CoerceToText(value);
        hotkey_ = ParseHotkey(text);
        hotkey_text_ = text;
        return;
      }
    }
    throw ComponentError(kErrMemberNotSupported);
  }

 private:
  // The value of a readable property; Empty for Save, the one method.
  // Raises ErrNoSuchMember for anything else.
  Value Property(const std::string& m) const {
    if (m == "fullname") return Value::String(path_);
    if (m == "targetpath") return Value::String(target_);
    if (m == "save") return Value();
    if (!url_) {
      if (m == "arguments") return Value::String(arguments_);
      if (m == "workingdirectory") return Value::String(working_directory_);
      if (m == "windowstyle") return Value::Long(window_style_);
      if (m == "iconlocation") return Value::String(icon_location_);
      if (m == "description") return Value::String(description_);
      if (m == "hotkey") return Value::String(hotkey_text_);
    }
    throw ComponentError(kErrMemberNotSupported);
  }

  void Save() {
    if (url_) {
      // The URL is one line of an INI file: a line break would end it.
      if (target_.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        throw ComponentError(kErrInvalidProcedureCall);
      ReplaceFile(path_, "[InternetShortcut]\r\nURL=" + target_ + "\r\n");
      DesktopEntryForShortcut({path_, target_, "", "", "", ""});
      return;
    }
    CheckLinkTextsFit(target_, arguments_, working_directory_);
    ShellLinkData link;
    link.target_path = target_;
    link.arguments = arguments_;
    link.working_directory = working_directory_;
    link.description = description_;
    SplitIconLocation(icon_location_, &link.icon_path, &link.icon_index);
    link.show_command = static_cast<uint32_t>(window_style_);
    link.hotkey = hotkey_;
    ReplaceFile(path_, WriteShellLink(link));
    DesktopEntryForShortcut(
        {path_, target_, arguments_, working_directory_, link.icon_path, description_});
  }

  std::string path_;
  bool url_;
  std::string target_;
  std::string arguments_;
  std::string working_directory_;
  int32_t window_style_ = 1;
  std::string icon_location_;
  std::string description_;
  std::string hotkey_text_;
  uint16_t hotkey_ = 0;
};

}  // namespace

bool IsShortcutTempName(const std::string& name) {
  if (name.size() != kTempHeadSize + kTempDigits + sizeof kTempTail - 1 ||
      name.compare(0, kTempHeadSize, kTempHead) != 0 ||
      name.compare(kTempHeadSize + kTempDigits, std::string::npos, kTempTail) != 0)
    return false;
  for (size_t i = kTempHeadSize; i < kTempHeadSize + kTempDigits; ++i) {
    if (!((name[i] >= '0' && name[i] <= '9') || (name[i] >= 'a' && name[i] <= 'f'))) return false;
  }
  return true;
}

void RemoveShortcutTemps(const std::string& host_folder) {
  UniqueFd folder(::open(host_folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!folder.valid()) return;
  FolderSaveLock lock(folder.get(), std::string());
  lock.Share();
}

std::shared_ptr<ScriptObject> NewWshShortcut(const std::string& path) {
  if (EndsWithNoCase(path, ".lnk")) return std::make_shared<WshShortcut>(path, false);
  if (EndsWithNoCase(path, ".url")) return std::make_shared<WshShortcut>(path, true);
  throw ComponentError(kErrInvalidProcedureCall);
}

}  // namespace brantvell
