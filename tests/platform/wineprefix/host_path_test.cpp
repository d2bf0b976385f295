#include "platform/host_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "tests/support/wine_prefix.h"

namespace brantvell {
namespace {

namespace fs = std::filesystem;

std::string Host(const std::string& path) {
  std::string host = "unchanged";
  EXPECT_TRUE(ToHostPath(path, &host)) << path;
  return host;
}

bool Maps(const std::string& path) {
  std::string host;
  return ToHostPath(path, &host);
}

TEST(HostPathTest, DrivePathsMatchExistingComponentsWithoutRegardToCase) {
  WinePrefix prefix;
  fs::create_directories(prefix.drive_c() / "Program Files" / "Halvorna");
  std::string c = prefix.drive_c().string();

  EXPECT_EQ(Host("C:\\PROGRAM FILES\\halvorna\\log.ini"), c + "/Program Files/Halvorna/log.ini");
  EXPECT_EQ(Host("c:\\Program Files\\Halvorna"), c + "/Program Files/Halvorna");
  // Missing components keep the case given, also below a missing one.
  EXPECT_EQ(Host("C:\\program files\\Nová\\Složka\\X.lnk"), c + "/Program Files/Nová/Složka/X.lnk");
}

TEST(HostPathTest, ExactCaseWinsOverOtherSpellings) {
  WinePrefix prefix;
  fs::create_directories(prefix.drive_c() / "data");
  fs::create_directories(prefix.drive_c() / "Data");
  fs::create_directories(prefix.drive_c() / "DATA");
  std::string c = prefix.drive_c().string();
  EXPECT_EQ(Host("C:\\data"), c + "/data");
  EXPECT_EQ(Host("C:\\Data"), c + "/Data");
  EXPECT_EQ(Host("C:\\DATA"), c + "/DATA");
  // No exact spelling: the choice does not depend on the listing order.
  EXPECT_EQ(Host("C:\\dAtA"), c + "/DATA");
}

TEST(HostPathTest, BothSlashesSeparateInsideDrivePaths) {
  WinePrefix prefix;
  fs::create_directories(prefix.drive_c() / "users" / "Public");
  std::string c = prefix.drive_c().string();
  EXPECT_EQ(Host("C:/Users\\\\public//Desktop"), c + "/users/Public/Desktop");
  EXPECT_EQ(Host("C:\\Users\\"), c + "/users/");
  EXPECT_EQ(Host("C:\\"), c + "/");
  EXPECT_EQ(Host("C:"), c);
}

TEST(HostPathTest, DotDotNeverClimbsAboveTheDriveRoot) {
  WinePrefix prefix;
  fs::create_directories(prefix.drive_c() / "users" / "Public");
  std::string c = prefix.drive_c().string();
  EXPECT_EQ(Host("C:\\users\\..\\users\\.\\Public"), c + "/users/Public");
  EXPECT_EQ(Host("C:\\..\\..\\..\\etc\\passwd"), c + "/etc/passwd");
  EXPECT_EQ(Host("C:\\users\\..\\..\\"), c + "/");
}

TEST(HostPathTest, PathsWithANulDoNotMap) {
  // The system would see only the part before the NUL: "C:\.." here.
  WinePrefix prefix;
  EXPECT_FALSE(Maps(std::string("C:\\..\0x", 7)));
  EXPECT_FALSE(Maps(std::string("C:\\windows\\..\0\\..\\etc", 21)));
  EXPECT_FALSE(Maps(std::string("/tmp/a\0b", 8)));
  EXPECT_TRUE(Maps("C:\\..x"));
}

// The prefix is a Windows file system: a folder or file whose name holds a
// character Windows names cannot hold is not found, even when the host has
// one of that name.
TEST(HostPathTest, NamesWindowsCannotHoldAreNotFound) {
  WinePrefix prefix;
  for (const char* name :
       {"a\x1b[2J", "tab\tname", "cr\r", "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "a:b"}) {
    fs::create_directories(prefix.drive_c() / name);
    EXPECT_FALSE(Maps(std::string("C:\\") + name)) << name;
    EXPECT_FALSE(Maps(std::string("C:\\") + name + "\\x.lnk")) << name;
    EXPECT_FALSE(FileSystem::Real().IsFolder(std::string("C:\\") + name)) << name;
  }
  EXPECT_TRUE(Maps("C:\\Veldramona (CZ)\\Nápověda – první kroky.lnk"));
  EXPECT_TRUE(Maps("C:\\a;b,c=d+e'f[g]h{i}j~k`l!m@n#o$p%q^r&s"));
}

TEST(HostPathTest, OtherDrivesFollowTheirLinks) {
  WinePrefix prefix;
  TempFolder elsewhere;
  fs::path target = fs::canonical(TempFolder::HostOf(elsewhere.path()));
  fs::create_directories(target / "Logs");
  prefix.AddDrive('d', target);
  prefix.AddDrive('z', "/");
  EXPECT_EQ(Host("D:\\LOGS\\a.txt"), (target / "Logs" / "a.txt").string());
  EXPECT_EQ(Host("z:\\tmp"), "/tmp");
  EXPECT_EQ(Host("Z:\\"), "/");
  EXPECT_FALSE(Maps("Q:\\anything"));
}

TEST(HostPathTest, PrefixWithoutDriveLinksStillHasDriveC) {
  WinePrefix prefix(false);
  EXPECT_EQ(Host("C:\\windows"), (prefix.drive_c() / "windows").string());
  EXPECT_FALSE(Maps("D:\\x"));
}

TEST(HostPathTest, NetworkPathsDoNotMap) {
  WinePrefix prefix;
  EXPECT_FALSE(Maps("\\\\server\\share\\log.ini"));
  EXPECT_FALSE(Maps("\\\\?\\C:\\log.ini"));
  EXPECT_FALSE(Maps("/\\server\\share"));
}

TEST(HostPathTest, OtherPathsAreHostPathsWithBackslashSeparators) {
  EXPECT_EQ(Host("/tmp\\Brantvell.TXT"), "/tmp/Brantvell.TXT");
  EXPECT_EQ(Host(".\\log.ini"), "./log.ini");
  EXPECT_EQ(Host("log.ini"), "log.ini");
  EXPECT_EQ(Host("relative\\Sub\\"), "relative/Sub/");
  EXPECT_EQ(Host("/opt/app"), "/opt/app");
  EXPECT_EQ(Host(""), "");
}

TEST(HostPathTest, PrefixComesFromWineprefixElseTheHomeFolder) {
  {
    ScopedVariable prefix("WINEPREFIX", "/srv/wine");
    EXPECT_EQ(WinePrefixFolder(), "/srv/wine");
  }
  ScopedVariable no_prefix("WINEPREFIX", nullptr);
  ScopedVariable home("HOME", "/home/uzivatel");
  EXPECT_EQ(WinePrefixFolder(), "/home/uzivatel/.wine");
}

}  // namespace
}  // namespace brantvell
