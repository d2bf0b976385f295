#include "platform/process.h"

#include <gtest/gtest.h>

#include "platform/program_arguments.h"
#include "tests/support/wine_prefix.h"

namespace brantvell {
namespace {

TEST(PosixProcessTest, TempFallsBackToTmpdirThenTmp) {
  Process& process = Process::Real();
  ScopedVariable tmpdir("TMPDIR", "/var/tmp/uzivatel");
  {
    ScopedVariable temp("TEMP", "/srv/temp");
    EXPECT_EQ(process.Environment("TEMP"), "/srv/temp");
  }
  ScopedVariable no_temp("TEMP", nullptr);
  EXPECT_EQ(process.Environment("TEMP"), "/var/tmp/uzivatel");
  ScopedVariable empty_tmpdir("TMPDIR", "");
  EXPECT_EQ(process.Environment("TEMP"), "/tmp");
  // Only TEMP has a fall-back.
  ScopedVariable no_tmp("TMP", nullptr);
  EXPECT_EQ(process.Environment("TMP"), "");
}

TEST(PosixProcessTest, CommandTextJoinsTheArgumentsWithSpaces) {
  char program[] = "/opt/brantvell/brantvell";
  char action[] = "/action=cz";
  char target[] = "/target=C:\\Veldramona 2";
  char mode[] = "/mode=q";
  char* argv[] = {program, action, target, mode, nullptr};
  SetProgramArguments(4, argv);
  EXPECT_EQ(Process::Real().CommandText(), "/action=cz /target=C:\\Veldramona 2 /mode=q");
  SetProgramArguments(1, argv);
  EXPECT_EQ(Process::Real().CommandText(), "");
}

}  // namespace
}  // namespace brantvell
