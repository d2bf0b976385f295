// A log writer that keeps the debug records it is given, installed through
// the trace facade so tests see exactly what the facade hands a writer.
#ifndef BRANTVELL_TESTS_SETUP_CAPTURE_LOG_H_
#define BRANTVELL_TESTS_SETUP_CAPTURE_LOG_H_

#include <memory>
#include <string>
#include <vector>

#include "log/cls_log.h"

namespace brantvell {

class CaptureLog : public clsLog {
 public:
  // Debug records: the text followed by the values' texts, joined by "|".
  std::vector<std::string> debug;

  // Debug records whose text starts with "Brantvell" + `tag`.
  std::vector<std::string> WithTag(const std::string& tag) const;

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
  bool SetEvent(const std::string&, int32_t, int32_t) override { return true; }
  bool SetDebug(const std::string& strText, const Value& vParams, int32_t) override;
  bool DeleteOldLogs(int32_t, int32_t) override { return true; }
  bool IsPerfOpen(const std::string&, int32_t) override { return false; }
  bool StartPerf(const std::string&, const std::string&, int32_t, int32_t) override { return true; }
  bool StopPerf(const std::string&, int32_t) override { return true; }
  bool Init(const std::string&) override { return true; }
  int32_t GetComponentId(const std::string&) override { return 1; }
};

// Installs a fresh CaptureLog under the component name "Brantvell" for the
// lifetime of this object, and uninstalls it afterwards.
class ScopedCaptureLog {
 public:
  ScopedCaptureLog();
  ~ScopedCaptureLog();
  CaptureLog& operator*() { return *log_; }
  CaptureLog* operator->() { return log_.get(); }

 private:
  std::shared_ptr<CaptureLog> log_;
};

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SETUP_CAPTURE_LOG_H_
