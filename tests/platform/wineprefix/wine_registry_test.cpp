#include "platform/wineprefix/wine_registry.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brantvell {
namespace {

std::string ToLowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// A registry file the way Wine writes one, with the awkward corners: escaped
// separators in key names, escapes in data, non-ASCII as \x escapes, data
// continued over lines.
const char kSystemReg[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\VR_CLT.exe] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "@=\"C:\\\\Veldramona\\\\VR_CLT.exe\"\n"
    "\"Path\"=\"C:\\\\Veldramona\"\n"
    "\n"
    "[Software\\\\Test] 1700000001\n"
    "\"Quoted\"=\"say \\\"hi\\\"\\tand\\nbye\"\n"
    "\"Czech\"=\"\\x10c\\x65sk\\x00e1 \\x2013 Slovensk\\x00e1\"\n"
    "\"HexThenDigit\"=\"\\x0161\\x0031\"\n"
    "\"Octal\"=\"a\\101\\0b\"\n"
    "\"Expand\"=str(2):\"%SystemRoot%\\\\system32\"\n"
    "\"Count\"=dword:0000002a\n"
    "\"Negative\"=dword:ffffffff\n"
    "\"Blob\"=hex:01,02,03,\\\n"
    "  04,05\n"
    "\"WideExpand\"=hex(2):43,00,3a,00,5c,00,78,00,00,00\n"
    "\"Multi\"=str(7):\"one\\0two\\0\"\n"
    "\"Utf8\"=\"Pl\xc3\xa1n\"\n";

TEST(WineRegistryTest, ReadsStringsWithTheirEscapes) {
  WineRegistry registry = WineRegistry::Parse(kSystemReg);
  EXPECT_FALSE(registry.is_win64());

  const RegistryValue* path =
      registry.Find("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe", "Path");
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->type, kRegSz);
  std::string text;
  ASSERT_TRUE(RegistryValueText(*path, &text));
  EXPECT_EQ(text, "C:\\Veldramona");

  struct Case {
    const char* name;
    const char* expected;
  } cases[] = {
      {"Quoted", "say \"hi\"\tand\nbye"},
      {"Czech",
       "\xc4\x8c"
       "esk\xc3\xa1 \xe2\x80\x93 Slovensk\xc3\xa1"},  // Česká – Slovenská
      {"HexThenDigit",
       "\xc5\xa1"
       "1"},
      {"Octal", "aA"},  // the escaped NUL ends the string
      {"Utf8", "Pl\xc3\xa1n"},
  };
  for (const Case& c : cases) {
    const RegistryValue* value = registry.Find("Software\\Test", c.name);
    ASSERT_NE(value, nullptr) << c.name;
    ASSERT_TRUE(RegistryValueText(*value, &text)) << c.name;
    EXPECT_EQ(text, c.expected) << c.name;
  }
}

TEST(WineRegistryTest, ReadsDefaultValueExpandStringsNumbersAndLists) {
  WineRegistry registry = WineRegistry::Parse(kSystemReg);
  std::string text;

  const RegistryValue* def =
      registry.Find("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe", "");
  ASSERT_NE(def, nullptr);
  ASSERT_TRUE(RegistryValueText(*def, &text));
  EXPECT_EQ(text, "C:\\Veldramona\\VR_CLT.exe");

  const RegistryValue* expand = registry.Find("Software\\Test", "Expand");
  ASSERT_NE(expand, nullptr);
  EXPECT_EQ(expand->type, kRegExpandSz);
  ASSERT_TRUE(RegistryValueText(*expand, &text));
  EXPECT_EQ(text, "%SystemRoot%\\system32");  // left unexpanded

  const RegistryValue* wide = registry.Find("Software\\Test", "WideExpand");
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->type, kRegExpandSz);
  ASSERT_TRUE(RegistryValueText(*wide, &text));
  EXPECT_EQ(text, "C:\\x");

  uint32_t number = 0;
  ASSERT_TRUE(RegistryValueDword(*registry.Find("Software\\Test", "Count"), &number));
  EXPECT_EQ(number, 42u);
  ASSERT_TRUE(RegistryValueDword(*registry.Find("Software\\Test", "Negative"), &number));
  EXPECT_EQ(number, 0xFFFFFFFFu);
  EXPECT_FALSE(RegistryValueText(*registry.Find("Software\\Test", "Count"), &text));

  const RegistryValue* blob = registry.Find("Software\\Test", "Blob");
  ASSERT_NE(blob, nullptr);
  EXPECT_EQ(blob->type, kRegBinary);
  EXPECT_EQ(blob->bytes, std::string("\x01\x02\x03\x04\x05"));
  EXPECT_FALSE(RegistryValueText(*blob, &text));
  EXPECT_FALSE(RegistryValueDword(*blob, &number));

  std::vector<std::string> strings;
  ASSERT_TRUE(RegistryValueStrings(*registry.Find("Software\\Test", "Multi"), &strings));
  EXPECT_EQ(strings, (std::vector<std::string>{"one", "two"}));
}

