#include "log/cls_log_share.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "log/civil_date.h"
#include "log/mdl_timer.h"
#include "log/value_text.h"
#include "platform/error.h"
#include "platform/text.h"

namespace brantvell {

namespace {

// A component's timer table grows by this many slots at a time.
constexpr int32_t kPerfGrowth = 256;

// A debug record element longer than this is shortened before its tag, and
// the whole debug text is cut to kDebugTextLimit characters.
constexpr size_t kDebugItemLimit = 128;
constexpr size_t kDebugTextLimit = 2048;

// Texts of this many characters that look like hexadecimal numbers (keys,
// hashes, account data) are masked in debug records.
constexpr size_t kHexMaskShortest = 37;
constexpr size_t kHexMaskLongest = 50;

bool IsPerfKind(int32_t kind) { return kind >= kPerfI && kind <= kPerfSql; }
bool IsKind(int32_t kind) { return kind >= 0 && kind < kKindCount; }

// The whole-number value of `value` as a 32-bit number, the way the
// platform converts a value to a Long (reals to the nearest, halves to
// even); false when it has none.
bool ToLong(const Value& value, int64_t* out) {
  double number = 0;
  switch (value.type()) {
    case Value::kInteger:
    case Value::kLong:
    case Value::kByte:
    case Value::kBoolean:
      *out = value.integer();
      return true;
    case Value::kCurrency:
      number = static_cast<double>(value.integer()) / 10000;
      break;
    case Value::kSingle:
    case Value::kDouble:
      number = value.real();
      break;
    case Value::kString: {
      const char* begin = value.text().c_str();
      char* end = nullptr;
      number = std::strtod(begin, &end);
      if (end == begin || *end != '\0') return false;
      break;
    }
    case Value::kVariant:
      return ToLong(value.inner(), out);
    default:
      return false;
  }
  number = std::nearbyint(number);
  if (!(number >= -2147483648.0 && number <= 2147483647.0)) return false;
  *out = static_cast<int64_t>(number);
  return true;
}

bool IsHexMaskChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == 'H' ||
         c == 'h' || c == '&';
}

}  // namespace

clsLogShare::clsLogShare(LogServices services)
    : services_(services), config_(services.profile, services.files) {
  try {
    ResetComponents();
  } catch (...) {
  }
  try {
    TimerInit();
    start_counter_ = TimerNow();
  } catch (...) {
  }
}

// ---- Simple properties -----------------------------------------------------

std::string clsLogShare::Name() { return "clsLogShare"; }

void clsLogShare::SetFileNameMode(int32_t eMode) { file_name_mode_ = eMode; }
int32_t clsLogShare::FileNameMode() { return file_name_mode_; }

void clsLogShare::SetDirectory(const std::string& strDirectory) {
  if (strDirectory.empty())
    directory_ = ".\\";
  else if (strDirectory.back() == '\\')
    directory_ = strDirectory;
  else
    directory_ = strDirectory + "\\";
}
std::string clsLogShare::Directory() { return directory_; }

void clsLogShare::SetFileNamePrefix(const std::string& strFileNamePrefix) {
  file_name_prefix_ = strFileNamePrefix;
}
std::string clsLogShare::FileNamePrefix() { return file_name_prefix_; }

void clsLogShare::SetFileNameExtension(const std::string& strFileNameExt) {
  file_name_extension_ = strFileNameExt;
}
std::string clsLogShare::FileNameExtension() { return file_name_extension_; }

// ---- File names ------------------------------------------------------------

std::string clsLogShare::GetLogFileName(int32_t eType) {
  try {
    bool with_date = (file_name_mode_ & 1) != 0;
    bool with_kind = (file_name_mode_ & 2) != 0;
    std::string path = directory_;
    if (with_kind) {
      path += KindName(eType);
      if (!file_name_prefix_.empty() || with_date) path += "_";
    }
    if (!file_name_prefix_.empty()) {
      path += file_name_prefix_;
      if (with_date) path += "_";
    }
    // The date is taken for every record, so after midnight records go to
    // the next day's file.
    if (with_date) {
      LocalDateTime now = services_.clock->Now();
      char date[16];
      std::snprintf(date, sizeof date, "%02d%02d%02d", now.year % 100, now.month, now.day);
      path += date;
    }
    if (!file_name_extension_.empty()) path += "." + file_name_extension_;
    return path;
  } catch (...) {
    return "";
  }
}

