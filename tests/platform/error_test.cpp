#include "platform/error.h"

#include <gtest/gtest.h>

namespace brantvell {
namespace {

// Each raising form of the catalogue: its number, its source and the
// standard text (none for the numbers raised without one, or unknown).
TEST(ErrorCatalogueTest, RaisesNumberWithSourceAndStandardText) {
  const struct {
    int32_t number;
    const char* text;
  } cases[] = {
      {kErrInvalidProcedureCall, "Invalid procedure call or argument"},
      {kErrObjectNotSet, "Object variable or With block variable not set"},
      {kErrPathFileAccess, "Path/File access error"},
      {kErrWrongArgumentCount, "Wrong number of arguments or invalid property assignment"},
      {kErrSystemPathNotFound, ""},
      {kErrRunBusy, "Another run of Brantvell kept the shortcuts busy for the whole wait"},
      {kErrLogAllKinds, ""},
      {12345, ""},
  };
  for (const auto& c : cases) {
    Error own = OwnError(c.number);
    EXPECT_EQ(own.number(), c.number);
    EXPECT_EQ(own.source(), kOwnErrorSource);
    EXPECT_EQ(own.description(), c.text) << c.number;
    Error component = ComponentError(c.number);
    EXPECT_EQ(component.number(), c.number);
    EXPECT_EQ(component.source(), "");
    EXPECT_EQ(component.description(), c.text) << c.number;
    EXPECT_EQ(CatalogueError(c.number, "Other").source(), "Other");
  }
  Error worded = OwnError(kErrPathNotFound, "Cesta nebyla nalezena");
  EXPECT_EQ(worded.number(), kErrPathNotFound);
  EXPECT_EQ(worded.source(), kOwnErrorSource);
  EXPECT_EQ(worded.description(), "Cesta nebyla nalezena");
}

// A component's error without a description gets the system's text for its
// number and the path of the failing call; errors that say something, and
// the program's own, stay as they are.
TEST(ErrorTest, WithCauseFillsOnlyAnEmptyComponentDescription) {
  const int32_t access_denied = static_cast<int32_t>(0x80070005u);
  EXPECT_FALSE(SystemErrorText(kErrSystemFileNotFound).empty());
  EXPECT_FALSE(SystemErrorText(access_denied).empty());
  EXPECT_NE(SystemErrorText(kErrSystemFileNotFound), SystemErrorText(access_denied));
  EXPECT_EQ(StandardErrorText(kErrPermissionDenied), SystemErrorText(kErrPermissionDenied));
  EXPECT_EQ("", SystemErrorText(static_cast<int32_t>(0x8004FFFFu)));

  const struct {
    Error error;
    std::string description;
  } cases[] = {
      {Error(kErrSystemFileNotFound, "", ""),
       SystemErrorText(kErrSystemFileNotFound) + "\tHKLM\\Software\\x"},
      {Error(access_denied, "WshShortcut.Save", ""),
       SystemErrorText(access_denied) + "\tHKLM\\Software\\x"},
      {Error(static_cast<int32_t>(0x8004FFFFu), "", ""), "\tHKLM\\Software\\x"},
      {Error(kErrPermissionDenied, "", "Permission denied"), "Permission denied"},
      {Error(kErrPathNotFound, kOwnErrorSource, ""), ""},
  };
  for (const auto& c : cases) {
    Error named = WithCause(c.error, "HKLM\\Software\\x");
    EXPECT_EQ(c.error.number(), named.number());
    EXPECT_EQ(c.error.source(), named.source());
    EXPECT_EQ(c.description, named.description()) << c.error.number();
  }
}

}  // namespace
}  // namespace brantvell