TEST(WineRegistryTest, MatchesKeysAndNamesWithoutRegardToCase) {
  WineRegistry registry = WineRegistry::Parse(kSystemReg);
  EXPECT_NE(
      registry.Find("SOFTWARE\\microsoft\\WINDOWS\\currentversion\\app paths\\vr_clt.EXE", "PATH"),
      nullptr);
  EXPECT_NE(registry.Find("software\\test", "czech"), nullptr);
  EXPECT_EQ(registry.Find("Software\\Test", "Missing"), nullptr);
  EXPECT_EQ(registry.Find("Software\\Missing", "Path"), nullptr);
  // A key is not its parent or its child.
  EXPECT_EQ(registry.Find("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", "Path"),
            nullptr);
  EXPECT_EQ(registry.Find("Software", "Count"), nullptr);
  // No default value was written for this key.
  EXPECT_EQ(registry.Find("Software\\Test", ""), nullptr);
}

TEST(WineRegistryTest, Win64PrefixPrefersTheWow6432NodeViewForSoftware) {
  const char text[] =
      "WINE REGISTRY Version 2\r\n"
      "#arch=win64\r\n"
      "[Software\\\\Vendor\\\\App] 1\r\n"
      "\"Both\"=\"native\"\r\n"
      "\"NativeOnly\"=\"native only\"\r\n"
      "[Software\\\\Wow6432Node\\\\Vendor\\\\App] 1\r\n"
      "\"Both\"=\"wow\"\r\n"
      "[Software\\\\Wow6432Node\\\\Other] 1\r\n"
      "\"Name\"=\"wow other\"\r\n"
      "[System\\\\Setup] 1\r\n"
      "\"Name\"=\"system\"\r\n";
  WineRegistry registry = WineRegistry::Parse(text);
  ASSERT_TRUE(registry.is_win64());
  std::string value;

  ASSERT_TRUE(RegistryValueText(*registry.FindAs32Bit("Software\\Vendor\\App", "Both"), &value));
  EXPECT_EQ(value, "wow");
  ASSERT_TRUE(
      RegistryValueText(*registry.FindAs32Bit("SOFTWARE\\Vendor\\App", "NativeOnly"), &value));
  EXPECT_EQ(value, "native only");
  ASSERT_TRUE(RegistryValueText(*registry.FindAs32Bit("software\\other", "Name"), &value));
  EXPECT_EQ(value, "wow other");
  ASSERT_TRUE(
      RegistryValueText(*registry.FindAs32Bit("Software\\Wow6432Node\\Other", "Name"), &value));
  EXPECT_EQ(value, "wow other");
  ASSERT_TRUE(RegistryValueText(*registry.FindAs32Bit("System\\Setup", "Name"), &value));
  EXPECT_EQ(value, "system");
  EXPECT_EQ(registry.FindAs32Bit("Software\\Vendor\\App", "Missing"), nullptr);

  // The plain look-up sees the native view.
  ASSERT_TRUE(RegistryValueText(*registry.Find("Software\\Vendor\\App", "Both"), &value));
  EXPECT_EQ(value, "native");
}

