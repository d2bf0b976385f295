// Members of clsLogShare (log/cls_log_share.h), kept apart by concept: the
// log writer's debug records, a text followed by the listed values,
// each written with its kind tag, long ones shortened, hexadecimal-looking
// texts masked.
#include "log/cls_log_share.h"

#include "log/display_text.h"
#include "platform/text.h"
#include "platform/value_conversions.h"

namespace brantvell {

namespace {

// A debug record element longer than this is shortened before its tag, and
// the whole debug text is cut to kDebugTextLimit characters.
constexpr size_t kDebugItemLimit = 128;
constexpr size_t kDebugTextLimit = 2048;

// Texts of this many characters that look like hexadecimal numbers (keys,
// hashes, account data) are masked in debug records.
constexpr size_t kHexMaskShortest = 37;
constexpr size_t kHexMaskLongest = 50;

bool IsHexMaskChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == 'H' ||
         c == 'h' || c == '&';
}

}  // namespace

std::string clsLogShare::MaskHexText(const std::string& text, size_t shortest, size_t longest) {
  size_t length = CharCount(text);
  if (length < shortest || length > longest) return text;
  for (char c : text)
    if (!IsHexMaskChar(c)) return text;
  return std::string(length, '*');
}

std::string clsLogShare::ObjectName(const Value& element) {
  const auto& object = element.object();
  LocaleSeparators sep = services_.clock->Separators();
  std::string name;
  if (object) {
    // Late-bound reads: any object may lack any of these members.
    auto read_text = [&](const char* member, std::string* out) {
      try {
        Value value;
        if (!object->GetProperty(member, &value)) return false;
        *out = DisplayText(value, sep);
        return true;
      } catch (...) {
        return false;
      }
    };
    bool named = read_text("ClassName", &name);
    if (!named) {
      name.clear();
      named = read_text("Name", &name);
      if (!named) name.clear();
    }
    if (named) {
      try {
        // The id is read as the program reads any number: Empty is 0, a
        // text holding a number is that number; one without a reading
        // raises and leaves the name bare.
        Value id_value;
        if (object->GetProperty("InstanceID", &id_value)) {
          int32_t id = CoerceToLong(id_value);
          if (id >= 0) name += ":" + std::to_string(id);
        }
      } catch (...) {
      }
    }
  }
  if (name.empty()) {
    try {
      name = object ? object->TypeName() : "Nothing";
    } catch (...) {
    }
  }
  if (name.empty()) name = "???";
  return name;
}

std::string clsLogShare::DebugItem(const Value& element) {
  // A value whose text cannot be made contributes nothing.
  try {
    LocaleSeparators sep = services_.clock->Separators();
    auto text = [&]() { return DisplayText(element, sep); };
    switch (element.type()) {
      case Value::kEmpty:
        return "empty, ";
      case Value::kNull:
        return "null, ";
      case Value::kInteger:
        return text() + "(int), ";
      case Value::kLong:
        return text() + "(long), ";
      case Value::kSingle:
        return text() + "(single), ";
      case Value::kDouble:
        return text() + "(double), ";
      case Value::kCurrency:
        return text() + "(curr), ";
      case Value::kDate:
        return text() + "(date), ";
      case Value::kString:
        return MaskHexText(element.text(), kHexMaskShortest, kHexMaskLongest) + ", ";
      case Value::kObject:
        return ObjectName(element) + "(obj), ";
      case Value::kError:
        if (element.is_missing()) return "(missing), ";
        return text() + "(err), ";
      case Value::kBoolean:
        return text() + "(bln), ";
      case Value::kVariant:
        return MaskHexText(text(), kHexMaskShortest, kHexMaskLongest) + "(var), ";
      case Value::kDataObject: {
        std::string name;
        try {
          Value value;
          if (element.object() && element.object()->GetProperty("Name", &value))
            name = DisplayText(value, sep);
        } catch (...) {
          name.clear();
        }
        return name + "(dtobj), ";
      }
      case Value::kDecimal:
        return text() + "(dec), ";
      case Value::kByte:
        return text() + "(byte), ";
      case Value::kUserType:
        return "(usertype), ";
      default:
        return element.type() >= Value::kArray ? "(array), " : "(unknow), ";
    }
  } catch (...) {
    return "";
  }
}

bool clsLogShare::SetDebug(const std::string& strText, const Value& vParams,
                           int32_t lngComponentID) {
  std::string out = strText;
  try {
    const Value& list = vParams.type() == Value::kVariant ? vParams.inner() : vParams;
    if (list.type() >= Value::kArray) {
      for (const Value& element : list.items()) {
        std::string item = DebugItem(element);
        // A long element keeps its first characters and its type tag.
        size_t paren = item.rfind('(');
        if (paren != std::string::npos && CharCount(item) > kDebugItemLimit &&
            CharCount(item.substr(0, paren)) >= kDebugItemLimit) {
          out += CharSubstr(item, 0, kDebugItemLimit) + "..." + item.substr(paren);
        } else {
          out += item;
        }
      }
    }
  } catch (...) {
  }
  while (out.size() >= 2 && out.compare(out.size() - 2, 2, ", ") == 0) out.resize(out.size() - 2);
  if (CharCount(out) > kDebugTextLimit) out = CharSubstr(out, 0, kDebugTextLimit);
  return SetEvent(out, kDebugLog, lngComponentID);
}

}  // namespace brantvell
