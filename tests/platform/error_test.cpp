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

}  // namespace
}  // namespace brantvell
