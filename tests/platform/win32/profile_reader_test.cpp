#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/profile_text.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"
#include "tests/support/temp_folder.h"

namespace brantvell {
namespace {

// The system's profile reader and the program's own INI reader (used where
// there is no system reader) must agree on every rule the log relies on.
TEST(Win32ProfileReaderTest, SystemReaderAgreesWithOurOwn) {
  const std::string ini =
      "; log switches\r\n"
      "early=before any section\r\n"
      "[Default]\r\n"
      "DebugLog=FILE\r\n"
      "default = MSGBOX , FILE \r\n"
      "[Brantvell]\r\n"
      "debuglog=\"MSGBOX,OFF\"\r\n"
      "InfoLog='ON'\r\n"
      "SysLog=  \" padded \"  \r\n"
      "ERRLOG=\"unbalanced\r\n"
      "Post=\r\n"
      "Perf_I=first\r\n"
      "PERF_I=second\r\n"
      ";Perf_II=commented\r\n"
      "[Other]\r\n"
      "DebugLog=other\r\n"
      "[BRANTVELL]\r\n"
      "Perf_SQL=in the second section of the name\r\n";
  TempFolder temp;
  std::string path = temp / "log.ini";
  ASSERT_TRUE(FileSystem::Real().AppendText(path, ini));

  const char* sections[] = {"Default", "Brantvell", "brantvell", "Other", "Missing", ""};
  const char* keys[] = {"DebugLog", "default", "InfoLog", "SysLog",   "ERRLOG",  "Post",
                        "Perf_I",   "Perf_II", "early",   "Perf_SQL", "DEBUGLOG"};
  for (const char* section : sections) {
    for (const char* key : keys) {
      EXPECT_EQ(ProfileReader::Real().Read(path, section, key), ProfileValue(ini, section, key))
          << "[" << section << "] " << key;
    }
  }
}

TEST(Win32ProfileReaderTest, ValuesComeBackThroughTheAnsiCodePage) {
  TempFolder temp;
  std::string path = temp / "log.ini";
  const std::string value = "Žluťoučký kůň";
  ASSERT_TRUE(FileSystem::Real().AppendText(path, "[Brantvell]\r\nPopis=" + value + "\r\n"));
  EXPECT_EQ(ProfileReader::Real().Read(path, "Brantvell", "Popis"),
            SystemAnsiToUtf8(Utf8ToSystemAnsi(value)));
}

TEST(Win32ProfileReaderTest, MissingFileOrLongValues) {
  TempFolder temp;
  EXPECT_EQ(ProfileReader::Real().Read(temp / "missing.ini", "Default", "default"), "");
  std::string path = temp / "log.ini";
  ASSERT_TRUE(
      FileSystem::Real().AppendText(path, "[Default]\r\ndefault=" + std::string(2000, 'x')));
  EXPECT_EQ(ProfileReader::Real().Read(path, "Default", "default"), std::string(1023, 'x'));
}

}  // namespace
}  // namespace brantvell
