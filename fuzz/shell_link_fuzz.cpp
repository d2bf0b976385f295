// Shell links: texts of any Unicode characters up to the format's limit
// (32767 UTF-16 units each) are written and read back field by field; a
// text past the limit, an empty target or a target with a NUL is refused
// with Error 5 and nothing is written. Raw bytes given to the reader never
// crash it, and what it reads writes back to the same fields.
//
// Input: the first byte chooses the check (even: fields to write, odd: raw
// file bytes); the rest is the fields or the file.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/error.h"
#include "platform/text.h"
#include "platform/wineprefix/shell_link.h"

namespace brantvell {
namespace {

constexpr size_t kMaxUnits = 32767;

// A text of Unicode scalar values and the number of UTF-16 units it takes.
struct UnicodeText {
  std::string utf8;
  size_t units = 0;
  bool has_nul = false;
};

UnicodeText MakeText(FuzzedDataProvider* in) {
  UnicodeText text;
  // Mostly short texts; some right at the limit, one unit below or above.
  size_t wanted = 0;
  switch (in->ConsumeIntegralInRange(0, 7)) {
    case 0:
      wanted = in->ConsumeIntegralInRange<size_t>(kMaxUnits - 2, kMaxUnits + 2);
      break;
    case 1:
      wanted = 0;
      break;
    default:
      wanted = in->ConsumeIntegralInRange<size_t>(1, 80);
  }
  // A few characters from the input, repeated to the wanted length.
  std::u32string pattern;
  const size_t distinct = in->ConsumeIntegralInRange<size_t>(1, 8);
  for (size_t i = 0; i < distinct; ++i) {
    char32_t cp = 0;
    switch (in->ConsumeIntegralInRange(0, 3)) {
      case 0:
        cp = in->ConsumeIntegralInRange<char32_t>(0, 0x7F);
        break;
      case 1:
        cp = in->ConsumeIntegralInRange<char32_t>(0x80, 0xD7FF);
        break;
      case 2:
        cp = in->ConsumeIntegralInRange<char32_t>(0xE000, 0xFFFF);
        break;
      default:
        cp = in->ConsumeIntegralInRange<char32_t>(0x10000, 0x10FFFF);
    }
    pattern.push_back(cp);
  }
  for (size_t i = 0; text.units < wanted; ++i) {
    char32_t cp = pattern[i % pattern.size()];
    AppendUtf8(cp, &text.utf8);
    text.units += cp >= 0x10000 ? 2 : 1;
    text.has_nul = text.has_nul || cp == 0;
  }
  return text;
}

void CheckWriteAndRead(FuzzedDataProvider* in) {
  const UnicodeText target = MakeText(in);
  const UnicodeText texts[] = {MakeText(in), MakeText(in), MakeText(in), MakeText(in)};
  ShellLinkData link;
  link.target_path = target.utf8;
  link.arguments = texts[0].utf8;
  link.working_directory = texts[1].utf8;
  link.description = texts[2].utf8;
  link.icon_path = texts[3].utf8;
  link.icon_index = in->ConsumeIntegral<int32_t>();
  link.show_command = in->ConsumeIntegral<uint32_t>();
  link.hotkey = in->ConsumeIntegral<uint16_t>();

  bool fits = target.units > 0 && target.units <= kMaxUnits && !target.has_nul;
  for (const UnicodeText& text : texts) fits = fits && text.units <= kMaxUnits;

  std::string bytes;
  try {
    bytes = WriteShellLink(link);
  } catch (const Error& e) {
    FUZZ_CHECK(!fits, "texts within the limits are written");
    FUZZ_CHECK(e.number() == 5 && e.description() == "Invalid procedure call or argument",
               "a text a link cannot hold is refused as an invalid argument");
    return;
  } catch (...) {
    FUZZ_CHECK(false, "the writer raises nothing but Error");
  }
  FUZZ_CHECK(fits, "a text past the limits is refused, never cut");

  ShellLinkData read;
  FUZZ_CHECK(ReadShellLink(bytes, &read), "a written link reads back");
  FUZZ_CHECK(read.target_path == link.target_path, "target path reads back");
  FUZZ_CHECK(read.arguments == link.arguments, "arguments read back");
  FUZZ_CHECK(read.working_directory == link.working_directory, "working folder reads back");
  FUZZ_CHECK(read.description == link.description, "description reads back");
  FUZZ_CHECK(read.icon_path == link.icon_path, "icon path reads back");
  FUZZ_CHECK(read.icon_index == link.icon_index, "icon index reads back");
  FUZZ_CHECK(read.show_command == link.show_command, "show command reads back");
  FUZZ_CHECK(read.hotkey == link.hotkey, "hotkey reads back");
}

void CheckRawBytes(const std::string& bytes) {
  ShellLinkData read;
  bool ok = false;
  try {
    ok = ReadShellLink(bytes, &read);
  } catch (...) {
    FUZZ_CHECK(false, "the reader never raises");
  }
  if (!ok) return;
  // What was read is a link of its own: written again, it reads the same.
  std::string again;
  try {
    again = WriteShellLink(read);
  } catch (const Error& e) {
    FUZZ_CHECK(e.number() == 5, "a link read that cannot be written is an invalid argument");
    return;
  }
  ShellLinkData reread;
  FUZZ_CHECK(ReadShellLink(again, &reread), "a rewritten link reads back");
  FUZZ_CHECK(reread.target_path == read.target_path && reread.arguments == read.arguments &&
                 reread.working_directory == read.working_directory &&
                 reread.description == read.description && reread.icon_path == read.icon_path &&
                 reread.icon_index == read.icon_index && reread.show_command == read.show_command &&
                 reread.hotkey == read.hotkey,
             "a rewritten link has the fields read");
}

}  // namespace
}  // namespace brantvell

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brantvell;
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    FuzzedDataProvider in(data + 1, size - 1);
    CheckWriteAndRead(&in);
  } else {
    CheckRawBytes(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  }
  return 0;
}