// ---- Component table -------------------------------------------------------

bool clsLogShare::IsComponentId(int32_t id) const {
  return id >= 0 && static_cast<size_t>(id) < components_.size();
}

bool clsLogShare::LoadComponentSettings(ComponentEntry* entry) {
  try {
    for (int32_t kind = 0; kind < kKindCount; ++kind)
      entry->States[kind] = config_.GetSetting(kind, entry->States[kind], entry->Name);
    // Reloading drops the component's open timers.
    entry->PerfSlots.assign(kPerfGrowth + 1, PerfSlot());
    entry->PerfCapacity = kPerfGrowth;
    entry->PerfCount = 0;
    return true;
  } catch (...) {
    return false;
  }
}

void clsLogShare::ResetComponents() {
  try {
    components_.assign(1, ComponentEntry());
    LoadComponentSettings(&components_[0]);
  } catch (...) {
  }
}

void clsLogShare::SetComponentState(ComponentEntry* entry, int32_t eRecType, int32_t eState) {
  if (eRecType == -1)
    entry->States.fill(eState);
  else if (IsKind(eRecType))
    entry->States[eRecType] = eState;
}

bool clsLogShare::Init(const std::string& strINIFile) {
  try {
    config_.SetINIFile(strINIFile);
    bool result = true;
    for (ComponentEntry& entry : components_) result = LoadComponentSettings(&entry) && result;
    return result;
  } catch (...) {
    return false;
  }
}

int32_t clsLogShare::GetComponentId(const std::string& strComponentName) {
  size_t former_size = components_.size();
  try {
    for (size_t i = 0; i < components_.size(); ++i)
      if (EqualsNoCase(components_[i].Name, strComponentName)) return static_cast<int32_t>(i);
    // A new component starts as a copy of the default one and then takes
    // what the configuration says for its name.
    ComponentEntry entry = components_[0];
    entry.Name = strComponentName;
    components_.push_back(std::move(entry));
    if (LoadComponentSettings(&components_.back())) return static_cast<int32_t>(former_size);
  } catch (...) {
  }
  if (components_.size() > former_size) components_.resize(former_size);
  return -1;
}

void clsLogShare::SetEnable(int32_t eRecType, const std::string& strComponentName, int32_t eState) {
  try {
    if (strComponentName.empty()) {
      for (ComponentEntry& entry : components_) SetComponentState(&entry, eRecType, eState);
      return;
    }
    int32_t id = GetComponentId(strComponentName);
    if (id < 0) return;
    SetComponentState(&components_[id], eRecType, eState);
  } catch (...) {
  }
}

int32_t clsLogShare::Enable(int32_t eRecType, const std::string& strComponentName) {
  if (eRecType == -1) throw Error(kErrLogAllKinds, kOwnErrorSource, "");
  int32_t id = GetComponentId(strComponentName);
  if (id < 0) throw Error(kErrLogNoComponent, kOwnErrorSource, "");
  if (!IsKind(eRecType))
    throw Error(kErrSubscriptOutOfRange, kOwnErrorSource, "Subscript out of range");
  return components_[id].States[eRecType];
}

// ---- Records ---------------------------------------------------------------

std::string clsLogShare::NowText() {
  LocalDateTime now = services_.clock->Now();
  LocaleSeparators sep = services_.clock->Separators();
  char text[64];
  std::snprintf(text, sizeof text, "%04d%s%02d%s%02d %02d%s%02d%s%02d", now.year, sep.date.c_str(),
                now.month, sep.date.c_str(), now.day, now.hour, sep.time.c_str(), now.minute,
                sep.time.c_str(), now.second);
  return text;
}

std::string clsLogShare::RecordLine(int32_t eRecType, const std::string& strText) {
  std::string line = KindPrefix(eRecType) + NowText();
  if (IsPerfKind(eRecType)) {
    double elapsed = TimerElapsed(start_counter_, TimerNow());
    line += " \"Timestamp=" + FormatTime(elapsed, services_.clock->Separators().decimal) + "\"  ";
  }
  line += '\t';
  line += strText;
  return line;
}

bool clsLogShare::AppendLine(const std::string& path, const std::string& line) {
  // Continuation lines of a multi-line text start with two TABs, so every
  // physical line that does not start a record is easy to tell apart.
  std::string text;
  text.reserve(line.size() + 8);
  for (char c : line) {
    text += c;
    if (c == '\n') text += "\t\t";
  }
  text += "\r\n";
  try {
    return services_.files->AppendText(path, text);
  } catch (...) {
    return false;
  }
}

