#include "setup/string_table.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/text.h"

namespace brantvell {
namespace {

TEST(StringTableTest, EscapedCharactersComeOutAsTheirCharacters) {
  StringTable& table = StringTable::Real();
  EXPECT_EQ("/CID=\"0470\"", table.Load(116));
  EXPECT_EQ("/CID=\"8470\"", table.Load(216));
  EXPECT_EQ("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe\\Path",
            table.Load(11));
  EXPECT_EQ("\\Loader.exe", table.Load(115));
  EXPECT_EQ("\\veldramona_sk.chm", table.Load(225));
}

TEST(StringTableTest, CzechAndSlovakTextsAreUtf8) {
  StringTable& table = StringTable::Real();
  // The dash of the manual's names is an en dash, one character.
  EXPECT_EQ("P\xC5\x99\xC3\xADru\xC4\x8Dka \xE2\x80\x93 prvn\xC3\xAD kroky Veldramona",
            table.Load(131));
  EXPECT_EQ(33u, CharCount(table.Load(131)));
  EXPECT_EQ("Certifika\xC4\x8Dn\xC3\xBD sprievodca", table.Load(241));
  EXPECT_EQ(
      "N\xC3\xA1pov\xC4\x9B"
      "da (CZ)",
      table.Load(122));
}

TEST(StringTableTest, SuffixedNamesAreThePlainNamesWithTheLanguage) {
  StringTable& table = StringTable::Real();
  for (int id : {111, 121, 131}) {
    EXPECT_EQ(table.Load(id) + " (CZ)", table.Load(id + 1)) << id;
  }
  for (int id : {211, 221, 231}) {
    EXPECT_EQ(table.Load(id) + " (SK)", table.Load(id + 1)) << id;
  }
  EXPECT_EQ(table.Load(141), table.Load(142));
  EXPECT_EQ(table.Load(145), table.Load(245));
}

TEST(StringTableTest, WebAddressesAreWhereTheRowsSay) {
  StringTable& table = StringTable::Real();
  EXPECT_EQ(0u, table.Load(135).find("http://"));
  EXPECT_NE(std::string::npos, table.Load(135).find("/file/cs/veldramona_prvni_kroky.pdf"));
  EXPECT_NE(std::string::npos, table.Load(235).find("/file/cs/veldramona_prvni_kroky_SK.pdf"));
  EXPECT_EQ(0u, table.Load(145).find("https://"));
  EXPECT_NE(std::string::npos, table.Load(145).find("/CertWizard.html#locale=cz"));
  // The web-site shortcuts are named after the host they open.
  EXPECT_EQ("http://" + table.Load(151), table.Load(155));
  EXPECT_EQ("http://" + table.Load(251), table.Load(255));
  EXPECT_NE(table.Load(155), table.Load(255));
}

TEST(StringTableTest, MissingRowRaisesAnErrorOfTheProgram) {
  for (int id : {0, 12, 242, 999}) {
    try {
      StringTable::Real().Load(id);
      ADD_FAILURE() << id;
    } catch (const Error& error) {
      EXPECT_EQ(kErrResourceNotFound, error.number());
      EXPECT_EQ(kOwnErrorSource, error.source());
      EXPECT_NE(std::string::npos, error.description().find(std::to_string(id)));
    }
  }
}

}  // namespace
}  // namespace brantvell
