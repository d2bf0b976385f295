// Reading the text files in which Wine keeps a prefix's registry
// (system.reg for HKEY_LOCAL_MACHINE, user.reg for HKEY_CURRENT_USER).
// Parsing works on the file's text, handed over whole or piece by piece, so
// it needs no file system and never fails: lines it does not understand are
// skipped. A line (or a value continued over lines) longer than
// kMaxRegistryLine is one it does not understand, so memory stays bounded
// whatever the file holds.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_WINE_REGISTRY_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_WINE_REGISTRY_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace brantvell {

// No value a program keeps in the registry comes near this; a booted
// prefix's longest line is a few kilobytes.
constexpr size_t kMaxRegistryLine = 1 << 20;

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
  friend class RegistryReader;
  bool win64_ = false;
  // Lower-case key path -> lower-case value name -> value.
  std::map<std::string, std::map<std::string, RegistryValue>> keys_;
};

// Reads a registry file piece by piece in one pass, keeping only the keys
// asked for: a file of many keys costs the time to pass over it and the
// memory of the kept keys.
class RegistryReader {
 public:
  // Keeps every key.
  RegistryReader();
  // Keeps only `keys` (matched without regard to case).
  explicit RegistryReader(const std::vector<std::string>& keys);

  // The next piece of the file; a line may span pieces.
  void Feed(std::string_view piece);
  // The registry read, once the file has been fed whole.
  WineRegistry Finish();

 private:
  // A key asked for: its lower-case path, as the file writes it in plain
  // ASCII ("" when it cannot be), which characters of that are the second
  // of an escape, and how much of it the key before (in order) shares.
  struct WantedKeyForm {
    std::string key;
    std::string raw;
    std::string second;  // 1 or 0 for each character
    size_t shared = 0;
  };
  static int MatchAt(std::string_view line, const WantedKeyForm& want, size_t k);
  bool DecodedKeyWanted(std::string_view line, std::string* key, bool* closes) const;
  void Keep(std::string_view part);
  void EndKept(std::string_view rest);
  bool PassedOverContinued(std::string_view line);
  void Line(std::string_view line);
  void Header(std::string_view line);
  void Value(std::string_view line);
  void Continue(std::string_view line);
  bool WantedKey(std::string_view line, std::string* key, bool* closes) const;

  bool keep_all_;
  std::vector<WantedKeyForm> wanted_;
  bool plain_ = true;  // every key asked for has a plain raw form
  WineRegistry registry_;
  std::map<std::string, RegistryValue>* current_ = nullptr;
  bool in_key_ = false;  // under a header read well, kept or not
  std::string partial_;  // a line not yet ended
  bool overlong_ = false;
  // A value continued over lines: its text so far and where its data
  // starts; `dropping_` when it is not kept (or too long) and only its end
  // is looked for by the last two characters of the joined line.
  bool continuing_ = false;
  bool dropping_ = false;
  std::string joined_;
  std::string name_;
  size_t data_pos_ = 0;
  char tail_[2] = {0, 0};
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
