// "WScript.Shell" against the Wine prefix: special folders and registry
// values come from the prefix's registry file, shortcuts are written into
// its drives.
#include "platform/wineprefix/wineprefix.h"

#include <fstream>
#include <sstream>

#include "platform/host_path.h"
#include "platform/text.h"
#include "platform/wineprefix/script_call.h"
#include "platform/wineprefix/script_objects.h"
#include "platform/wineprefix/wine_registry.h"

namespace brantvell {

namespace {

// The registry error for a missing key or value: HRESULT 0x80070002 (file
// not found) as a signed number, no source, no description.
Error ErrRegistryNotFound() { return ComponentError(kErrSystemFileNotFound); }

// The machine part of the prefix's registry, read afresh for every look-up
// because Wine rewrites the file while programs run. An unreadable file is
// an empty registry.
WineRegistry ReadMachineRegistry() {
  std::ifstream file(WinePrefixFolder() + "/system.reg", std::ios::binary);
  std::ostringstream text;
  if (file) text << file.rdbuf();
  return WineRegistry::Parse(text.str());
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
  WineRegistry registry = ReadMachineRegistry();
  const RegistryValue* value = registry.FindAs32Bit(key, name);
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
  WineRegistry registry = ReadMachineRegistry();
  const RegistryValue* value = registry.FindAs32Bit(
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", value_name);
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
