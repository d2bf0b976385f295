// A log writer that keeps the records it is given, for checking the trace
// records procedures write.
#ifndef BRANTVELL_TESTS_APP_CAPTURE_LOG_H_
#define BRANTVELL_TESTS_APP_CAPTURE_LOG_H_

#include <memory>
#include <string>
#include <vector>

#include "log/cls_log.h"
#include "log/mdl_log.h"

namespace brantvell {

// One record as the writer received it. Debug records have kind -1 and list
// their text values after the record's text.
struct CapturedRecord {
  int32_t kind;
  std::string text;
  std::vector<std::string> values;

  bool operator==(const CapturedRecord& other) const {
    return kind == other.kind && text == other.text && values == other.values;
  }
};

constexpr int32_t kCapturedDebug = -1;

class CaptureLog : public clsLog {
 public:
  std::vector<CapturedRecord> records;

  std::string Name() override { return "CaptureLog"; }
  void SetFileNameMode(int32_t) override {}
  int32_t FileNameMode() override { return 0; }
  std::string GetLogFileName(int32_t) override { return ""; }
  void SetEnable(int32_t, const std::string&, int32_t) override {}
  int32_t Enable(int32_t, const std::string&) override { return kStateFile; }
  void SetDirectory(const std::string&) override {}
  std::string Directory() override { return ""; }
  void SetFileNamePrefix(const std::string&) override {}
  std::string FileNamePrefix() override { return ""; }
  void SetFileNameExtension(const std::string&) override {}
  std::string FileNameExtension() override { return ""; }
  bool SetEvent(const std::string& text, int32_t kind, int32_t) override {
    records.push_back({kind, text, {}});
    return true;
  }
  bool SetDebug(const std::string& text, const Value& params, int32_t) override {
    CapturedRecord record{kCapturedDebug, text, {}};
    for (const Value& item : params.items()) record.values.push_back(item.text());
    records.push_back(record);
    return true;
  }
  bool DeleteOldLogs(int32_t, int32_t) override { return true; }
  bool IsPerfOpen(const std::string&, int32_t) override { return false; }
  bool StartPerf(const std::string&, const std::string&, int32_t, int32_t) override { return true; }
  bool StopPerf(const std::string&, int32_t) override { return true; }
  bool Init(const std::string&) override { return true; }
  int32_t GetComponentId(const std::string&) override { return 1; }
};

// Installs a CaptureLog in the trace facade for the lifetime of the object,
// without the version line it writes on installation.
class ScopedCaptureLog {
 public:
  ScopedCaptureLog() : log_(std::make_shared<CaptureLog>()) {
    LogInit(log_, "Brantvell");
    log_->records.clear();
  }
  ~ScopedCaptureLog() { LogInit(nullptr, ""); }

  std::vector<CapturedRecord>& records() { return log_->records; }

 private:
  std::shared_ptr<CaptureLog> log_;
};

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_APP_CAPTURE_LOG_H_