TEST(WineRegistryTest, Win32PrefixHasNoRedirection) {
  const char text[] =
      "#arch=win32\n"
      "[Software\\\\Vendor] 1\n"
      "\"Name\"=\"native\"\n"
      "[Software\\\\Wow6432Node\\\\Vendor] 1\n"
      "\"Name\"=\"wow\"\n";
  WineRegistry registry = WineRegistry::Parse(text);
  std::string value;
  ASSERT_TRUE(RegistryValueText(*registry.FindAs32Bit("Software\\Vendor", "Name"), &value));
  EXPECT_EQ(value, "native");
}

TEST(WineRegistryTest, SkipsWhatItCannotReadAndKeepsTheRest) {
  const char text[] =
      "\"Orphan\"=\"before any key\"\n"
      "[Software\\\\Broken\n"
      "\"InBroken\"=\"x\"\n"
      "[Software\\\\Good] 1\n"
      "\"Unterminated\"=\"abc\n"
      "\"BadDword\"=dword:xyz\n"
      "\"BadHex\"=hex:1,zz\n"
      "\"BadType\"=str(:\"x\"\n"
      "garbage line\n"
      "\"NoEquals\" \"x\"\n"
      "\"TrailingBackslash\"=\"abc\\\n"
      "\"Fine\"=\"ok\"\n"
      "[Software\\\\Key\\]Bracket] 1\n"
      "\"Name\"=\"bracket\"\n";
  WineRegistry registry = WineRegistry::Parse(text);
  std::string value;
  ASSERT_NE(registry.Find("Software\\Good", "Fine"), nullptr);
  ASSERT_TRUE(RegistryValueText(*registry.Find("Software\\Good", "Fine"), &value));
  EXPECT_EQ(value, "ok");
  for (const char* name :
       {"Unterminated", "BadDword", "BadHex", "BadType", "NoEquals", "TrailingBackslash"})
    EXPECT_EQ(registry.Find("Software\\Good", name), nullptr) << name;
  EXPECT_FALSE(registry.HasKey("Software\\Broken"));
  EXPECT_EQ(registry.Find("", "Orphan"), nullptr);
  EXPECT_EQ(registry.Find("Software\\Broken", "InBroken"), nullptr);
  ASSERT_NE(registry.Find("Software\\Key]Bracket", "Name"), nullptr);
}

TEST(WineRegistryTest, EveryCutOfAFileParsesWithoutHarm) {
  // Cuts anywhere, inside escapes and continued data too, must not trip the
  // reader; what lies before the cut is read.
  std::string text = kSystemReg;
  const std::string line = "\"Count\"=dword:0000002a\n";
  size_t digits = text.find(line) + line.find(':') + 1;
  size_t line_end = text.find(line) + line.size();
  for (size_t n = 0; n <= text.size(); ++n) {
    WineRegistry registry = WineRegistry::Parse(text.substr(0, n));
    const RegistryValue* value = registry.Find("Software\\Test", "Count");
    uint32_t number = 0;
    if (n <= digits) {
      EXPECT_EQ(value, nullptr) << n;
    } else if (n >= line_end) {
      ASSERT_NE(value, nullptr) << n;
      ASSERT_TRUE(RegistryValueDword(*value, &number));
      EXPECT_EQ(number, 42u);
      EXPECT_NE(registry.Find("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe",
                              "Path"),
                nullptr);
    }
  }
}

// The values of `key` as two registries hold them, for comparing.
bool SameValue(const RegistryValue* a, const RegistryValue* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return a->type == b->type && a->is_text == b->is_text && a->text == b->text &&
         a->bytes == b->bytes;
}

