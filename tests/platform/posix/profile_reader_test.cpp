#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/file_system.h"
#include "tests/support/wine_prefix.h"

namespace brantvell {
namespace {

namespace fs = std::filesystem;

TEST(PosixProfileReaderTest, ReadsTheFileOnEveryCall) {
  TempFolder temp;
  std::string ini = temp / "log.ini";
  ProfileReader& reader = ProfileReader::Real();
  EXPECT_EQ(reader.Read(ini, "Brantvell", "DebugLog"), "");

  ASSERT_TRUE(FileSystem::Real().AppendText(ini, "[Brantvell]\r\nDebugLog = \"OFF\"\r\n"));
  EXPECT_EQ(reader.Read(ini, "BRANTVELL", "debuglog"), "OFF");
  EXPECT_EQ(reader.Read(ini, "Brantvell", "InfoLog"), "");
  EXPECT_EQ(reader.Read(ini, "Default", "DebugLog"), "");

  ASSERT_TRUE(FileSystem::Real().AppendText(ini, "[Default]\r\nDebugLog=FILE,MSGBOX\r\n"));
  EXPECT_EQ(reader.Read(ini, "Default", "DebugLog"), "FILE,MSGBOX");
}

TEST(PosixProfileReaderTest, DrivePathsAreReadInsideThePrefix) {
  WinePrefix prefix;
  fs::create_directories(prefix.drive_c() / "Program Files" / "Brantvell");
  std::ofstream(prefix.drive_c() / "Program Files" / "Brantvell" / "Log.ini")
      << "[Default]\ndefault=ON\n";
  ProfileReader& reader = ProfileReader::Real();
  EXPECT_EQ(reader.Read("C:\\program files\\BRANTVELL\\log.ini", "Default", "default"), "ON");
  EXPECT_EQ(reader.Read("Q:\\log.ini", "Default", "default"), "");
  EXPECT_EQ(reader.Read("\\\\server\\share\\log.ini", "Default", "default"), "");
}

TEST(PosixProfileReaderTest, AFolderIsNoIniFile) {
  TempFolder temp;
  EXPECT_EQ(ProfileReader::Real().Read(temp.path(), "Default", "default"), "");
}

}  // namespace
}  // namespace brantvell
