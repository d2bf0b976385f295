#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/win32.h"
#include "tests/support/temp_folder.h"

namespace brantvell {
namespace {

// The ANSI bytes the system itself makes of `wide`.
std::string SystemAnsi(const std::wstring& wide) {
  int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &ansi[0], size,
                      nullptr, nullptr);
  return ansi;
}

TEST(Win32FileSystemTest, AppendWritesTheAnsiCodePageWithoutByteOrderMark) {
  TempFolder temp;
  const std::string text = "DebugLog: Příliš žluťoučký kůň úpěl ďábelské ódy €\r\n";
  const std::wstring wide =
      L"DebugLog: P\u0159\u00edli\u0161 \u017elu\u0165ou\u010dk\u00fd k\u016f\u0148 "
      L"\u00fap\u011bl \u010f\u00e1belsk\u00e9 \u00f3dy \u20ac\r\n";
  ASSERT_TRUE(FileSystem::Real().AppendText(temp / "Brantvell.TXT", text));
  std::string written = TempFolder::ReadBytes(temp / "Brantvell.TXT");
  EXPECT_EQ(written, SystemAnsi(wide));
  EXPECT_EQ(written.size(), wide.size());
}

TEST(Win32FileSystemTest, HiddenAndSystemFilesExistButAreNotListed) {
  TempFolder temp;
  FileSystem& files = FileSystem::Real();
  ASSERT_TRUE(files.AppendText(temp / "hidden", "x"));
  ASSERT_TRUE(files.AppendText(temp / "system", "x"));
  ASSERT_TRUE(files.AppendText(temp / "readonly", "x"));
  ASSERT_TRUE(
      SetFileAttributesW((TempFolder::HostOf(temp / "hidden")).c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(
      SetFileAttributesW((TempFolder::HostOf(temp / "system")).c_str(), FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(
      SetFileAttributesW((TempFolder::HostOf(temp / "readonly")).c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_TRUE(files.FileExists(temp / "hidden"));
  EXPECT_TRUE(files.FileExists(temp / "system"));
  EXPECT_TRUE(files.FileExists(temp / "readonly"));
  std::vector<std::string> names;
  ASSERT_TRUE(files.ListFolder(temp.path(), &names));
  EXPECT_EQ(names, std::vector<std::string>{"readonly"});

  EXPECT_FALSE(files.DeleteFile(temp / "readonly"));
  EXPECT_TRUE(files.FileExists(temp / "readonly"));
  SetFileAttributesW((TempFolder::HostOf(temp / "readonly")).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32FileSystemTest, ListsTheCurrentFolderForAnEmptyPath) {
  TempFolder temp;
  FileSystem& files = FileSystem::Real();
  ASSERT_TRUE(files.AppendText(temp / "Brantvell_200101.TXT", "x"));
  std::wstring previous(MAX_PATH, L'\0');
  previous.resize(GetCurrentDirectoryW(MAX_PATH, &previous[0]));
  ASSERT_TRUE(SetCurrentDirectoryW(TempFolder::HostOf(temp.path()).c_str()));
  std::vector<std::string> empty_path;
  std::vector<std::string> dot_path;
  bool listed_empty = files.ListFolder("", &empty_path);
  bool listed_dot = files.ListFolder(".\\", &dot_path);
  SetCurrentDirectoryW(previous.c_str());
  EXPECT_TRUE(listed_empty);
  EXPECT_TRUE(listed_dot);
  EXPECT_EQ(empty_path, std::vector<std::string>{"Brantvell_200101.TXT"});
  EXPECT_EQ(dot_path, std::vector<std::string>{"Brantvell_200101.TXT"});
}

}  // namespace
}  // namespace brantvell
