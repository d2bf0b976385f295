#include "log/mdl_log.h"

#include <exception>

#include "platform/error.h"
#include "platform/process.h"

namespace brantvell {

namespace {

// The facade's state; the program has one thread, so it is not locked.
std::shared_ptr<clsLog> g_objLog;
int32_t g_lngComponentID = 0;
std::string g_strComponentName;
Process* g_process = nullptr;

Process& VersionSource() { return g_process ? *g_process : Process::Real(); }

std::string VersionLine(const std::string& component_name) {
  VersionInfo version = VersionSource().Version();
  std::string line = component_name + " verze " + std::to_string(version.major) + "." +
                     std::to_string(version.minor) + "." + std::to_string(version.revision);
  if (!version.comments.empty()) line += " (" + version.comments + ")";
  return line;
}

struct CurrentError {
  int32_t number = 0;
  std::string source;
  std::string description;
};

// The exception being handled, seen as an error number, source and
// description; 0 and empty texts outside a handler.
CurrentError ReadCurrentError() {
  CurrentError error;
  std::exception_ptr current = std::current_exception();
  if (!current) return error;
  try {
    std::rethrow_exception(current);
  } catch (const Error& e) {
    error.number = e.number();
    error.source = e.source();
    error.description = e.description();
  } catch (const std::exception& e) {
    error.number = kErrAutomation;
    error.source = kOwnErrorSource;
    error.description = e.what();
  } catch (...) {
    error.number = kErrAutomation;
    error.source = kOwnErrorSource;
  }
  return error;
}

}  // namespace

bool LogInit(std::shared_ptr<clsLog> log, const std::string& component_name) {
  bool result = false;
  bool was_installed = g_objLog != nullptr;
  g_objLog.reset();
  g_lngComponentID = 0;
  g_strComponentName.clear();
  g_objLog = std::move(log);
  if (!g_objLog) return false;
  try {
    g_lngComponentID = g_objLog->GetComponentId(component_name);
  } catch (...) {
  }
  result = true;
  try {
    g_strComponentName = component_name;
  } catch (...) {
  }
  if (!was_installed) {
    try {
      g_objLog->SetEvent(VersionLine(component_name), kSysLog, g_lngComponentID);
    } catch (...) {
    }
  }
  return result;
}

bool LogReady() { return g_objLog != nullptr; }

bool LogEvent(const std::string& tag, const std::string& text, int32_t kind) {
  if (!LogReady()) return false;
  try {
    return g_objLog->SetEvent(g_strComponentName + tag + "\t" + text, kind, g_lngComponentID);
  } catch (...) {
    return false;
  }
}

bool LogMayWrite(int32_t kind) {
  try {
    return LogReady() && g_objLog->MayWrite(kind, g_lngComponentID);
  } catch (...) {
    return true;
  }
}

namespace {

// The one place a debug record is handed to the writer; the values are
// taken, not copied (one may be a whole command line).
bool Debug(const std::string& tag, std::vector<Value> values) {
  if (!LogReady()) return false;
  if (!LogMayWrite(kDebugLog)) return true;  // as the writer answers for a kind that is off
  try {
    return g_objLog->SetDebug(g_strComponentName + tag + "\t", Value::Array(std::move(values)),
                              g_lngComponentID);
  } catch (...) {
    return false;
  }
}

}  // namespace

bool LogDebug(const std::string& tag, const std::vector<Value>& values) {
  if (LogReady() && !LogMayWrite(kDebugLog)) return true;
  try {
    return Debug(tag, values);
  } catch (...) {
    return false;
  }
}

bool LogError(const std::string& tag, const std::string& text, const std::string& extra) {
  // Read first, before anything else can replace the exception in flight.
  CurrentError error;
  try {
    error = ReadCurrentError();
  } catch (...) {
  }
  if (!LogReady()) return false;
  try {
    std::string record = g_strComponentName + tag + "\t" + text + "\t" +
                         std::to_string(error.number) + "\t" + error.source + "\t" +
                         error.description;
    if (!extra.empty()) record += "\t" + extra;
    return g_objLog->SetEvent(record, kErrLog, g_lngComponentID);
  } catch (...) {
    return false;
  }
}

bool LogDebugText(const std::string& tag, std::string&& text) {
  try {
    std::vector<Value> values;
    values.push_back(Value::String(std::move(text)));
    return Debug(tag, std::move(values));
  } catch (...) {
    return false;
  }
}

bool LogDebugText(const std::string& tag, const std::string& text) {
  if (LogReady() && !LogMayWrite(kDebugLog)) return true;  // no copy of a text not written
  try {
    return LogDebugText(tag, std::string(text));
  } catch (...) {
    return false;
  }
}

void LogUseProcess(Process* process) { g_process = process; }

}  // namespace brantvell
