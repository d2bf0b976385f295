// Reading the text files in which Wine keeps a prefix's registry
// (system.reg for HKEY_LOCAL_MACHINE, user.reg for HKEY_CURRENT_USER).
// Parsing works on the file's text so it needs no file system and never
// fails: lines it does not understand are skipped.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_WINE_REGISTRY_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_WINE_REGISTRY_H_

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace brantvell {

// Registry value types, numbered as Windows numbers them.
enum RegistryType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

struct RegistryValue {
  uint32_t type = kRegNone;
  // True when the file held the data as a quoted string (`"..."`,
  // `str(N):"..."`), false for `dword:` and `hex:` data.
  bool is_text = false;
  // The string for quoted data (UTF-8, escapes resolved, no terminator).
  std::string text;
  // The raw bytes for `hex:` / `hex(N):` data, the 4 little-endian bytes
  // for `dword:` data.
  std::string bytes;
};

class WineRegistry {
 public:
  // Reads the text of a registry file. Keys and value names are matched
  // later without regard to letter case.
  static WineRegistry Parse(const std::string& text);

  // True when the file says the prefix is a 64-bit one (`#arch=win64`).
  bool is_win64() const { return win64_; }

  // The value `name` of key `key` ("Software\Microsoft\..." with single
  // backslashes, relative to the file's root); an empty name is the key's
  // default value (`@`). Null when the key or value is missing.
  const RegistryValue* Find(const std::string& key, const std::string& name) const;

  // Find as a 32-bit program sees the registry: on a 64-bit prefix a key
  // under "Software" is looked up under "Software\Wow6432Node" first, and
  // under "Software" itself when it is not there.
  const RegistryValue* FindAs32Bit(const std::string& key, const std::string& name) const;

  // True when the key is present (even without values).
  bool HasKey(const std::string& key) const;

 private:
  bool win64_ = false;
  // Lower-case key path -> lower-case value name -> value.
  std::map<std::string, std::map<std::string, RegistryValue>> keys_;
};

// The value as a string when it is of a string type (quoted, or hex data of
// type REG_SZ / REG_EXPAND_SZ in UTF-16LE); false otherwise.
bool RegistryValueText(const RegistryValue& value, std::string* text);

// The number of a REG_DWORD value; false when the value is not one.
bool RegistryValueDword(const RegistryValue& value, uint32_t* number);

// The strings of a REG_MULTI_SZ value (the empty string that ends the list
// is not one of them); false when the value is not one.
bool RegistryValueStrings(const RegistryValue& value, std::vector<std::string>* strings);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_WINE_REGISTRY_H_
