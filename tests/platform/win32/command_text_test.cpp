#include "platform/win32/command_text.h"

#include <gtest/gtest.h>

namespace brantvell {
namespace {

TEST(CommandTextTest, RemovesTheProgramPathAndTheBlanksAfterIt) {
  EXPECT_EQ(CommandTextAfterProgram("\"C:\\Program Files\\App\\Brantvell.exe\" /action=cz"),
            "/action=cz");
  EXPECT_EQ(CommandTextAfterProgram("C:\\App\\Brantvell.exe \t  /action=cz"), "/action=cz");
  EXPECT_EQ(CommandTextAfterProgram("Brantvell\t/mode=q"), "/mode=q");
  EXPECT_EQ(CommandTextAfterProgram("\"C:\\a b\\x.exe\"/mode=q"), "/mode=q");
}

TEST(CommandTextTest, KeepsTheRestAsTyped) {
  EXPECT_EQ(CommandTextAfterProgram("x.exe  /action=cz   /target=\"C:\\Veldramona 2\"  "),
            "/action=cz   /target=\"C:\\Veldramona 2\"  ");
  EXPECT_EQ(CommandTextAfterProgram("\"x.exe\" \"quoted first\" rest"), "\"quoted first\" rest");
}

TEST(CommandTextTest, ProgramAloneGivesEmptyText) {
  EXPECT_EQ(CommandTextAfterProgram(""), "");
  EXPECT_EQ(CommandTextAfterProgram("Brantvell.exe"), "");
  EXPECT_EQ(CommandTextAfterProgram("\"C:\\a b\\Brantvell.exe\"   "), "");
  EXPECT_EQ(CommandTextAfterProgram("\"C:\\never closed /action=cz"), "");
}

}  // namespace
}  // namespace brantvell
