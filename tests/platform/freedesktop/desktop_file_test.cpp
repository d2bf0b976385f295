// Desktop file texts: the Exec quoting and value escapes, where a shortcut's
// entry belongs, reading values back, and the desktop folder of
// user-dirs.dirs.
#include "platform/freedesktop/desktop_file.h"

#include <gtest/gtest.h>

#include "platform/freedesktop/desktop_places.h"

namespace brantvell {
namespace {

TEST(DesktopFile, QuotesExecArguments) {
  struct Case {
    const char* argument;
    const char* quoted;
  } cases[] = {
      {"wine", "wine"},
      {"WINEPREFIX=/home/u/.wine", "WINEPREFIX=/home/u/.wine"},
      {"", "\"\""},
      {"a b", "\"a b\""},
      {"Nápověda (CZ)", "\"Nápověda (CZ)\""},
      {"Příručka – první", "\"Příručka – první\""},
      {"C:\\a\\b.lnk", "\"C:\\\\a\\\\b.lnk\""},
      {"say \"hi\" $HOME `x`", "\"say \\\"hi\\\" \\$HOME \\`x\\`\""},
      {"100%", "100%%"},
      {"it's", "\"it's\""},
      {"a;b&c|d<e>f*g?h#i~j", "\"a;b&c|d<e>f*g?h#i~j\""},
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteExecArgument(c.argument), c.quoted) << c.argument;
}

TEST(DesktopFile, ExecValueQuotesThenEscapes) {
  // The value escape doubles the backslashes the quoting added.
  EXPECT_EQ(ExecValue({"env", "WINEPREFIX=/p q", "wine", "C:\\x (1).lnk"}),
            "env \"WINEPREFIX=/p q\" wine \"C:\\\\\\\\x (1).lnk\"");
  EXPECT_EQ(EscapeEntryValue(" a\tb\nc\\d"), "\\sa\\tb\\nc\\\\d");
}

TEST(DesktopFile, WebEntryIsAnApplicationOpeningItsAddress) {
  EntryFields fields;
  fields.name = "Web";
  fields.exec = WebCommand("https://a.example/x y?q=100%&r=$HOME#\"z\"");
  fields.startup_notify = false;
  std::string text = EntryText(fields);
  EXPECT_EQ(text,
            "[Desktop Entry]\nType=Application\nName=Web\n"
            "Exec=xdg-open \"https://a.example/x y?q=100%%&r=\\\\$HOME#\\\\\"z\\\\\"\"\n");
  std::string exec;
  ASSERT_TRUE(EntryValue(text, "Exec", &exec));
  EXPECT_EQ(exec, "xdg-open \"https://a.example/x y?q=100%%&r=\\$HOME#\\\"z\\\"\"");
}

// No control character reaches a value: those without an escape of their
// own become U+FFFD, in every key of an entry.
TEST(DesktopFile, ValuesHoldNoControlCharacters) {
  EXPECT_EQ(EscapeEntryValue("C:\x1b[2J\x07\x7f\xC2\x9B"),
            "C:\xEF\xBF\xBD[2J\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(EscapeEntryValue("a\rb"), "a\\rb");
  EntryFields fields;
  fields.name = "Veldramona\x1b";
  fields.exec = {"env", "WINEPREFIX=/p\x1bq", "wine", "C:\\x.lnk"};
  fields.working_folder = "/p\x1bq/drive_c/V\x01";
  fields.prefix = "/p\x1bq";
  const std::string text = EntryText(fields);
  size_t controls = 0;
  for (char c : text) {
    if (c != '\n' && (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)) ++controls;
  }
  EXPECT_EQ(0u, controls) << text;
}

TEST(DesktopFile, ReadsBackWhatItWrites) {
  EntryFields fields;
  fields.name = " Pomocník\\(SK)\n";
  fields.exec = {"wine", "x"};
  fields.prefix = "/p";
  std::string text = EntryText(fields) + "[Desktop Action x]\nName=other\n";
  std::string value;
  ASSERT_TRUE(EntryValue(text, "Name", &value));
  EXPECT_EQ(value, fields.name);
  ASSERT_TRUE(EntryValue(text, kPrefixKey, &value));
  EXPECT_EQ(value, "/p");
  EXPECT_FALSE(EntryValue(text, "URL", &value));
  EXPECT_FALSE(EntryValue("[Other]\nX-Brantvell-Prefix=/p\n", kPrefixKey, &value));
}

TEST(DesktopFile, PlacesShortcutsLikeWinesMenuBuilder) {
  struct Case {
    const char* path;
    EntryPlace place;
    std::vector<std::string> folders;
    const char* name;
  } cases[] = {
      {"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Halvorna\\Nápověda (CZ).lnk",
       EntryPlace::kMenu,
       {"Halvorna"},
       "Nápověda (CZ)"},
      {"c:\\users\\u\\AppData\\Roaming\\Microsoft\\Windows\\START MENU\\programs\\a\\b\\x.URL",
       EntryPlace::kMenu,
       {"a", "b"},
       "x"},
      {"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Halvorna",
       EntryPlace::kMenu,
       {},
       "Halvorna"},
      {"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs", EntryPlace::kNone, {}, ""},
      {"C:\\users\\Public\\Desktop\\Veldramona (SK).lnk",
       EntryPlace::kDesktop,
       {},
       "Veldramona (SK)"},
      {"C:\\Veldramona\\Desktop\\x.lnk", EntryPlace::kNone, {}, ""},
      {"C:\\temp\\x.lnk", EntryPlace::kNone, {}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> folders;
    std::string name;
    EXPECT_EQ(PlaceOf(c.path, &folders, &name), c.place) << c.path;
    EXPECT_EQ(folders, c.folders) << c.path;
    EXPECT_EQ(name, c.name) << c.path;
  }
  EXPECT_EQ(MenuId({"Halvorna"}), "wine-Programs-Halvorna");
}

TEST(DesktopFile, MenuFileNestsTheFoldersAndEscapes) {
  std::string menu = MenuText({"A&B"}, "wine-Programs-A&B-x.desktop");
  EXPECT_NE(menu.find("<Name>wine-Programs-A&amp;B</Name>"), std::string::npos);
  EXPECT_NE(menu.find("<Directory>wine-wine.directory</Directory>"), std::string::npos);
  EXPECT_NE(menu.find("<Filename>wine-Programs-A&amp;B-x.desktop</Filename>"), std::string::npos);
  size_t opened = 0, closed = 0;
  for (size_t at = 0; (at = menu.find("<Menu>", at)) != std::string::npos; ++at) ++opened;
  for (size_t at = 0; (at = menu.find("</Menu>", at)) != std::string::npos; ++at) ++closed;
  EXPECT_EQ(opened, 4u);
  EXPECT_EQ(closed, 4u);
}

TEST(DesktopPlaces, DesktopFolderOfUserDirs) {
  struct Case {
    const char* text;
    const char* desktop;
  } cases[] = {
      {"XDG_DESKTOP_DIR=\"$HOME/Plocha\"\n", "/h/Plocha"},
      {"# c\nXDG_DOWNLOAD_DIR=\"$HOME/x\"\n  XDG_DESKTOP_DIR=\"/abs/D\"  \r\n", "/abs/D"},
      {"XDG_DESKTOP_DIR=\"$HOME\"\n", "/h"},
      {"XDG_DESKTOP_DIR=\"$HOMEX/D\"\n", ""},
      {"XDG_DESKTOP_DIR=relative\n", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DesktopDirFromUserDirs(c.text, "/h"), c.desktop) << c.text;
}

}  // namespace
}  // namespace brantvell
