// Any bytes as a prefix's registry file, registry paths looked up in it and
// Windows paths mapped onto a temporary prefix:
// - parsing never fails, a value found directly is found as a 32-bit
//   program sees it too, and its key exists;
// - "WScript.Shell" RegRead of any path gives a value or a clean Error;
// - ToHostPath of any path gives false or a path that stays inside the
//   drive's folder ('..' never climbs above a drive's root).
//
// Input: three parts separated by the byte 0x1E: the registry text, the
// registry paths (one a line, "key\name"), the Windows paths (one a line).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/error.h"
#include "platform/host_path.h"
#include "platform/script_host.h"
#include "platform/value.h"
#include "platform/wineprefix/wine_registry.h"

namespace brantvell {
namespace {

namespace fs = std::filesystem;

// The temporary prefix: drive C: is its drive_c, drive D: another folder.
struct TempPrefix {
  fs::path prefix;
  fs::path other;
  std::map<char, std::string> roots;  // drive letter -> host folder, links resolved

  TempPrefix() {
    prefix = MakeFolder("brantvell-fuzz-prefix-");
    other = MakeFolder("brantvell-fuzz-drive-d-");
    fs::create_directories(prefix / "drive_c" / "windows" / "system32");
    fs::create_directories(prefix / "drive_c" / "users" / "Public" / "Desktop");
    fs::create_directories(other / "Veldramona");
    std::ofstream(prefix / "drive_c" / "windows" / "win.ini") << "[windows]\n";
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    fs::create_directory_symlink(other, prefix / "dosdevices" / "d:");
    roots['c'] = fs::canonical(prefix / "drive_c").string();
    roots['d'] = fs::canonical(other).string();
    setenv("WINEPREFIX", prefix.c_str(), 1);
  }

  ~TempPrefix() {
    std::error_code ignored;
    fs::remove_all(prefix, ignored);
    fs::remove_all(other, ignored);
  }

  static fs::path MakeFolder(const std::string& stem) {
    std::string pattern = (fs::temp_directory_path() / (stem + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }
};

TempPrefix* g_prefix = nullptr;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

void CheckParsedLookups(const WineRegistry& registry, const std::string& key,
                        const std::string& name) {
  const RegistryValue* value = registry.Find(key, name);
  if (value != nullptr) {
    FUZZ_CHECK(registry.HasKey(key), "a key that holds a value exists");
    FUZZ_CHECK(registry.FindAs32Bit(key, name) != nullptr,
               "a value found directly is found by a 32-bit program too");
  }
  const RegistryValue* seen = registry.FindAs32Bit(key, name);
  if (seen == nullptr) return;
  std::string text;
  uint32_t number = 0;
  std::vector<std::string> strings;
  const bool is_text = RegistryValueText(*seen, &text);
  const bool is_dword = RegistryValueDword(*seen, &number);
  const bool is_list = RegistryValueStrings(*seen, &strings);
  FUZZ_CHECK(int(is_text) + int(is_dword) + int(is_list) <= 1, "a value has one kind");
  if (is_text) FUZZ_CHECK(text.find('\0') == std::string::npos, "a text ends at its NUL");
  for (const std::string& s : strings)
    FUZZ_CHECK(!s.empty() && s.find('\0') == std::string::npos, "list items are NUL-free");
}

void CheckRegRead(const WineRegistry& registry, const std::string& root, const std::string& key,
                  const std::string& name) {
  const std::string path = root + "\\" + key + "\\" + name;
  const bool found = registry.FindAs32Bit(key, name) != nullptr;
  try {
    auto shell = ScriptHost::Real().Create("WScript.Shell");
    Value value = shell->Get("RegRead", {Value::String(path)});
    FUZZ_CHECK(found, "RegRead answers only for a value the file holds");
    const bool plain = value.type() == Value::kString || value.type() == Value::kLong;
    bool list = value.type() >= Value::kArray;
    for (const Value& item : value.items()) list = list && item.type() == Value::kString;
    FUZZ_CHECK(plain || list, "RegRead gives a text, a number or a list of texts");
  } catch (const Error& e) {
    if (found)
      FUZZ_CHECK(e.number() == 13, "a value of no readable kind is a type mismatch");
    else
      FUZZ_CHECK(e.number() == static_cast<int32_t>(0x80070002u), "a missing value is not found");
  } catch (...) {
    FUZZ_CHECK(false, "RegRead raises nothing but Error");
  }
}

void CheckHostPath(const std::string& path) {
  std::string host;
  bool mapped = false;
  try {
    mapped = ToHostPath(path, &host);
  } catch (...) {
    FUZZ_CHECK(false, "ToHostPath never raises");
  }
  if (path.find('\0') != std::string::npos) {
    // The system would see only the part before the NUL.
    FUZZ_CHECK(!mapped, "a path with a NUL does not map");
    return;
  }
  const bool has_drive = path.size() >= 2 && path[1] == ':' &&
                         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (!has_drive) {
    if (!mapped) return;  // network paths
    std::string expected = path;
    for (char& c : expected)
      if (c == '\\') c = '/';
    FUZZ_CHECK(host == expected, "a path without a drive is a host path");
    return;
  }
  const char letter = static_cast<char>(path[0] | 0x20);
  auto root = g_prefix->roots.find(letter);
  if (root == g_prefix->roots.end()) {
    FUZZ_CHECK(!mapped, "a drive the prefix lacks does not map");
    return;
  }
  // A name Windows cannot hold (control characters, <>:"|?*) is found
  // nowhere on the prefix's drives.
  bool windows_names = true;
  for (size_t i = 2; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (c < 0x20 || std::strchr("<>:\"|?*", c) != nullptr) windows_names = false;
  }
  if (!windows_names) {
    FUZZ_CHECK(!mapped, "a name Windows cannot hold does not map");
    return;
  }
  FUZZ_CHECK(mapped, "a path on a drive of the prefix maps");
  const std::string& base = root->second;
  FUZZ_CHECK(host.compare(0, base.size(), base) == 0 &&
                 (host.size() == base.size() || host[base.size()] == '/'),
             "a drive path stays under the drive's folder");
  for (const std::string& component : Split(host.substr(base.size()), '/'))
    FUZZ_CHECK(component != "..", "a mapped path never climbs above the drive's folder");
}

}  // namespace
}  // namespace brantvell

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brantvell::g_prefix = new brantvell::TempPrefix();
  std::atexit([] { delete brantvell::g_prefix; });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brantvell;
  const std::vector<std::string> parts =
      Split(std::string(reinterpret_cast<const char*>(data), size), '\x1e');
  const std::string& registry_text = parts[0];

  WineRegistry registry;
  try {
    registry = WineRegistry::Parse(registry_text);
  } catch (...) {
    FUZZ_CHECK(false, "parsing never raises");
  }

  if (parts.size() > 1) {
    std::ofstream(g_prefix->prefix / "system.reg", std::ios::binary) << registry_text;
    for (const std::string& line : Split(parts[1], '\n')) {
      const size_t last = line.rfind('\\');
      const std::string key = last == std::string::npos ? "" : line.substr(0, last);
      const std::string name = last == std::string::npos ? line : line.substr(last + 1);
      CheckParsedLookups(registry, key, name);
      CheckRegRead(registry, "HKLM", key, name);
      // The whole line as a key, its default value, through the long root name.
      CheckRegRead(registry, "HKEY_LOCAL_MACHINE", line, "");
    }
  }
  if (parts.size() > 2) {
    for (const std::string& line : Split(parts[2], '\n')) CheckHostPath(line);
  }
  return 0;
}
