// A log writer that keeps every record it is given, for tests and fuzz
// targets that check the trace records the code under test writes. The
// records are kept as received; the views below give them in the forms the
// tests compare.
#ifndef BRANTVELL_TESTS_SUPPORT_CAPTURE_LOG_H_
#define BRANTVELL_TESTS_SUPPORT_CAPTURE_LOG_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "log/cls_log.h"
#include "log/mdl_log.h"
#include "platform/value.h"

namespace brantvell {

// The kind a debug record is kept with: events keep their own kind, and the
// facade writes events of kind kDebugLog too.
constexpr int32_t kCapturedDebug = -1;

// One record as the writer received it: an event with its kind, or a debug
// record (kCapturedDebug) with the values it lists.
struct ReceivedRecord {
  int32_t kind;
  std::string text;
  Value params;
};

// A record with the texts of its values (Value::text(): empty for values
// that are not texts), for comparing whole records.
struct CapturedRecord {
  int32_t kind;
  std::string text;
  std::vector<std::string> values;

  bool operator==(const CapturedRecord& other) const {
    return kind == other.kind && text == other.text && values == other.values;
  }
};

// A log writer whose file settings are empty and ignored: the base of the
// tests' writers, which override the records they keep.
class SettingsFreeLog : public clsLog {
 public:
  void SetFileNameMode(int32_t) override {}
  int32_t FileNameMode() override { return 0; }
  std::string GetLogFileName(int32_t) override { return ""; }
  void SetEnable(int32_t, const std::string&, int32_t) override {}
  void SetDirectory(const std::string&) override {}
  std::string Directory() override { return ""; }
  void SetFileNamePrefix(const std::string&) override {}
  std::string FileNamePrefix() override { return ""; }
  void SetFileNameExtension(const std::string&) override {}
  std::string FileNameExtension() override { return ""; }
  bool DeleteOldLogs(int32_t, int32_t) override { return true; }
  bool IsPerfOpen(const std::string&, int32_t) override { return false; }
  bool Init(const std::string&) override { return true; }
};

class CaptureLog : public SettingsFreeLog {
 public:
  std::vector<ReceivedRecord> received;

  // Every record with its values' texts.
  std::vector<CapturedRecord> Records() const {
    std::vector<CapturedRecord> records;
    for (const ReceivedRecord& r : received) {
      CapturedRecord record{r.kind, r.text, {}};
      for (const Value& item : r.params.items()) record.values.push_back(item.text());
      records.push_back(record);
    }
    return records;
  }

  // The debug records only: the text followed by the values, joined by "|";
  // a value that is not a text shows as "<type N>".
  std::vector<std::string> DebugLines() const {
    std::vector<std::string> lines;
    for (const ReceivedRecord& r : received) {
      if (r.kind != kCapturedDebug) continue;
      std::string line = r.text;
      const Value& array = r.params.type() == Value::kVariant ? r.params.inner() : r.params;
      bool first = true;
      for (const Value& item : array.items()) {
        if (!first) line += "|";
        line += JoinedText(item);
        first = false;
      }
      lines.push_back(line);
    }
    return lines;
  }

  // The debug lines whose text starts with "Brantvell" + `tag`.
  std::vector<std::string> DebugLinesWithTag(const std::string& tag) const {
    const std::string prefix = "Brantvell" + tag;
    std::vector<std::string> found;
    for (const std::string& line : DebugLines()) {
      if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
    return found;
  }

  // Every record as one line, so a run's records and their order compare
  // at once. Events: "E<kind> <text>". Debug records: "D <text>" followed
  // by one " |S:text" or " |L:number" (other kinds " |?<type>") per value.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const ReceivedRecord& r : received) {
      if (r.kind != kCapturedDebug) {
        lines.push_back("E" + std::to_string(r.kind) + " " + r.text);
        continue;
      }
      std::string line = "D " + r.text;
      AppendTypedValues(r.params, &line);
      lines.push_back(line);
    }
    return lines;
  }

  std::string Name() override { return "CaptureLog"; }
  int32_t Enable(int32_t, const std::string&) override { return kStateFile; }
  bool SetEvent(const std::string& strText, int32_t eRecType, int32_t) override {
    received.push_back({eRecType, strText, Value()});
    return true;
  }
  bool SetDebug(const std::string& strText, const Value& vParams, int32_t) override {
    received.push_back({kCapturedDebug, strText, vParams});
    return true;
  }
  bool StartPerf(const std::string&, const std::string&, int32_t, int32_t) override { return true; }
  bool StopPerf(const std::string&, int32_t) override { return true; }
  int32_t GetComponentId(const std::string&) override { return 1; }

 private:
  static std::string JoinedText(const Value& value) {
    switch (value.type()) {
      case Value::kString:
        return value.text();
      case Value::kVariant:
        return JoinedText(value.inner());
      default:
        return "<type " + std::to_string(value.type()) + ">";
    }
  }

  static void AppendTypedValues(const Value& value, std::string* out) {
    if (value.type() == Value::kVariant) return AppendTypedValues(value.inner(), out);
    if (value.type() & Value::kArray) {
      for (const Value& item : value.items()) AppendTypedValues(item, out);
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

// Installs a fresh CaptureLog in the trace facade under the component name
// "Brantvell" for the lifetime of this object, without the version line it
// writes on installation, and uninstalls it afterwards.
class ScopedCaptureLog {
 public:
  ScopedCaptureLog() : log_(std::make_shared<CaptureLog>()) {
    LogInit(log_, "Brantvell");
    log_->received.clear();
  }
  ~ScopedCaptureLog() { LogInit(nullptr, ""); }
  ScopedCaptureLog(const ScopedCaptureLog&) = delete;
  ScopedCaptureLog& operator=(const ScopedCaptureLog&) = delete;

  CaptureLog& operator*() { return *log_; }
  CaptureLog* operator->() { return log_.get(); }

 private:
  std::shared_ptr<CaptureLog> log_;
};

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_CAPTURE_LOG_H_
