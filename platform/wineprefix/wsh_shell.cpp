// "WScript.Shell" against the Wine prefix: special folders and registry
// values come from the prefix's registry file, shortcuts are written into
// its drives.
#include "platform/wineprefix/wineprefix.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string_view>

#include "platform/host_path.h"
#include "platform/posix/input_file.h"
#include "platform/text.h"
#include "platform/wineprefix/script_call.h"
#include "platform/wineprefix/script_objects.h"
#include "platform/wineprefix/wine_registry.h"

namespace brantvell {

namespace {

// The registry error for a missing key or value: HRESULT 0x80070002 (file
// not found) as a signed number, no source, no description.
Error ErrRegistryNotFound() { return ComponentError(kErrSystemFileNotFound); }

// system.reg is read in one pass, so its size costs time only (a second or
// so at this size); past it the file is not a registry Wine wrote and counts
// as an unreadable one. A booted prefix's is 2 to 3 MB, one with many
// programs installed a few tens.
constexpr off_t kMaxSystemRegBytes = off_t{256} << 20;

// The key the all-users folders are read from; every run that writes
// shortcuts asks for it, so the first pass keeps it already.
constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Whether two stats name the same file as it was: Wine rewrites the
// registry by putting a new file in place, and any edit changes a time.
bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// The machine part of the prefix's registry. Wine rewrites the file while
// programs run, so every look-up answers from the file as it is: the file
// is read again, in one pass keeping only the keys asked for so far, when
// its stat has changed or a look-up needs a key not kept yet. An
// unreadable file is an empty registry.
class MachineRegistry {
 public:
  const WineRegistry& WithKey(const std::string& key) {
    std::string path = WinePrefixFolder() + "/system.reg";
    struct stat now;
    bool exists = ::stat(path.c_str(), &now) == 0;
    bool asked = false;
    for (const std::string& k : keys_) asked = asked || EqualsNoCase(k, key);
    if (!asked) AddKey(key);
    if (read_ && asked && path == path_ && exists && SameFile(now, info_)) return registry_;
    Read(path);
    return registry_;
  }

 private:
  // The key and, under Software, the view a 32-bit program is redirected
  // to on a 64-bit prefix (whether the file is one is known only once read).
  void AddKey(const std::string& key) {
    keys_.push_back(key);
    std::string lower = ToLower(key);
    if (lower == "software" || lower.compare(0, 9, "software\\") == 0)
      keys_.push_back("Software\\Wow6432Node" + key.substr(8));
  }

  void Read(const std::string& path) {
    path_ = path;
    read_ = true;
    RegistryReader reader(keys_);
    UniqueFd fd = OpenInput(path, kMaxSystemRegBytes, 0, &info_);
    if (fd.valid()) {
      std::unique_ptr<char[]> buffer(new char[kReadPiece]);
      off_t total = 0;
      for (;;) {
        ssize_t n = ::read(fd.get(), buffer.get(), kReadPiece);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || (total += n) > kMaxSystemRegBytes) break;
        reader.Feed(std::string_view(buffer.get(), static_cast<size_t>(n)));
      }
    } else {
      info_ = {};
      read_ = false;  // read again at the next look-up
    }
    registry_ = reader.Finish();
  }

  static constexpr size_t kReadPiece = 256 << 10;
  std::vector<std::string> keys_{kShellFoldersKey,
                                 "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                                 "Explorer\\Shell Folders"};
  std::string path_;
  bool read_ = false;
  struct stat info_ {};
  WineRegistry registry_;
};

const WineRegistry& MachineRegistryWithKey(const std::string& key) {
  static MachineRegistry registry;
  return registry.WithKey(key);
}

// "HKLM\key\name" or "HKEY_LOCAL_MACHINE\key\name"; a path ending in "\"
// names the key's default value. False for any other root.
bool SplitMachinePath(const std::string& path, std::string* key, std::string* name) {
  size_t root_end = path.find('\\');
  if (root_end == std::string::npos) return false;
  std::string root = MemberKey(path.substr(0, root_end));
  if (root != "hklm" && root != "hkey_local_machine") return false;
  std::string rest = path.substr(root_end + 1);
  size_t last = rest.rfind('\\');
  if (last == std::string::npos) {
    key->clear();
    *name = rest;
  } else {
    *key = rest.substr(0, last);
    *name = rest.substr(last + 1);
  }
  return true;
}

Value RegRead(const std::string& path) {
  std::string key, name;
  if (!SplitMachinePath(path, &key, &name)) throw ErrRegistryNotFound();
  const RegistryValue* value = MachineRegistryWithKey(key).FindAs32Bit(key, name);
  if (value == nullptr) throw ErrRegistryNotFound();
  std::string text;
  uint32_t number;
  std::vector<std::string> strings;
  if (RegistryValueText(*value, &text)) return Value::String(text);
  if (RegistryValueDword(*value, &number)) return Value::Long(static_cast<int32_t>(number));
  if (RegistryValueStrings(*value, &strings)) {
    std::vector<Value> items;
    for (std::string& s : strings) items.push_back(Value::String(std::move(s)));
    return Value::Array(std::move(items));
  }
  throw ComponentError(kErrTypeMismatch);
}

// The all-users folders: from the prefix's "Shell Folders" key when it names
// them, else where a fresh prefix has them.
std::string SpecialFolder(const std::string& name) {
  std::string value_name, fallback;
  std::string key = MemberKey(name);
  if (key == "allusersprograms") {
    value_name = "Common Programs";
    fallback = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
  } else if (key == "allusersdesktop") {
    value_name = "Common Desktop";
    fallback = "C:\\users\\Public\\Desktop";
  } else {
    return std::string();
  }
  const RegistryValue* value =
      MachineRegistryWithKey(kShellFoldersKey).FindAs32Bit(kShellFoldersKey, value_name);
  std::string text;
  if (value != nullptr && RegistryValueText(*value, &text) && !text.empty()) return text;
  return fallback;
}

class WshShell : public ScriptObject {
 public:
  std::string TypeName() override { return "IWshShell3"; }

  Value Get(const std::string& member, const std::vector<Value>& args) override {
    std::string m = MemberKey(member);
    if (m == "specialfolders") {
      CheckArgCount(args, 1, 1);
      return Value::String(SpecialFolder(CoerceToText(args[0])));
    }
    if (m == "regread") {
      CheckArgCount(args, 1, 1);
      return RegRead(CoerceToText(args[0]));
    }
    throw ComponentError(kErrMemberNotSupported);
  }

  std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                          const std::vector<Value>& args) override {
    if (MemberKey(member) == "createshortcut") {
      CheckArgCount(args, 1, 1);
      return NewWshShortcut(CoerceToText(args[0]));
    }
    throw ComponentError(kErrMemberNotSupported);
  }

  void Put(const std::string&, const Value&) override {
    throw ComponentError(kErrMemberNotSupported);
  }
};

}  // namespace

std::shared_ptr<ScriptObject> NewWshShell() { return std::make_shared<WshShell>(); }

}  // namespace brantvell