// A file with the corners a one-pass reader can trip on: keys written with
// escapes other than Wine's plain ones, a continued value in a key not kept,
// a header whose bracket is escaped.
const char kScanned[] =
    "#arch=win64\r\n"
    "[Software\\\\Other] 1\r\n"
    "\"Data\"=hex:01,\\\r\n"
    "  [Software\\\\Test],\\\r\n"
    "  02\r\n"
    "[Software\\\\\\x41pp] 1\r\n"
    "\"Name\"=\"escaped header\"\r\n"
    "[Software\\\\\\x42ox\\\\Inner] 1\r\n"
    "\"Name\"=\"hex-escaped header\"\r\n"
    "[Software\\\\Wow6432Node\\\\Test] 1\r\n"
    "\"Name\"=\"wow\"\r\n"
    "  [Software\\\\Key\\]Bracket] 1\r\n"
    "\"Blob\"=hex:0a,0b,\\\r\n"
    "  0c\r\n";

TEST(RegistryReaderTest, KeepsOnlyTheKeysAskedForWhateverThePiecesAre) {
  const std::string text = std::string(kSystemReg) + kScanned;
  const WineRegistry whole = WineRegistry::Parse(text);
  const std::vector<std::pair<std::string, std::string>> probes = {
      {"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe", "Path"},
      {"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe", ""},
      {"Software\\Test", "Blob"},
      {"Software\\Test", "Czech"},
      {"Software\\Test", "Multi"},
      {"Software\\App", "Name"},
      {"Software\\Box\\Inner", "Name"},
      {"Software\\Wow6432Node\\Test", "Name"},
      {"Software\\Key]Bracket", "Blob"},
      {"Software\\Other", "Data"},
  };
  const std::vector<std::vector<std::string>> key_sets = {
      {"SOFTWARE\\test"},
      {"software\\microsoft\\windows\\currentversion\\app paths\\vr_clt.exe", "Software\\App"},
      {"Software\\Box\\Inner", "Software\\Key]Bracket", "Software\\Wow6432Node\\Test"},
      {"Software\\Other", "Software\\Missing"},
  };
  for (const std::vector<std::string>& keys : key_sets) {
    for (size_t piece : {size_t{1}, size_t{2}, size_t{7}, size_t{64}, text.size()}) {
      RegistryReader reader(keys);
      for (size_t at = 0; at < text.size(); at += piece)
        reader.Feed(std::string_view(text).substr(at, piece));
      WineRegistry kept = reader.Finish();
      EXPECT_TRUE(kept.is_win64());
      for (const auto& [key, name] : probes) {
        bool asked = false;
        for (const std::string& k : keys) asked = asked || ToLowerAscii(k) == ToLowerAscii(key);
        const RegistryValue* expected = asked ? whole.Find(key, name) : nullptr;
        EXPECT_TRUE(SameValue(kept.Find(key, name), expected))
            << key << " / " << name << " in pieces of " << piece;
        if (asked && name != "Data") {  // Data's lines are no hex data
          EXPECT_NE(whole.Find(key, name), nullptr) << key << " / " << name;
        }
      }
    }
  }
  // The continued value's lines never count as a header of their own.
  EXPECT_EQ(whole.Find("Software\\Test", "Data"), nullptr);
}

