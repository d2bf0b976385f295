// Any list of values in a debug record: the record text is at most 2048
// characters after the fixed prefix, timestamp and TAB, it begins with the
// caller's text, and a text of 37 to 50 hexadecimal-looking characters
// (0-9, A-F, a-f, H, h, &) is written exactly as a text of as many '*'
// would be, so it never reaches the log readable.
//
// The values are decoded from the input: every kind of value, arrays within
// arrays, objects with and without ClassName, Name and InstanceID, long
// texts and hex-like texts around the masked lengths.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "log/cls_log.h"
#include "log/cls_log_share.h"
#include "platform/text.h"
#include "platform/value.h"
#include "tests/support/fake_services.h"

namespace brantvell {
namespace {

constexpr int kMaxDepth = 3;
constexpr size_t kMaxItems = 48;
const char kHexLike[] = "0123456789ABCDEFabcdefHh&";

// An object read through late binding; any property may be missing, and
// reading may fail outright.
class FuzzObject : public ValueObject {
 public:
  std::map<std::string, Value> properties;
  bool reads_fail = false;
  bool type_name_fails = false;
  std::string type_name;

  bool GetProperty(const std::string& name, Value* out) const override {
    if (reads_fail) throw std::runtime_error("property read failed");
    auto it = properties.find(name);
    if (it == properties.end()) return false;
    *out = it->second;
    return true;
  }
  std::string TypeName() const override {
    if (type_name_fails) throw std::runtime_error("no type name");
    return type_name;
  }
};

class ValueDecoder {
 public:
  explicit ValueDecoder(FuzzedDataProvider* in) : in_(*in) {}

  std::string Text() {
    switch (in_.ConsumeIntegralInRange(0, 4)) {
      case 0:
        return HexLike(in_.ConsumeIntegralInRange<size_t>(35, 52), false);
      case 1:
        return HexLike(in_.ConsumeIntegralInRange<size_t>(35, 52), true);
      case 2:  // a long run of one character, past the record's length
        return std::string(in_.ConsumeIntegralInRange<size_t>(100, 5000),
                           in_.ConsumeIntegral<char>());
      default:
        return in_.ConsumeRandomLengthString(300);
    }
  }

  Value Decode(int depth) {
    const int kind = in_.ConsumeIntegralInRange(0, depth < kMaxDepth ? 21 : 16);
    switch (kind) {
      case 0:
        return Value();
      case 1:
        return Value::Null();
      case 2:
        return Value::Integer(in_.ConsumeIntegral<int16_t>());
      case 3:
        return Value::Long(in_.ConsumeIntegral<int32_t>());
      case 4:
        return Value::Single(in_.ConsumeFloatingPoint<float>());
      case 5:
        return Value::Double(in_.ConsumeFloatingPoint<double>());
      case 6:
        return Value::Currency(in_.ConsumeIntegral<int64_t>());
      case 7:
        return Value::Date(in_.ConsumeFloatingPoint<double>());
      case 8:
      case 9:
        return Value::String(Text());
      case 10:
        return Value::ErrorCode(in_.ConsumeIntegral<int32_t>());
      case 11:
        return Value::Missing();
      case 12:
        return Value::Boolean(in_.ConsumeBool());
      case 13:
        return Value::Decimal(in_.ConsumeRandomLengthString(60));
      case 14:
        return Value::Byte(in_.ConsumeIntegral<uint8_t>());
      case 15:
        return Value::UserType();
      case 16:
        return Value::Object(nullptr);  // Nothing
      case 17:
        return Value::ByRef(Decode(depth + 1));
      case 18:
      case 19:
        return Value::Object(Object(depth));
      case 20:
        return Value::DataObject(in_.ConsumeBool() ? Object(depth) : nullptr);
      default: {
        std::vector<Value> items;
        const size_t count = in_.ConsumeIntegralInRange<size_t>(0, kMaxItems);
        for (size_t i = 0; i < count && in_.remaining_bytes() > 0; ++i)
          items.push_back(Decode(depth + 1));
        return Value::Array(std::move(items));
      }
    }
  }

 private:
  // A text of `length` characters from the masked set; with `spoiled`, one
  // of them is replaced by a character from outside it.
  std::string HexLike(size_t length, bool spoiled) {
    std::string text;
    for (size_t i = 0; i < length; ++i)
      text.push_back(kHexLike[in_.ConsumeIntegralInRange<size_t>(0, sizeof kHexLike - 2)]);
    if (spoiled && length > 0)
      text[in_.ConsumeIntegralInRange<size_t>(0, length - 1)] = in_.ConsumeIntegral<char>();
    return text;
  }

