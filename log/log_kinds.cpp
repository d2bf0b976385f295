#include "log/log_kinds.h"

namespace brantvell {

namespace {

struct KindNames {
  const char* ini_key;
  const char* file_part;
  const char* prefix;
};

// Kinds 1 and 2 share one file, so do kinds 5 and 8.
constexpr KindNames kKinds[kKindCount] = {
    {"InfoLog", "USER", "InfoLog:  "},
    {"SysLog", "SYS", "SysLog:   "},
    {"ERRLOG", "SYS", "#ERRLOG#: "},
    {"DebugLog", "DEBUG", "DebugLog: "},
    {"Post", "", ""},
    {"Perf_I", "PERFORMANCE", "Perf_I:   "},
    {"Perf_II", "PERFORMANCE_II", "Perf_II:  "},
    {"Perf_III", "PERFORMANCES", "Perf_III: "},
    {"Perf_SQL", "PERFORMANCE", "Perf_SQL: "},
};

bool IsKind(int32_t kind) { return kind >= 0 && kind < kKindCount; }

}  // namespace

std::string KindIniKey(int32_t kind) { return IsKind(kind) ? kKinds[kind].ini_key : "default"; }

std::string KindName(int32_t kind) { return IsKind(kind) ? kKinds[kind].file_part : ""; }

std::string KindPrefix(int32_t kind) { return IsKind(kind) ? kKinds[kind].prefix : ""; }

}  // namespace brantvell
