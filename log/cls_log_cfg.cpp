#include "log/cls_log_cfg.h"

#include <initializer_list>

#include "log/cls_log.h"
#include "log/log_kinds.h"
#include "log/mdl_path_sup.h"
#include "platform/text.h"

namespace brantvell {

namespace {

constexpr int32_t kNotSet = -1;

bool IsOneOf(const std::string& word, std::initializer_list<const char*> words) {
  for (const char* w : words)
    if (word == w) return true;
  return false;
}

// The state a whole (upper-cased) value stands for. A lone word sets a
// state; in a comma list each item adds a bit, and a switch-on word adds the
// file bit only as the first item and the message-box bit after that.
int32_t ParseStateWords(const std::string& raw) {
  if (raw.empty()) return kNotSet;
  if (raw.find(',') == std::string::npos) {
    if (raw == "MSGBOX") return kStateBoth;
    if (IsOneOf(raw, {"TRUE", "FILE", "1", "ENABLE", "ON"})) return kStateFile;
    if (IsOneOf(raw, {"FALSE", "NONE", "DISABLE", "OFF"})) return kStateOff;
    return kNotSet;
  }
  int32_t state = 0;
  size_t begin = 0;
  for (int index = 0;; ++index) {
    size_t comma = raw.find(',', begin);
    std::string item =
        raw.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
    if (item == "MSGBOX")
      state |= kStateMessageBox;
    else if (item == "FILE")
      state |= kStateFile;
    else if (IsOneOf(item, {"TRUE", "1", "ENABLE", "ON"}))
      state |= index == 0 ? kStateFile : kStateMessageBox;
    if (comma == std::string::npos) break;
    begin = comma + 1;
  }
  // A list that adds nothing says nothing, not "off".
  return state == 0 ? kNotSet : state;
}

// The marker file that switches a kind on for the unnamed component; null
// for the kinds that are on without one.
const char* MarkerFileName(int32_t kind) {
  switch (kind) {
    case kDebugLog:
      return "debugon";
    case kPerfI:
    case kPerfII:
    case kPerfIII:
      return "performanceon";
    case kPerfSql:
      return "performanceSQLon";
    default:
      return nullptr;
  }
}

}  // namespace

clsLogCfg::clsLogCfg(ProfileReader* profile, FileSystem* files)
    : profile_(profile), files_(files) {}

int32_t clsLogCfg::GetSetting(int32_t eRecType, int32_t eDefaultValue,
                              const std::string& strComponentName) {
  try {
    int32_t state = GetIniSetting(eRecType, strComponentName);
    if (state != kNotSet) return state;
    // Marker files switch only the unnamed component; a named one keeps
    // what it already has.
    if (strComponentName.empty()) return GetFileSwitch(eRecType);
    return eDefaultValue;
  } catch (...) {
    return kStateFile;
  }
}

int32_t clsLogCfg::GetIniSetting(int32_t eRecType, const std::string& strComponentName) {
  try {
    if (ini_file_.empty()) return kNotSet;
    std::string section = strComponentName.empty() ? "Default" : strComponentName;
    std::string raw = ReadRaw(section, GetKeyName(std::to_string(eRecType)));
    // The section's "default" key stands in only for a missing value, not
    // for a value that holds no known word.
    if (raw.empty()) raw = ReadRaw(section, "default");
    int32_t state = ParseStateWords(raw);
    if (!strComponentName.empty() && state == kNotSet) return GetIniSetting(eRecType, "");
    return state;
  } catch (...) {
    return kNotSet;
  }
}

std::string clsLogCfg::GetKeyName(const std::string& kind_text) {
  try {
    for (int32_t kind = 0; kind < kKindCount; ++kind)
      if (kind_text == std::to_string(kind)) return KindIniKey(kind);
  } catch (...) {
  }
  return "default";
}

namespace {

// The drive ("Q:\") or share ("\\server\share\") a Windows path lies on;
// "" for a path relative to the current folder.
std::string PathRoot(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2) + "\\";
  if (path.compare(0, 2, "\\\\") != 0) return "";
  size_t server_end = path.find('\\', 2);
  if (server_end == std::string::npos) return path + "\\";
  size_t share_end = path.find('\\', server_end + 1);
  return share_end == std::string::npos ? path + "\\" : path.substr(0, share_end + 1);
}

}  // namespace

int32_t clsLogCfg::GetFileSwitch(int32_t eRecType) {
  const char* marker = MarkerFileName(eRecType);
  if (marker == nullptr) return kStateFile;
  // Errors of the look-up pass to GetSetting, which answers "file" then.
  const std::string path = GetParentFolder(ini_file_) + marker;
  if (files_->FileExists(path)) return kStateFile;
  // On a drive or share that is not there the marker cannot be looked for:
  // a failed look-up, which also answers "file".
  const std::string root = PathRoot(path);
  if (!root.empty() && !files_->IsFolder(root)) return kStateFile;
  return kStateOff;
}

std::string clsLogCfg::ReadRaw(const std::string& section, const std::string& key) {
  return ToUpper(profile_->Read(ini_file_, section, key));
}

}  // namespace brantvell
