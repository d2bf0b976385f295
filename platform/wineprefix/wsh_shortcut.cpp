// Shortcut objects of "WScript.Shell": properties are kept in memory until
// Save writes the ".lnk" (binary shell link) or ".url" (Internet shortcut)
// file into the Wine prefix. Save replaces the file in one step, so a
// failed save never leaves half a shortcut behind.
#include "platform/wineprefix/wineprefix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/desktop_entries.h"
#include "platform/text.h"
#include "platform/wineprefix/prefix_drive.h"
#include "platform/wineprefix/script_call.h"
#include "platform/wineprefix/script_objects.h"
#include "platform/wineprefix/shell_link.h"

namespace brantvell {

namespace {

// The component gives no source and no description.
Error ErrSaveFolderNotFound() { return ComponentError(kErrSystemPathNotFound); }

Error ErrorForErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ErrSaveFolderNotFound();
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return ComponentError(kErrPermissionDenied);
    case ENOSPC:
    case EDQUOT:
      return ComponentError(kErrDiskFull);
    default:
      return ComponentError(kErrPathFileAccess);
  }
}

// A file descriptor closed when it goes out of scope.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (it can report a
  // failed delayed write).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

const char kTempHead[] = ".shortcut-";
const char kTempTail[] = ".tmp";
constexpr size_t kTempHeadSize = sizeof kTempHead - 1;
constexpr size_t kTempDigits = 8;

// Saves into a folder hold a shared lock on it for as long as their
// temporary file exists. A save that was killed leaves its temporary file
// behind; a later save removes such files, but only while it holds the
// exclusive lock, which it cannot get while another save is under way.
class FolderSaveLock {
 public:
  explicit FolderSaveLock(const std::string& folder)
      : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    // A folder that cannot be opened for reading is saved into unlocked
    // and left unswept.
    if (fd_.get() < 0) return;
    if (::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0) RemoveStaleTempFiles();
    while (::flock(fd_.get(), LOCK_SH) != 0 && errno == EINTR) {
    }
  }
  FolderSaveLock(const FolderSaveLock&) = delete;
  FolderSaveLock& operator=(const FolderSaveLock&) = delete;

 private:
  void RemoveStaleTempFiles() {
    int list_fd = ::openat(fd_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (list_fd < 0) return;
    DIR* dir = ::fdopendir(list_fd);
    if (dir == nullptr) {
      ::close(list_fd);
      return;
    }
    std::vector<std::string> stale;
    while (dirent* entry = ::readdir(dir)) {
      struct stat st;
      if (IsShortcutTempName(entry->d_name) &&
          ::fstatat(fd_.get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        stale.push_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : stale) ::unlinkat(fd_.get(), name.c_str(), 0);
  }

  UniqueFd fd_;
};

// A new temporary file beside the target; removed again unless it was
// renamed over the target.
class TempFile {
 public:
  explicit TempFile(const std::string& folder) {
    static unsigned counter = 0;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    unsigned seed = static_cast<unsigned>(now.tv_nsec) ^ (static_cast<unsigned>(getpid()) << 16);
    for (int attempt = 0; attempt < 100; ++attempt) {
      char name[32];
      std::snprintf(name, sizeof name, "/%s%08x%s", kTempHead, seed + 7919u * ++counter, kTempTail);
      std::string path = folder + name;
      int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd >= 0) {
        path_ = path;
        fd_ = std::make_unique<UniqueFd>(fd);
        return;
      }
      if (errno != EEXIST) throw ErrorForErrno(errno);
    }
    throw ErrorForErrno(EEXIST);
  }
  ~TempFile() {
    fd_.reset();
    if (!committed_) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  UniqueFd& fd() { return *fd_; }
  const std::string& path() const { return path_; }
  void Commit() { committed_ = true; }

 private:
  std::string path_;
  std::unique_ptr<UniqueFd> fd_;
  bool committed_ = false;
};

void WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw ErrorForErrno(errno);
    }
    done += static_cast<size_t>(n);
  }
}

// Writes `bytes` as the file at Windows path `path`: into a temporary file
// in the same folder first, then renamed over the target, so no reader ever
// sees a half-written shortcut. The bytes are not forced to the disk, as the
// shell's own Save does not force them either: a flush per shortcut took
// most of a run's time, and a lost shortcut is made again by the next run.
void ReplaceFile(const std::string& path, const std::string& bytes) {
  std::string host;
  if (!DrivePathToHost(path, &host)) throw ErrSaveFolderNotFound();
  size_t slash = host.rfind('/');
  if (slash == std::string::npos || slash + 1 == host.size()) throw ErrSaveFolderNotFound();
  std::string folder = slash == 0 ? std::string("/") : host.substr(0, slash);
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) throw ErrSaveFolderNotFound();
  // Only onto the prefix's drives, through the folder's real path.
  std::string real_folder;
  if (!ResolveOnPrefixDrive(folder, &real_folder)) throw ComponentError(kErrPermissionDenied);
  host = (real_folder == "/" ? std::string() : real_folder) + host.substr(slash);
  folder = real_folder;

  // A read-only target stays as it is (root could rename over it anyway).
  bool replacing = ::stat(host.c_str(), &st) == 0;
  if (replacing && (S_ISDIR(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0))
    throw ComponentError(kErrPermissionDenied);

  FolderSaveLock lock(folder);
  TempFile temp(folder == "/" ? std::string() : folder);
  if (replacing) ::fchmod(temp.fd().get(), st.st_mode & 07777);
  WriteAll(temp.fd().get(), bytes);
  if (!temp.fd().Close()) throw ErrorForErrno(errno);
  if (::rename(temp.path().c_str(), host.c_str()) != 0) throw ErrorForErrno(errno);
  temp.Commit();
}

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

std::shared_ptr<ScriptObject> NewWshShortcut(const std::string& path) {
  if (EndsWithNoCase(path, ".lnk")) return std::make_shared<WshShortcut>(path, false);
  if (EndsWithNoCase(path, ".url")) return std::make_shared<WshShortcut>(path, true);
  throw ComponentError(kErrInvalidProcedureCall);
}

}  // namespace brantvell
