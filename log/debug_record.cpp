// Members of clsLogShare (log/cls_log_share.h), kept apart by concept: the
// log writer's debug records, a text followed by the listed values,
// each written with its kind tag, long ones shortened, hexadecimal-looking
// texts masked.
#include "log/cls_log_share.h"

#include <algorithm>
#include <string_view>
#include <vector>

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

namespace {

// The record's text as the pieces it is made of, in order: a long text is
// referred to, not copied, so that only what the record keeps is copied.
class Pieces {
 public:
  // At most `made` pieces are made here: they never move once made.
  explicit Pieces(size_t made) { kept_.reserve(made); }
  void Add(std::string_view piece) {
    if (!piece.empty()) views_.push_back(piece);
  }
  void Keep(std::string piece) {
    kept_.push_back(std::move(piece));
    Add(kept_.back());
  }
  size_t Size() const {
    size_t size = 0;
    for (std::string_view v : views_) size += v.size();
    return size;
  }
  char At(size_t at) const {
    for (std::string_view v : views_) {
      if (at < v.size()) return v[at];
      at -= v.size();
    }
    return '\0';
  }
  // The first `size` bytes.
  std::string Head(size_t size) const {
    std::string out;
    out.reserve(size);
    for (std::string_view v : views_) {
      if (out.size() >= size) break;
      out.append(v.substr(0, size - out.size()));
    }
    return out;
  }

 private:
  std::vector<std::string> kept_;
  std::vector<std::string_view> views_;
};

// Whether text[begin, end) holds at least `count` characters, walking no
// further than that many.
bool HasChars(const std::string& text, size_t begin, size_t end, size_t count) {
  size_t n = 0;
  for (size_t i = begin; i < end && n < count; ++n) i = CharEnd(text, i);
  return n >= count;
}

// A character takes at most this many bytes.
constexpr size_t kCharBytesMost = 4;

}  // namespace

bool clsLogShare::SetDebug(const std::string& strText, const Value& vParams,
                           int32_t lngComponentID) {
  // What SetEvent answers for a kind that is off, without making the text.
  if (!MayWrite(kDebugLog, lngComponentID)) return true;
  const Value& list = vParams.type() == Value::kVariant ? vParams.inner() : vParams;
  const bool listed = list.type() >= Value::kArray;
  Pieces out(listed ? list.items().size() : 0);
  out.Add(strText);
  try {
    if (listed) {
      for (const Value& element : list.items()) {
        // A long text (a command line, say) is too long to be masked and
        // has no tag: its item is the text and ", ", referred to in place.
        if (element.type() == Value::kString &&
            element.text().size() > kHexMaskLongest * kCharBytesMost) {
          const std::string& text = element.text();
          const size_t paren = FindLastByte(text, '(');
          // With that many characters before its "(", the item is longer
          // than the limit too.
          if (paren != std::string::npos && HasChars(text, 0, paren, kDebugItemLimit)) {
            size_t cut = 0;
            for (size_t n = 0; n < kDebugItemLimit; ++n) cut = CharEnd(text, cut);
            out.Add(std::string_view(text).substr(0, cut));
            out.Add("...");
            out.Add(std::string_view(text).substr(paren));
          } else {
            out.Add(text);
          }
          out.Add(", ");
          continue;
        }
        std::string item = DebugItem(element);
        // A long element keeps its first characters and its type tag.
        size_t paren = item.rfind('(');
        if (paren != std::string::npos && CharCount(item) > kDebugItemLimit &&
            CharCount(item.substr(0, paren)) >= kDebugItemLimit) {
          out.Keep(CharSubstr(item, 0, kDebugItemLimit) + "..." + item.substr(paren));
        } else {
          out.Keep(std::move(item));
        }
      }
    }
  } catch (...) {
  }
  size_t size = out.Size();
  while (size >= 2 && out.At(size - 2) == ',' && out.At(size - 1) == ' ') size -= 2;
  // The record keeps kDebugTextLimit characters: they lie within the first
  // bytes taken here, and a character is read from its own bytes and the
  // next three at most.
  std::string text = out.Head(std::min(size, (kDebugTextLimit + 2) * kCharBytesMost));
  if (CharCount(text) > kDebugTextLimit) text = CharSubstr(text, 0, kDebugTextLimit);
  return SetEvent(text, kDebugLog, lngComponentID);
}

}  // namespace brantvell
