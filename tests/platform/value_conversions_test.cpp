#include "platform/value_conversions.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"

namespace brantvell {
namespace {

// The number and source of the error `convert` raises; 0 when it raises
// none.
template <typename Convert>
std::pair<int32_t, std::string> Raised(Convert convert) {
  try {
    convert();
  } catch (const Error& error) {
    return {error.number(), error.source()};
  }
  return {0, ""};
}

TEST(ValueConversionsTest, TextOfEveryKindThatHasOne) {
  const struct {
    Value value;
    const char* text;
  } cases[] = {
      {Value(), ""},
      {Value::String(" a b "), " a b "},
      {Value::Decimal("123.45"), "123.45"},
      {Value::Boolean(true), "True"},
      {Value::Boolean(false), "False"},
      {Value::Integer(-7), "-7"},
      {Value::Long(2147483647), "2147483647"},
      {Value::Byte(255), "255"},
      {Value::Double(0.1), "0.1"},
      {Value::Single(1.5f), "1.5"},
      {Value::ByRef(Value::ByRef(Value::String("in"))), "in"},
  };
  for (const auto& c : cases) EXPECT_EQ(CoerceToText(c.value), c.text) << c.text;
}

TEST(ValueConversionsTest, BooleanAndNumberReadings) {
  EXPECT_FALSE(CoerceToBool(Value()));
  EXPECT_FALSE(CoerceToBool(Value::Missing()));
  EXPECT_TRUE(CoerceToBool(Value::Long(2)));
  EXPECT_TRUE(CoerceToBool(Value::Double(0.5)));
  EXPECT_TRUE(CoerceToBool(Value::String(" TRUE ")));
  EXPECT_FALSE(CoerceToBool(Value::String("false")));
  EXPECT_TRUE(CoerceToBool(Value::String("-1")));
  EXPECT_TRUE(CoerceToBool(Value::ByRef(Value::Boolean(true))));

  EXPECT_EQ(CoerceToLong(Value()), 0);
  EXPECT_EQ(CoerceToLong(Value::Boolean(true)), -1);
  EXPECT_EQ(CoerceToLong(Value::Double(2.5)), 2);  // halves to even
  EXPECT_EQ(CoerceToLong(Value::Double(3.5)), 4);
  EXPECT_EQ(CoerceToLong(Value::String(" 42 ")), 42);
}

// A value with no such reading: Type mismatch, or Overflow out of range,
// from the source the caller names (none by default).
TEST(ValueConversionsTest, NoReadingRaisesFromTheNamedSource) {
  const std::pair<int32_t, std::string> mismatch{kErrTypeMismatch, ""};
  EXPECT_EQ(Raised([] { CoerceToText(Value::Null()); }), mismatch);
  EXPECT_EQ(Raised([] { CoerceToText(Value::Object(nullptr)); }), mismatch);
  EXPECT_EQ(Raised([] { CoerceToText(Value::Array({})); }), mismatch);
  EXPECT_EQ(Raised([] { CoerceToBool(Value::String("yes")); }), mismatch);
  EXPECT_EQ(Raised([] { CoerceToLong(Value::String("12a")); }), mismatch);
  EXPECT_EQ(Raised([] { CoerceToLong(Value::Double(2147483648.0)); }),
            std::make_pair(kErrOverflow, std::string()));
  EXPECT_EQ(Raised([] { CoerceToText(Value::Null(), kOwnErrorSource); }),
            std::make_pair(kErrTypeMismatch, std::string(kOwnErrorSource)));
  EXPECT_EQ(Raised([] { CoerceToLong(Value::Double(-3e9), kOwnErrorSource); }),
            std::make_pair(kErrOverflow, std::string(kOwnErrorSource)));
}

}  // namespace
}  // namespace brantvell
