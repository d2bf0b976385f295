// Which shortcut a desktop file stands for: our own entries (by their
// shortcut key, or older ones by the link their command opens), Wine's
// entries of the catalogue's links in this prefix, and nothing for others.
#include "platform/freedesktop/entry_sweep.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/freedesktop/desktop_file.h"

namespace brantvell {
namespace {

TEST(EntrySweep, ReadsTheWordsOfOurAndWinesCommands) {
  struct Case {
    const char* exec;  // as EntryValue gives it back
    std::vector<std::string> words;
  } cases[] = {
      {"env WINEPREFIX=/p wine \"C:\\\\a b\\\\X (CZ).lnk\"",
       {"env", "WINEPREFIX=/p", "wine", "C:\\a b\\X (CZ).lnk"}},
      {"env WINEPREFIX=\"/h/my p\" wine-stable C:\\\\a\\\\Start\\ Menu\\\\X\\ \\(CZ\\).lnk",
       {"env", "WINEPREFIX=/h/my p", "wine-stable", "C:\\a\\Start Menu\\X (CZ).lnk"}},
      {"  xdg-open   http://x  ", {"xdg-open", "http://x"}},
      {"a \"\" b", {"a", "", "b"}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ExecWords(c.exec), c.words) << c.exec;
}

TEST(EntrySweep, TellsWhichShortcutAnEntryStandsFor) {
  const std::string ours = "[Desktop Entry]\nExec=xdg-open http://x\nX-Brantvell-Prefix=/p\n";
  const std::string wine_cz =
      "C:\\\\\\\\ProgramData\\\\\\\\Halvorna\\\\\\\\Veldramona\\\\ \\\\(CZ\\\\).lnk";
  struct Case {
    std::string text;
    std::string shortcut;
    bool ours;
  } cases[] = {
      {ours + "X-Brantvell-Shortcut=C:\\\\G\\\\a.url\n", "C:\\G\\a.url", true},
      // An entry of ours from before the shortcut key: its command's link.
      {"[Desktop Entry]\nExec=env WINEPREFIX=/p wine \"C:\\\\\\\\G\\\\\\\\Nápověda.lnk\"\n"
       "X-Brantvell-Prefix=/p\n",
       "C:\\G\\Nápověda.lnk", true},
      {ours, "", true},
      {"[Desktop Entry]\nX-Brantvell-Prefix=/other\nX-Brantvell-Shortcut=C:\\\\a.lnk\n", "", true},
      {"[Desktop Entry]\nExec=env WINEPREFIX=\"/p\" wine " + wine_cz + "\n",
       "C:\\ProgramData\\Halvorna\\Veldramona (CZ).lnk", false},
      {"[Desktop Entry]\nExec=env WINEPREFIX=\"/p/\" wine " + wine_cz + "\n",
       "C:\\ProgramData\\Halvorna\\Veldramona (CZ).lnk", false},
      {"[Desktop Entry]\nExec=env WINEPREFIX=\"/q\" wine " + wine_cz + "\n", "", false},
      {"[Desktop Entry]\nExec=env WINEPREFIX=\"/p\" wine C:\\\\\\\\Moje.lnk\n", "", false},
      {"[Desktop Entry]\nExec=wine " + wine_cz + "\n", "", false},
      {"[Desktop Entry]\nExec=moje\n", "", false},
  };
  for (const Case& c : cases) {
    bool is_ours = !c.ours;
    EXPECT_EQ(EntryShortcut(c.text, "/p", "/p", &is_ours), c.shortcut) << c.text;
    EXPECT_EQ(is_ours, c.ours) << c.text;
  }
}

TEST(EntrySweep, RecordsAPrefixByItsRealPathEvenWhenItIsGone) {
  char made[] = "/tmp/entry_sweep_XXXXXX";
  ASSERT_NE(::mkdtemp(made), nullptr);
  char* real_dir = ::realpath(made, nullptr);
  ASSERT_NE(real_dir, nullptr);
  const std::string dir = real_dir;
  std::free(real_dir);
  ASSERT_EQ(::mkdir((dir + "/real").c_str(), 0700), 0);
  ASSERT_EQ(::symlink("real", (dir + "/link").c_str()), 0);
  char* cwd = ::getcwd(nullptr, 0);
  ASSERT_EQ(::chdir(dir.c_str()), 0);
  struct Case {
    std::string folder;
    std::string recorded;
  } cases[] = {
      {dir + "/real", dir + "/real"},
      {dir + "/real/", dir + "/real"},
      {dir + "/link", dir + "/real"},
      {dir + "/link/gone", dir + "/real/gone"},
      {dir + "/link/gone//", dir + "/real/gone"},
      {"gone", dir + "/gone"},
      {"/", "/"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrefixAsRecorded(c.folder), c.recorded) << c.folder;
  EXPECT_EQ(::chdir(cwd), 0);
  std::free(cwd);
  ::unlink((dir + "/link").c_str());
  ::rmdir((dir + "/real").c_str());
  ::rmdir(dir.c_str());
}

TEST(EntrySweep, EntriesNameTheirShortcut) {
  EntryFields fields;
  fields.name = "a";
  fields.prefix = "/p";
  fields.shortcut = "C:\\G\\a.url";
  std::string value;
  ASSERT_TRUE(EntryValue(EntryText(fields), kShortcutKey, &value));
  EXPECT_EQ(value, "C:\\G\\a.url");
}

}  // namespace
}  // namespace brantvell
