#include "platform/wineprefix/shell_link.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/error.h"

namespace brantvell {
namespace {

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes.at(at + i));
  return v;
}

uint16_t U16At(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes.at(at)) |
                               (static_cast<unsigned char>(bytes.at(at + 1)) << 8));
}

// Texts with Czech letters and an en dash (U+2013), the characters the
// shortcut names and folders of the program carry.
ShellLinkData CzechLink() {
  ShellLinkData link;
  link.target_path =
      "C:\\Program Files\\Veldramona \xe2\x80\x93 \xc4\x8c"
      "esk\xc3\xa1\\VR_CLT.exe";
  link.arguments =
      "/jazyk=\xc4\x8d"
      "e\xc5\xa1tina \"s mezerou\"";
  link.working_directory =
      "C:\\Program Files\\Veldramona \xe2\x80\x93 \xc4\x8c"
      "esk\xc3\xa1";
  link.description =
      "P\xc5\x99\xc3\xadru\xc4\x8dka \xe2\x80\x93 \xc5\xbdlu\xc5\xa5ou\xc4\x8dk\xc3\xbd "
      "k\xc5\xaf\xc5\x88";
  link.icon_path = link.target_path;
  link.icon_index = 3;
  link.show_command = 7;
  link.hotkey = 0x0646;  // Ctrl+Alt+F
  return link;
}

TEST(ShellLinkTest, ReadsBackEveryFieldItWrote) {
  ShellLinkData written = CzechLink();
  ShellLinkData read;
  ASSERT_TRUE(ReadShellLink(WriteShellLink(written), &read));
  EXPECT_EQ(read.target_path, written.target_path);
  EXPECT_EQ(read.arguments, written.arguments);
  EXPECT_EQ(read.working_directory, written.working_directory);
  EXPECT_EQ(read.description, written.description);
  EXPECT_EQ(read.icon_path, written.icon_path);
  EXPECT_EQ(read.icon_index, 3);
  EXPECT_EQ(read.show_command, 7u);
  EXPECT_EQ(read.hotkey, 0x0646);
}

TEST(ShellLinkTest, HeaderHoldsTheFixedFieldsAtTheirOffsets) {
  ShellLinkData link = CzechLink();
  link.icon_index = -2;
  std::string bytes = WriteShellLink(link);
  ASSERT_GE(bytes.size(), 0x4Cu);
  EXPECT_EQ(U32At(bytes, 0), 0x4Cu);
  EXPECT_EQ(bytes.substr(4, 16), std::string("\x01\x14\x02\x00\x00\x00\x00\x00"
                                             "\xC0\x00\x00\x00\x00\x00\x00\x46",
                                             16));
  // HasLinkInfo, HasName, HasWorkingDir, HasArguments, HasIconLocation, IsUnicode.
  EXPECT_EQ(U32At(bytes, 0x14), 0x02u | 0x04u | 0x10u | 0x20u | 0x40u | 0x80u);
  EXPECT_EQ(static_cast<int32_t>(U32At(bytes, 0x38)), -2);
  EXPECT_EQ(U32At(bytes, 0x3C), 7u);
  EXPECT_EQ(U16At(bytes, 0x40), 0x0646);
  // The file ends with the empty terminal block.
  EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string(4, '\0'));
}

TEST(ShellLinkTest, EmptyTextsLeaveTheirFlagsAndDataOut) {
  ShellLinkData link;
  link.target_path = "C:\\App\\help.chm";
  std::string bytes = WriteShellLink(link);
  EXPECT_EQ(U32At(bytes, 0x14), 0x02u | 0x80u);
  EXPECT_EQ(U32At(bytes, 0x3C), 1u);  // normal window by default
  // Header, LinkInfo, terminal block: nothing else.
  uint32_t info_size = U32At(bytes, 0x4C);
  EXPECT_EQ(bytes.size(), 0x4Cu + info_size + 4u);
  ShellLinkData read;
  ASSERT_TRUE(ReadShellLink(bytes, &read));
  EXPECT_EQ(read.target_path, link.target_path);
  EXPECT_EQ(read.arguments, "");
  EXPECT_EQ(read.description, "");
}