// Headers that name a key asked for, or come close to it, written every
// way the file can write a key; and lines that look like what they are not.
// Whatever the pieces, the reader keeping only some keys must find exactly
// what the whole file holds for them.
TEST(RegistryReaderTest, EveryWayOfWritingAHeaderIsTold) {
  struct HeaderCase {
    const char* header;  // the text between "[" and "]"
    const char* key;     // the key it names, as asked for
    bool names_it;
  };
  const std::vector<HeaderCase> cases = {
      {"Software\\\\Test", "Software\\Test", true},
      {"SOFTWARE\\\\tEST", "Software\\Test", true},
      {"Software\\\\\\x0054est", "Software\\Test", true},  // \x escape for T
      {"Software\\\\\\124est", "Software\\Test", true},    // octal escape for T
      {"Software\\\\Te\\st", "Software\\Test", true},      // a needless escape
      {"Software\\\\Key[x", "Software\\Key[x", true},      // "[" left bare
      {"Software\\\\Key\\[x", "Software\\Key[x", true},
      {"Software\\\\Key\\]x", "Software\\Key]x", true},
      {"Software\\\\Key\\\\", "Software\\Key\\", true},
      {"Software\\\\Test\\\\Sub", "Software\\Test", false},  // a key under it
      {"Software\\\\Tes", "Software\\Test", false},          // shorter
      {"Software\\\\Tests", "Software\\Test", false},        // longer
      {"Software\\\\Test\\x", "Software\\Test", false},      // \x with no digit is "x"
      {"Software\\\\Test\\x0000", "Software\\Test", false},  // a NUL is a character
      {"Software\\\\T\xc3\xa9st", "Software\\Test", false},  // not ASCII
      {"Software\\\\Tes\xc5\xa5", "Software\\Tes\xc5\xa5", true},
      {"Software\\\\Tes\xc5\xa4", "Software\\Tes\xc5\xa5", true},  // small by letter case
      {"Software\\\\Te]st", "Software\\Te", true},                 // a bare "]" ends the key
      {"Software\\\\Test\\", "Software\\Test]", false},            // the bracket escaped: no end
  };
  const char* tail =
      "#arch=win64\n"
      "\"V\"=\"value\"\n"
      "\"Hex\"=hex:01,\\\n"
      "  [Software\\\\Other] 1,\\  \n"
      "  02\n"
      "@=\"default\"  \n"
      "\"Blank\"=hex:03,\\ \\\n"
      "\n"
      "\"After\"=\"x\"\r\n"
      "[Software\\\\Other] 2\n"
      "\"Other\"=\"o\"\n";
  for (const HeaderCase& c : cases) {
    const std::string text =
        std::string("[Software\\\\Before] 0\n\"B\"=\"b\"\n[") + c.header + "] 1700000000\n" + tail;
    const WineRegistry whole = WineRegistry::Parse(text);
    EXPECT_EQ(whole.HasKey(c.key), c.names_it) << c.header;
    for (size_t piece : {size_t{1}, size_t{5}, size_t{63}, size_t{64}, size_t{65}, text.size()}) {
      RegistryReader reader({c.key, "Software\\Other", "Software\\Wow6432Node\\Test"});
      for (size_t at = 0; at < text.size(); at += piece)
        reader.Feed(std::string_view(text).substr(at, piece));
      const WineRegistry kept = reader.Finish();
      EXPECT_EQ(kept.HasKey(c.key), c.names_it) << c.header << " in pieces of " << piece;
      EXPECT_TRUE(kept.is_win64()) << c.header;
      for (const char* name : {"V", "Hex", "", "Blank", "After"})
        EXPECT_TRUE(SameValue(kept.Find(c.key, name), whole.Find(c.key, name)))
            << c.header << " / " << name << " in pieces of " << piece;
      EXPECT_TRUE(
          SameValue(kept.Find("Software\\Other", "Other"), whole.Find("Software\\Other", "Other")))
          << c.header << " in pieces of " << piece;
      EXPECT_NE(kept.Find("Software\\Other", "Other"), nullptr) << c.header;
    }
  }
}