  std::shared_ptr<const ValueObject> Object(int depth) {
    auto object = std::make_shared<FuzzObject>();
    const uint8_t shape = in_.ConsumeIntegral<uint8_t>();
    if (shape & 1) object->properties["ClassName"] = Decode(depth + 1);
    if (shape & 2) object->properties["Name"] = Decode(depth + 1);
    if (shape & 4) object->properties["InstanceID"] = Decode(depth + 1);
    object->reads_fail = (shape & 0x18) == 0x18;
    object->type_name_fails = (shape & 0x60) == 0x60;
    object->type_name = (shape & 0x80) ? Text() : std::string();
    return object;
  }

  FuzzedDataProvider& in_;
};

bool IsMaskedText(const std::string& text) {
  const size_t length = CharCount(text);
  if (length < 37 || length > 50) return false;
  for (char c : text)
    if (std::string(kHexLike).find(c) == std::string::npos) return false;
  return true;
}

// The list with every masked text (directly or held by reference) replaced
// by as many '*'; false when there was none.
bool WithMasksSpelledOut(const std::vector<Value>& items, std::vector<Value>* out) {
  bool any = false;
  for (const Value& item : items) {
    const Value& target = item.type() == Value::kVariant ? item.inner() : item;
    if (target.type() == Value::kString && IsMaskedText(target.text())) {
      Value stars = Value::String(std::string(CharCount(target.text()), '*'));
      out->push_back(item.type() == Value::kVariant ? Value::ByRef(stars) : stars);
      any = true;
    } else {
      out->push_back(item);
    }
  }
  return any;
}

// The record text as the writer wrote it: the appended line without its
// line end and without the TABs that indent continuation lines.
std::string RecordText(const FakeLogServices& fake) {
  FUZZ_CHECK(fake.files.append_calls == 1 && fake.files.files.size() == 1,
             "one debug record, one line appended");
  std::string line = fake.files.files.begin()->second;
  FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0,
             "a record ends with CR LF");
  line.resize(line.size() - 2);
  std::string text;
  for (size_t i = 0; i < line.size(); ++i) {
    text += line[i];
    FUZZ_CHECK(ControlsReplaced(std::string(1, line[i])).size() == 1 || (line[i] & 0x80),
               "no control character but TAB, LF and CR reaches the file");
    const bool line_end = line[i] == '\n' || (line[i] == '\r' && line.compare(i + 1, 1, "\n") != 0);
    if (line_end) {
      FUZZ_CHECK(line.compare(i + 1, 2, "\t\t") == 0, "continuation lines start with two TABs");
      i += 2;
    }
  }
  const std::string fixed = "DebugLog: 2025/03/14 09:26:53\t";
  FUZZ_CHECK(text.compare(0, fixed.size(), fixed) == 0, "prefix, timestamp and TAB come first");
  return text.substr(fixed.size());
}

std::string WriteDebug(const std::string& caller_text, const std::vector<Value>& items) {
  FakeLogServices fake;
  fake.files.AddFolder("C:\\Temp");
  fake.clock.now = LocalDateTime{2025, 3, 14, 9, 26, 53};
  clsLogShare log(fake.Services());
  log.SetDirectory("C:\\Temp");
  log.SetFileNamePrefix("Brantvell");
  log.SetFileNameMode(0);
  log.SetEnable(kDebugLog, "", kStateFile);
  bool written = false;
  try {
    written = log.SetDebug(caller_text, Value::Array(items), 0);
  } catch (...) {
    FUZZ_CHECK(false, "SetDebug never raises");
  }
  FUZZ_CHECK(written, "a debug record to a writable file is written");
  return RecordText(fake);
}

// The text up to its last whole character: a character it leaves unfinished
// may be finished by the bytes that follow it in the record (a lone 0xC2
// and a following 0x8F make U+008F, a control, which the log replaces).
std::string WholeCharacters(const std::string& text) {
  for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const unsigned char c = text[text.size() - back];
    if ((c & 0xC0) == 0x80) continue;
    const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return back < length ? text.substr(0, text.size() - back) : text;
  }
  return text;
}

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

}  // namespace
}  // namespace brantvell

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brantvell;
  FuzzedDataProvider in(data, size);
  ValueDecoder decoder(&in);
  const std::string caller_text = in.ConsumeBool() ? decoder.Text() : "Brantvell[mdlMain] (Main)\t";
  std::vector<Value> items;
  const size_t count = in.ConsumeIntegralInRange<size_t>(0, kMaxItems);
  for (size_t i = 0; i < count && in.remaining_bytes() > 0; ++i) items.push_back(decoder.Decode(0));

  const std::string text = WriteDebug(caller_text, items);
  FUZZ_CHECK(CharCount(text) <= 2048, "a debug text is at most 2048 characters");
  const std::string shown = ControlsReplaced(WholeCharacters(caller_text));
  FUZZ_CHECK(StartsWith(text, shown) || StartsWith(shown, text),
             "the record starts with the caller's text");

  std::vector<Value> spelled;
  if (WithMasksSpelledOut(items, &spelled))
    FUZZ_CHECK(WriteDebug(caller_text, spelled) == text,
               "a hex-like text is written as asterisks and nothing else");
  return 0;
}