bool clsLogShare::SetEvent(const std::string& strText, int32_t eRecType, int32_t lngComponentID) {
  if (!IsComponentId(lngComponentID) || eRecType == -1 || !IsKind(eRecType)) return false;
  int32_t state = components_[lngComponentID].States[eRecType];
  if (state == kStateOff) return true;
  try {
    bool result = false;
    std::string line = RecordLine(eRecType, strText);
    if (state & kStateFile) {
      std::string path = GetLogFileName(eRecType);
      if (!path.empty()) result = AppendLine(path, line);
    }
    // With the kind in the file name, the debug file also gets a copy of
    // every other kind's records so it tells the whole story.
    if (eRecType != kDebugLog && (file_name_mode_ & 2) &&
        (components_[lngComponentID].States[kDebugLog] & kStateFile)) {
      std::string path = GetLogFileName(kDebugLog);
      if (!path.empty()) result = AppendLine(path, line);
    }
    if (state & kStateMessageBox) {
      bool ok = services_.message_box->AskOkCancel(line, "clsLogShare");
      // Cancel means "no more boxes of this kind": file output only.
      if (!ok) {
        std::string name = components_[lngComponentID].Name;
        SetEnable(eRecType, name, kStateFile);
      }
    }
    return result;
  } catch (...) {
    return false;
  }
}

std::string clsLogShare::MaskHexText(const std::string& text, size_t shortest, size_t longest) {
  size_t length = CharCount(text);
  if (length < shortest || length > longest) return text;
  for (char c : text)
    if (!IsHexMaskChar(c)) return text;
  return std::string(length, '*');
}

std::string clsLogShare::ObjectName(const Value& element) {
  const auto& object = element.object();
  LocaleSeparators sep = services_.clock->Separators();
  std::string name;
  if (object) {
    // Late-bound reads: any object may lack any of these members.
    auto read_text = [&](const char* member, std::string* out) {
      try {
        Value value;
        if (!object->GetProperty(member, &value)) return false;
        *out = ValueText(value, sep);
        return true;
      } catch (...) {
        return false;
      }
    };
    bool named = read_text("ClassName", &name);
    if (!named) {
      name.clear();
      named = read_text("Name", &name);
      if (!named) name.clear();
    }
    if (named) {
      try {
        Value id_value;
        int64_t id = -1;
        if (object->GetProperty("InstanceID", &id_value) && ToLong(id_value, &id) && id >= 0)
          name += ":" + std::to_string(id);
      } catch (...) {
      }
    }
  }
  if (name.empty()) {
    try {
      name = object ? object->TypeName() : "Nothing";
    } catch (...) {
    }
  }
  if (name.empty()) name = "???";
  return name;
}

std::string clsLogShare::DebugItem(const Value& element) {
  // A value whose text cannot be made contributes nothing.
  try {
    LocaleSeparators sep = services_.clock->Separators();
    auto text = [&]() { return ValueText(element, sep); };
    switch (element.type()) {
      case Value::kEmpty:
        return "empty, ";
      case Value::kNull:
        return "null, ";
      case Value::kInteger:
        return text() + "(int), ";
      case Value::kLong:
        return text() + "(long), ";
      case Value::kSingle:
        return text() + "(single), ";
      case Value::kDouble:
        return text() + "(double), ";
      case Value::kCurrency:
        return text() + "(curr), ";
      case Value::kDate:
        return text() + "(date), ";
      case Value::kString:
        return MaskHexText(element.text(), kHexMaskShortest, kHexMaskLongest) + ", ";
      case Value::kObject:
        return ObjectName(element) + "(obj), ";
      case Value::kError:
        if (element.is_missing()) return "(missing), ";
        return text() + "(err), ";
      case Value::kBoolean:
        return text() + "(bln), ";
      case Value::kVariant:
        return MaskHexText(text(), kHexMaskShortest, kHexMaskLongest) + "(var), ";
      case Value::kDataObject: {
        std::string name;
        try {
          Value value;
          if (element.object() && element.object()->GetProperty("Name", &value))
            name = ValueText(value, sep);
        } catch (...) {
          name.clear();
        }
        return name + "(dtobj), ";
      }
      case Value::kDecimal:
        return text() + "(dec), ";
      case Value::kByte:
        return text() + "(byte), ";
      case Value::kUserType:
        return "(usertype), ";
      default:
        return element.type() >= Value::kArray ? "(array), " : "(unknow), ";
    }
  } catch (...) {
    return "";
  }
}

