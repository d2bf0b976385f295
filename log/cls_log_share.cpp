#include "log/cls_log_share.h"

#include "log/display_text.h"
#include "log/mdl_timer.h"
#include "platform/error.h"
#include "platform/text.h"

namespace brantvell {

namespace {

// A component's timer table grows by this many slots at a time.
constexpr int32_t kPerfGrowth = 256;

bool IsPerfKind(int32_t kind) { return kind >= kPerfI && kind <= kPerfSql; }
bool IsKind(int32_t kind) { return kind >= 0 && kind < kKindCount; }

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
      AppendPadded(now.year % 100, 2, &path);
      AppendPadded(now.month, 2, &path);
      AppendPadded(now.day, 2, &path);
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
  if (eRecType == -1) throw OwnError(kErrLogAllKinds);
  int32_t id = GetComponentId(strComponentName);
  if (id < 0) throw OwnError(kErrLogNoComponent);
  if (!IsKind(eRecType)) throw OwnError(kErrSubscriptOutOfRange);
  return components_[id].States[eRecType];
}

// ---- Records ---------------------------------------------------------------

std::string clsLogShare::NowText() {
  LocalDateTime now = services_.clock->Now();
  LocaleSeparators sep = services_.clock->Separators();
  std::string text;
  text.reserve(24);
  AppendDateText(now.year, now.month, now.day, sep, &text);
  text += ' ';
  AppendTimeText(now.hour, now.minute, now.second, sep, &text);
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
  // physical line that does not start a record is easy to tell apart. A
  // carriage return alone ends a line too for many viewers, and other
  // control characters can steer a terminal: no text may forge a record.
  const std::string safe = ControlsReplaced(line);
  std::string text;
  text.reserve(safe.size() + 8);
  size_t start = 0;
  for (size_t at = 0; at < safe.size(); ++at) {
    const char c = safe[at];
    if (c != '\n' && c != '\r') continue;
    if (c == '\r' && at + 1 < safe.size() && safe[at + 1] == '\n') continue;
    text.append(safe, start, at + 1 - start);
    text += "\t\t";
    start = at + 1;
  }
  text.append(safe, start, std::string::npos);
  text += "\r\n";
  try {
    return services_.files->AppendText(path, text);
  } catch (...) {
    return false;
  }
}

bool clsLogShare::MayWrite(int32_t eRecType, int32_t lngComponentID) {
  return !IsComponentId(lngComponentID) || !IsKind(eRecType) ||
         components_[lngComponentID].States[eRecType] != kStateOff;
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