// Keys written in every encoding the file allows for each character, some
// of them cut short, lengthened or changed by one character: the reader
// keeping a few keys must agree with a whole parse on every one of them.
TEST(RegistryReaderTest, AgreesWithAWholeParseOnKeysWrittenAnyWay) {
  const std::vector<std::string> keys = {"Ta\\b",     "T[a",      "t]b\\", "Tab",
                                         "T\xc5\xa5", "Ta\\b\\c", "a"};
  std::mt19937 random(20261210);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  // One character of a key as the file may write it.
  auto encode = [&](char c) -> std::string {
    static const char kHex[] = "0123456789abcdef";
    const unsigned char u = static_cast<unsigned char>(c);
    switch (pick(4)) {
      case 0:
        if (u < 0x80) return std::string("\\x00") + kHex[u >> 4] + kHex[u & 15];
        break;
      case 1:
        if (u < 0x80)
          return std::string("\\") + char('0' + (u >> 6)) + char('0' + ((u >> 3) & 7)) +
                 char('0' + (u & 7));
        break;
      case 2:
        if (c >= 'a' && c <= 'z') return std::string(1, static_cast<char>(c - 32));
        if (c == '[') return "[";  // left bare
        break;
    }
    if (c == '\\' || c == '[' || c == ']') return std::string("\\") + c;
    return std::string(1, c);
  };
  const std::string noise[] = {"x", "\\", "]", "[", "\\x", "\xc3", "\\\\", "\\]"};
  for (int round = 0; round < 400; ++round) {
    std::string text = pick(2) ? "#arch=win64\n" : "";
    for (int header = 0; header < 6; ++header) {
      const std::string& key = keys[pick(keys.size())];
      std::string raw;
      for (char c : key) raw += encode(c);
      if (pick(3) == 0) {  // cut short, lengthened or changed
        const size_t at = pick(raw.size() + 1);
        const std::string& bit = noise[pick(std::size(noise))];
        raw = pick(2) ? raw.substr(0, at) + bit + raw.substr(at) : raw.substr(0, at) + bit;
      }
      text += "[" + raw + "] 1\n\"v\"=\"" + std::to_string(header) + "\"\n\n";
    }
    const WineRegistry whole = WineRegistry::Parse(text);
    std::vector<std::string> asked = {keys[pick(keys.size())], keys[pick(keys.size())]};
    RegistryReader reader(asked);
    const size_t piece = 1 + pick(80);
    for (size_t at = 0; at < text.size(); at += piece)
      reader.Feed(std::string_view(text).substr(at, piece));
    const WineRegistry kept = reader.Finish();
    for (const std::string& key : asked) {
      ASSERT_EQ(kept.HasKey(key), whole.HasKey(key)) << key << " in\n" << text;
      ASSERT_TRUE(SameValue(kept.Find(key, "v"), whole.Find(key, "v"))) << key << " in\n" << text;
    }
  }
}

TEST(RegistryReaderTest, AnOverlongLineIsSkippedAndTheRestIsRead) {
  // Past the line cap a value is dropped, in a kept key or not, and a
  // header of that length names no key: the values under it belong to none.
  const std::string huge(kMaxRegistryLine + 10, 'a');
  const std::string text =
      "[Software\\\\Test] 1\n\"Big\"=\"" + huge + "\"\n" + "\"Hex\"=hex:00,\\\n" +
      std::string(kMaxRegistryLine, '0') + ",\\\n 01\n" + "\"After\"=\"kept\"\n" + "[Software\\\\" +
      huge + "] 1\n" + "\"Lost\"=\"x\"\n" + "[Software\\\\Last] 1\n\"Name\"=\"last\"\n";
  for (bool all : {true, false}) {
    RegistryReader reader =
        all ? RegistryReader() : RegistryReader({"Software\\Test", "Software\\Last"});
    for (size_t at = 0; at < text.size(); at += 4096)
      reader.Feed(std::string_view(text).substr(at, 4096));
    WineRegistry registry = reader.Finish();
    std::string value;
    EXPECT_EQ(registry.Find("Software\\Test", "Big"), nullptr);
    EXPECT_EQ(registry.Find("Software\\Test", "Hex"), nullptr);
    ASSERT_NE(registry.Find("Software\\Test", "After"), nullptr);
    EXPECT_EQ(registry.Find("Software\\Test", "Lost"), nullptr);
    ASSERT_TRUE(RegistryValueText(*registry.Find("Software\\Last", "Name"), &value));
    EXPECT_EQ(value, "last");
  }
}

}  // namespace
}  // namespace brantvell