TEST(ShellLinkTest, LinkInfoNamesALocalFixedVolumeWithAnsiAndUnicodePaths) {
  ShellLinkData link;
  link.target_path = "C:\\\xc4\x8c\xe2\x80\x93\\a.exe";  // C:\Č–\a.exe
  std::string bytes = WriteShellLink(link);
  const size_t info = 0x4C;
  EXPECT_EQ(U32At(bytes, info + 4), 0x24u);  // header with the Unicode offsets
  EXPECT_EQ(U32At(bytes, info + 8), 1u);     // VolumeIDAndLocalBasePath
  EXPECT_EQ(U32At(bytes, info + 20), 0u);    // no network part
  size_t volume = info + U32At(bytes, info + 12);
  EXPECT_EQ(U32At(bytes, volume + 4), 3u);  // fixed drive
  EXPECT_EQ(U32At(bytes, volume + 8), 0u);  // serial number

  // ANSI in the Central European code page: Č is 0xC8, the en dash 0x96.
  size_t ansi = info + U32At(bytes, info + 16);
  EXPECT_EQ(bytes.substr(ansi, 12), std::string("C:\\\xC8\x96\\a.exe\0", 12));
  size_t suffix = info + U32At(bytes, info + 24);
  EXPECT_EQ(bytes.at(suffix), '\0');

  size_t unicode = info + U32At(bytes, info + 28);
  const uint16_t expected[] = {'C', ':', '\\', 0x010C, 0x2013, '\\', 'a', '.', 'e', 'x', 'e', 0};
  for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i)
    EXPECT_EQ(U16At(bytes, unicode + 2 * i), expected[i]) << i;
  size_t unicode_suffix = info + U32At(bytes, info + 32);
  EXPECT_EQ(U16At(bytes, unicode_suffix), 0);
  EXPECT_LE(unicode_suffix + 2, info + U32At(bytes, info));
}

TEST(ShellLinkTest, RefusesWhatALinkCannotHold) {
  ShellLinkData empty_target;
  EXPECT_THROW(WriteShellLink(empty_target), Error);

  ShellLinkData nul_target;
  nul_target.target_path = std::string("C:\\a\0b", 6);
  EXPECT_THROW(WriteShellLink(nul_target), Error);

  ShellLinkData longest;
  longest.target_path = "C:\\a.exe";
  longest.arguments = std::string(32767, 'x');
  ShellLinkData read;
  ASSERT_TRUE(ReadShellLink(WriteShellLink(longest), &read));
  EXPECT_EQ(read.arguments.size(), 32767u);

  // Characters outside the BMP take two UTF-16 units each.
  ShellLinkData too_long = longest;
  too_long.description = std::string(16383, 'x') + "\xf0\x9f\x98\x80";  // 16385 units
  EXPECT_NO_THROW(WriteShellLink(too_long));
  too_long.description = std::string(32766, 'x') + "\xf0\x9f\x98\x80";  // 32768 units
  try {
    WriteShellLink(too_long);
    ADD_FAILURE() << "a text of 32768 units was written";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.source(), "");
    EXPECT_EQ(e.description(), "Invalid procedure call or argument");
  }
}

TEST(ShellLinkTest, ReaderRejectsDamagedFilesWithoutReadingPastThem) {
  std::string bytes = WriteShellLink(CzechLink());
  ShellLinkData read;
  // Every cut before the string data ends loses something the flags promise.
  for (size_t n = 0; n + 4 < bytes.size(); ++n)
    EXPECT_FALSE(ReadShellLink(bytes.substr(0, n), &read)) << n;

  std::string wrong_class = bytes;
  wrong_class[4] = 0x02;
  EXPECT_FALSE(ReadShellLink(wrong_class, &read));

  std::string huge_link_info = bytes;
  huge_link_info[0x4C + 2] = 0x7F;  // LinkInfo larger than the file
  EXPECT_FALSE(ReadShellLink(huge_link_info, &read));

  std::string bad_offset = bytes;
  bad_offset.replace(0x4C + 28, 4, bytes.substr(0x4C, 4));  // Unicode path just past the LinkInfo
  EXPECT_FALSE(ReadShellLink(bad_offset, &read));
}

}  // namespace
}  // namespace brantvell
