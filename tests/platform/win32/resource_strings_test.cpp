#include "platform/resource_strings.h"

#include <gtest/gtest.h>

#include <string>

namespace brantvell {
namespace {

// The test program links test_strings.rc: the program's rows in the Czech
// block plus an English block that differs in row 10.

TEST(ResourceStringsTest, ReadsCzechRowsAsUtf8) {
  std::string text;
  ASSERT_TRUE(LoadResourceString(10, &text));
  EXPECT_EQ("Halvorna", text);  // not the English block's row 10

  ASSERT_TRUE(LoadResourceString(11, &text));
  EXPECT_EQ("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe\\Path",
            text);

  ASSERT_TRUE(LoadResourceString(131, &text));
  EXPECT_EQ("P\xC5\x99\xC3\xADru\xC4\x8Dka \xE2\x80\x93 prvn\xC3\xAD kroky Veldramona", text);

  ASSERT_TRUE(LoadResourceString(216, &text));
  EXPECT_EQ("/CID=\"8470\"", text);
}

struct Row {
  int id;
  const char* text;
};

constexpr Row kSourceRows[] = {
#define BRANTVELL_STRING(id, text) {id, text},
#include "resources/string_table.inc"
#undef BRANTVELL_STRING
};

// The resource compiler and the C++ compiler read the same row source; every
// row, escapes and accented letters included, must come out the same.
TEST(ResourceStringsTest, EveryRowMatchesTheCompiledSource) {
  for (const Row& row : kSourceRows) {
    std::string text;
    EXPECT_TRUE(LoadResourceString(row.id, &text)) << row.id;
    EXPECT_EQ(row.text, text) << row.id;
  }
}

TEST(ResourceStringsTest, MissingRowsGiveFalseAndLeaveTheTextAlone) {
  const int missing[] = {
      0,      // first row of a Czech block that has rows
      113,    // gap between rows of a Czech block
      242,    // the Slovak wizard has no suffixed name
      256,    // the row after the last one
      300,    // only in the English block
      5000,   // no block at all
      -1,     // not a row id
      65536,  // beyond 16-bit ids
  };
  for (int id : missing) {
    std::string text = "unchanged";
    EXPECT_FALSE(LoadResourceString(id, &text)) << id;
    EXPECT_EQ("unchanged", text) << id;
  }
}

}  // namespace
}  // namespace brantvell
