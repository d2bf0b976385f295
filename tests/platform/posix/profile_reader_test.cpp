#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

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

TEST(PosixProfileReaderTest, WhatIsNoRegularFileOrTooLargeReadsAsMissing) {
  // Each must answer "" at once: a FIFO without a writer, a link to an
  // endless device, a file past the size cap (its settings at the start).
  const std::string settings = "[Default]\ndefault=ON\n";
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
  } cases[] = {
      {"fifo", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
      {"link to /dev/zero", [](const std::string& path) { fs::create_symlink("/dev/zero", path); }},
      {"oversized",
       [&](const std::string& path) {
         std::ofstream(path) << settings;
         fs::resize_file(path, (1 << 20) + 1);
       }},
  };
  for (const Case& c : cases) {
    TempFolder temp;
    std::string ini = temp / "log.ini";
    std::string host = ini;  // the same file by its POSIX name
    std::replace(host.begin(), host.end(), '\\', '/');
    c.make(host);
    EXPECT_EQ(ProfileReader::Real().Read(ini, "Default", "default"), "") << c.name;
    // Put right, the file is read at the next question.
    fs::remove(host);
    std::ofstream(host) << settings;
    EXPECT_EQ(ProfileReader::Real().Read(ini, "Default", "default"), "ON") << c.name;
  }
}

}  // namespace
}  // namespace brantvell
