// A log writer that keeps every record it is given, as one line of text
// each, so tests can compare the records a run writes and their order.
#ifndef BRANTVELL_TESTS_UI_CAPTURING_LOG_H_
#define BRANTVELL_TESTS_UI_CAPTURING_LOG_H_

#include <memory>
#include <string>
#include <vector>

#include "log/cls_log.h"
#include "log/mdl_log.h"
#include "log/value.h"

namespace brantvell {

// Events: "E<kind> <text>". Debug records: "D <text>" followed by one
// " |S:text" or " |L:number" (other kinds " |?<type>") per value.
class CapturingLog : public clsLog {
 public:
  std::vector<std::string> records;

  std::string Name() override { return "CapturingLog"; }
  void SetFileNameMode(int32_t) override {}
  int32_t FileNameMode() override { return 0; }
  std::string GetLogFileName(int32_t) override { return std::string(); }
  void SetEnable(int32_t, const std::string&, int32_t) override {}
  int32_t Enable(int32_t, const std::string&) override { return kStateFile; }
  void SetDirectory(const std::string&) override {}
  std::string Directory() override { return std::string(); }
  void SetFileNamePrefix(const std::string&) override {}
  std::string FileNamePrefix() override { return std::string(); }
  void SetFileNameExtension(const std::string&) override {}
  std::string FileNameExtension() override { return std::string(); }
  bool SetEvent(const std::string& strText, int32_t eRecType, int32_t) override {
    records.push_back("E" + std::to_string(eRecType) + " " + strText);
    return true;
  }
  bool SetDebug(const std::string& strText, const Value& vParams, int32_t) override {
    std::string record = "D " + strText;
    AppendValues(vParams, &record);
    records.push_back(record);
    return true;
  }
  bool DeleteOldLogs(int32_t, int32_t) override { return true; }
  bool IsPerfOpen(const std::string&, int32_t) override { return false; }
  bool StartPerf(const std::string&, const std::string&, int32_t, int32_t) override { return true; }
  bool StopPerf(const std::string&, int32_t) override { return true; }
  bool Init(const std::string&) override { return true; }
  int32_t GetComponentId(const std::string&) override { return 1; }

 private:
  static void AppendValues(const Value& value, std::string* out) {
    if (value.type() == Value::kVariant) return AppendValues(value.inner(), out);
    if (value.type() & Value::kArray) {
      for (const Value& item : value.items()) AppendValues(item, out);
      return;
    }
    switch (value.type()) {
      case Value::kString:
        *out += " |S:" + value.text();
        break;
      case Value::kLong:
        *out += " |L:" + std::to_string(value.integer());
        break;
      default:
        *out += " |?" + std::to_string(value.type());
        break;
    }
  }
};

// Installs a fresh capturing writer under the component name "Brantvell"
// for one test and forgets the version line; uninstalls it afterwards.
class InstalledCapturingLog {
 public:
  InstalledCapturingLog() : log_(std::make_shared<CapturingLog>()) {
    LogInit(log_, "Brantvell");
    log_->records.clear();
  }
  ~InstalledCapturingLog() { LogInit(nullptr, ""); }

  std::vector<std::string>& records() { return log_->records; }

 private:
  std::shared_ptr<CapturingLog> log_;
};

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_UI_CAPTURING_LOG_H_