bool clsLogShare::SetDebug(const std::string& strText, const Value& vParams,
                           int32_t lngComponentID) {
  std::string out = strText;
  try {
    const Value& list = vParams.type() == Value::kVariant ? vParams.inner() : vParams;
    if (list.type() >= Value::kArray) {
      for (const Value& element : list.items()) {
        std::string item = DebugItem(element);
        // A long element keeps its first characters and its type tag.
        size_t paren = item.rfind('(');
        if (paren != std::string::npos && CharCount(item) > kDebugItemLimit &&
            CharCount(item.substr(0, paren)) >= kDebugItemLimit) {
          out += CharSubstr(item, 0, kDebugItemLimit) + "..." + item.substr(paren);
        } else {
          out += item;
        }
      }
    }
  } catch (...) {
  }
  while (out.size() >= 2 && out.compare(out.size() - 2, 2, ", ") == 0) out.resize(out.size() - 2);
  if (CharCount(out) > kDebugTextLimit) out = CharSubstr(out, 0, kDebugTextLimit);
  return SetEvent(out, kDebugLog, lngComponentID);
}

// ---- Old log clean-up ------------------------------------------------------

// Only names this writer itself makes in a dated mode are candidates: an
// optional kind part with "_", the prefix with "_" when there is one, six
// digits and the extension. A broader rule ("anything with six digits after
// the last underscore") would delete other programs' files sharing the
// folder, such as the temporary folder the program logs to.
bool clsLogShare::IsOwnDatedLogName(const std::string& name, std::string* date_field) {
  std::string lower = ToLower(name);
  std::string prefix = file_name_prefix_.empty() ? "" : ToLower(file_name_prefix_) + "_";
  std::string extension = file_name_extension_.empty() ? "" : "." + ToLower(file_name_extension_);
  std::vector<std::string> heads = {prefix};
  for (int32_t kind = 0; kind < kKindCount; ++kind)
    heads.push_back(ToLower(KindName(kind)) + "_" + prefix);
  for (const std::string& head : heads) {
    if (lower.size() != head.size() + 6 + extension.size()) continue;
    if (lower.compare(0, head.size(), head) != 0) continue;
    if (lower.compare(head.size() + 6, std::string::npos, extension) != 0) continue;
    std::string field = lower.substr(head.size(), 6);
    if (field.find_first_not_of("0123456789") != std::string::npos) continue;
    *date_field = field;
    return true;
  }
  return false;
}

namespace {

// The date field as dated names are read in general: it starts after the
// last "_" (at the name's start without one) and is at most as many
// characters long as the position of the last "." counted from 1 (the whole
// rest without a dot); only its first six characters count. False unless
// there are exactly six.
bool CutDateField(const std::string& name, std::string* field) {
  size_t underscore = name.rfind('_');
  size_t dot = name.rfind('.');
  size_t start = underscore == std::string::npos ? 0 : CharCount(name.substr(0, underscore)) + 1;
  size_t length = dot == std::string::npos ? std::string::npos : CharCount(name.substr(0, dot)) + 1;
  *field = CharSubstr(CharSubstr(name, start, length), 0, 6);
  return CharCount(*field) == 6;
}

// The day of a "yymmdd" field of this century, with carry for out-of-range
// months and days. False when the field is not six digits.
bool FieldDay(const std::string& field, int64_t* day) {
  if (field.size() != 6 || field.find_first_not_of("0123456789") != std::string::npos) return false;
  *day = DaysFromDateParts(2000 + std::stoi(field.substr(0, 2)), std::stoi(field.substr(2, 2)),
                           std::stoi(field.substr(4, 2)));
  return true;
}

}  // namespace

