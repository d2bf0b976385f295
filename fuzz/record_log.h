// A log writer for fuzz targets that keeps the records it is given, so the
// trace calls of the code under test run and can be looked at.
#ifndef BRANTVELL_FUZZ_RECORD_LOG_H_
#define BRANTVELL_FUZZ_RECORD_LOG_H_

#include <cstdint>
#include <string>
#include <vector>

#include "log/cls_log.h"
#include "log/value.h"

namespace brantvell {

struct RecordedEntry {
  int32_t kind;  // kDebugLog for SetDebug records
  std::string text;
  std::vector<Value> values;
};

class RecordLog : public clsLog {
 public:
  std::vector<RecordedEntry> records;

  std::string Name() override { return "RecordLog"; }
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
    records.push_back({kDebugLog, text, params.items()});
    return true;
  }
  bool DeleteOldLogs(int32_t, int32_t) override { return true; }
  bool IsPerfOpen(const std::string&, int32_t) override { return false; }
  bool StartPerf(const std::string&, const std::string&, int32_t, int32_t) override { return true; }
  bool StopPerf(const std::string&, int32_t) override { return true; }
  bool Init(const std::string&) override { return true; }
  int32_t GetComponentId(const std::string&) override { return 0; }
};

}  // namespace brantvell

#endif  // BRANTVELL_FUZZ_RECORD_LOG_H_
