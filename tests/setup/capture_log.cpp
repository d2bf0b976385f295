#include "setup/capture_log.h"

#include "log/mdl_log.h"

namespace brantvell {

namespace {

std::string ValueText(const Value& value) {
  switch (value.type()) {
    case Value::kString:
      return value.text();
    case Value::kVariant:
      return ValueText(value.inner());
    default:
      return "<type " + std::to_string(value.type()) + ">";
  }
}

}  // namespace

bool CaptureLog::SetDebug(const std::string& strText, const Value& vParams, int32_t) {
  std::string record = strText;
  const Value& array = vParams.type() == Value::kVariant ? vParams.inner() : vParams;
  bool first = true;
  for (const Value& item : array.items()) {
    if (!first) record += "|";
    record += ValueText(item);
    first = false;
  }
  debug.push_back(record);
  return true;
}

std::vector<std::string> CaptureLog::WithTag(const std::string& tag) const {
  std::string prefix = "Brantvell" + tag;
  std::vector<std::string> found;
  for (const std::string& record : debug) {
    if (record.compare(0, prefix.size(), prefix) == 0) found.push_back(record);
  }
  return found;
}

ScopedCaptureLog::ScopedCaptureLog() : log_(std::make_shared<CaptureLog>()) {
  LogInit(log_, "Brantvell");
}

ScopedCaptureLog::~ScopedCaptureLog() { LogInit(nullptr, ""); }

}  // namespace brantvell