bool clsLogShare::DeleteOldLogs(int32_t lngDays, int32_t /*eType*/) {
  try {
    const std::string folder = directory_;
    std::vector<std::string> names;
    if (!services_.files->ListFolder(folder, &names)) return true;
    LocalDateTime now = services_.clock->Now();
    int64_t limit = DaysFromCivil(now.year, now.month, now.day) - static_cast<int64_t>(lngDays);
    for (const std::string& name : names) {
      try {
        if (name == "." || name == "..") continue;
        if (services_.files->IsFolder(folder + name)) continue;
        // Two readings must both find an old date: the general date cut, and
        // the names this writer makes. The second alone would also take
        // names the cut keeps, such as "x.y_261101" with the prefix "x.y".
        std::string own_field, cut_field;
        int64_t own_day = 0, cut_day = 0;
        if (!IsOwnDatedLogName(name, &own_field) || !CutDateField(name, &cut_field)) continue;
        if (!FieldDay(own_field, &own_day) || !FieldDay(cut_field, &cut_day)) continue;
        if (limit > own_day && limit > cut_day) services_.files->DeleteFile(folder + name);
      } catch (...) {
      }
    }
  } catch (...) {
  }
  return true;
}

// ---- Performance timers ----------------------------------------------------

bool clsLogShare::IsPerfOpen(const std::string& strPerfID, int32_t lngComponentID) {
  try {
    if (!IsComponentId(lngComponentID) || strPerfID.empty()) return false;
    const ComponentEntry& component = components_[lngComponentID];
    for (int32_t i = component.PerfCount - 1; i >= 0; --i)
      if (component.PerfSlots.at(i).PerfID == strPerfID) return true;
  } catch (...) {
  }
  return false;
}

bool clsLogShare::StartPerf(const std::string& strPerfID, const std::string& strDescription,
                            int32_t eRecType, int32_t lngComponentID) {
  try {
    if (!IsComponentId(lngComponentID) || strPerfID.empty() || !IsKind(eRecType)) return false;
    ComponentEntry* component = &components_[lngComponentID];
    if (component->States[eRecType] == kStateOff) return false;
    if (component->PerfCapacity <= component->PerfCount) {
      component->PerfCapacity += kPerfGrowth;
      component->PerfSlots.resize(component->PerfCapacity + 1);
    }
    int32_t index = component->PerfCount++;
    SetEvent("Performance started, id=\"" + strPerfID + "\"", eRecType, lngComponentID);
    PerfSlot& slot = components_[lngComponentID].PerfSlots.at(index);
    slot.RecType = eRecType;
    slot.ComponentID = lngComponentID;
    slot.Description = strDescription;
    slot.PerfID = strPerfID;
    // Read last, so writing the start record is not part of the time.
    slot.StartCount = TimerNow();
    return true;
  } catch (...) {
    return false;
  }
}

bool clsLogShare::StopPerf(const std::string& strPerfID, int32_t lngComponentID) {
  try {
    if (!IsComponentId(lngComponentID)) return false;
    auto finish = [&](int32_t i) {
      PerfSlot slot = components_[lngComponentID].PerfSlots.at(i);
      SetEvent(FinishText(slot), slot.RecType, lngComponentID);
      FreePerfSlot(&components_[lngComponentID], i);
    };
    const int32_t last = components_[lngComponentID].PerfCount - 1;
    if (!strPerfID.empty()) {
      // Newest first: of two timers with one id the later one stops.
      for (int32_t i = last; i >= 0; --i) {
        if (components_[lngComponentID].PerfSlots.at(i).PerfID == strPerfID) {
          finish(i);
          return true;
        }
      }
      return false;
    }
    bool any = false;
    for (int32_t i = last; i >= 0; --i) {
      if (components_[lngComponentID].PerfSlots.at(i).ComponentID != -1) {
        finish(i);
        any = true;
      }
    }
    return any;
  } catch (...) {
    return false;
  }
}

std::string clsLogShare::FinishText(const PerfSlot& slot) {
  int64_t now = TimerNow();
  return "Performance finished, id=\"" + slot.PerfID + "\"\r\n" + slot.Description + "\r\n" +
         std::string(32, '=') + "\r\nRunning time=" +
         FormatDuration(TimerElapsed(slot.StartCount, now), services_.clock->Separators().decimal) +
         "\r\n";
}

void clsLogShare::FreePerfSlot(ComponentEntry* component, int32_t i) {
  try {
    PerfSlot& slot = component->PerfSlots.at(i);
    slot.PerfID.clear();
    slot.ComponentID = -1;
    slot.Description.clear();
    // Freed slots inside the range stay there, marked; the range shrinks
    // only from its top.
    if (i == component->PerfCount - 1) {
      int32_t top = i - 1;
      while (top >= 0 && component->PerfSlots.at(top).ComponentID == -1) --top;
      component->PerfCount = top + 1;
    }
  } catch (...) {
  }
}

}  // namespace brantvell
