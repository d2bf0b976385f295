#include "platform/process.h"

#include <gtest/gtest.h>

#include "platform/win32/win32.h"

namespace brantvell {
namespace {

TEST(Win32ProcessTest, EnvironmentReadsUnicodeValues) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRANTVELL_TEST_VALUE", L"C:\\U\u017eivatel\\Temp"));
  EXPECT_EQ(Process::Real().Environment("BRANTVELL_TEST_VALUE"), "C:\\Uživatel\\Temp");
  EXPECT_EQ(Process::Real().Environment("brantvell_test_value"), "C:\\Uživatel\\Temp");
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRANTVELL_TEST_VALUE", nullptr));
  EXPECT_EQ(Process::Real().Environment("BRANTVELL_TEST_VALUE"), "");
}

TEST(Win32ProcessTest, CommandTextLeavesOutTheProgramPath) {
  std::string text = Process::Real().CommandText();
  EXPECT_EQ(text.find("platform_tests"), std::string::npos) << text;
  EXPECT_TRUE(text.empty() || (text[0] != ' ' && text[0] != '\t')) << text;
}

}  // namespace
}  // namespace brantvell
