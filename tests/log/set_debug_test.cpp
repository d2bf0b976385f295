#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "log/cls_log_share.h"
#include "platform/text.h"
#include "tests/support/log_test_support.h"

namespace brantvell {
namespace {

// An object with whatever properties the test gives it.
class FakeObject : public ValueObject {
 public:
  std::map<std::string, Value> properties;
  std::string type_name = "FakeClass";

  bool GetProperty(const std::string& name, Value* out) const override {
    auto it = properties.find(name);
    if (it == properties.end()) return false;
    *out = it->second;
    return true;
  }
  std::string TypeName() const override { return type_name; }
};

std::shared_ptr<FakeObject> MakeObject(std::map<std::string, Value> properties,
                                       std::string type_name = "FakeClass") {
  auto object = std::make_shared<FakeObject>();
  object->properties = std::move(properties);
  object->type_name = std::move(type_name);
  return object;
}

class SetDebugTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    UseOneFile();
    log_->SetEnable(3, "", 1);
  }
  // The text part of the one debug record written for `values`.
  std::string Written(const std::string& text, std::vector<Value> values) {
    OneFile().clear();
    EXPECT_TRUE(log_->SetDebug(text, Value::Array(std::move(values)), 0));
    const std::string& file = OneFile();
    EXPECT_EQ(file.compare(0, 10, "DebugLog: "), 0) << file;
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
    size_t tab = file.find('\t');
    return file.substr(tab + 1, file.size() - tab - 3);
  }
  std::string One(const Value& value) { return Written("", {value}); }
};

TEST_F(SetDebugTest, TextAloneLosesTrailingCommaPairs) {
  EXPECT_EQ(Written("abc", {}), "abc");
  EXPECT_EQ(Written("abc, , ", {}), "abc");
  EXPECT_EQ(Written("abc,", {}), "abc,");
}

TEST_F(SetDebugTest, ValuesFollowTheTextWithTheirTags) {
  EXPECT_EQ(Written("T ", {Value::Integer(5), Value::String("abc"), Value()}),
            "T 5(int), abc, empty");
}

TEST_F(SetDebugTest, TagOfEveryKind) {
  EXPECT_EQ(One(Value::Null()), "null");
  EXPECT_EQ(One(Value::Integer(-7)), "-7(int)");
  EXPECT_EQ(One(Value::Long(2147483647)), "2147483647(long)");
  EXPECT_EQ(One(Value::Single(1.5f)), "1.5(single)");
  EXPECT_EQ(One(Value::Single(0.1f)), "0.1(single)");
  EXPECT_EQ(One(Value::Double(3.25)), "3.25(double)");
  EXPECT_EQ(One(Value::Double(1.0 / 3)), "0.333333333333333(double)");
  EXPECT_EQ(One(Value::Double(1e20)), "1E+20(double)");
  EXPECT_EQ(One(Value::Currency(125000)), "12.5(curr)");
  EXPECT_EQ(One(Value::Currency(-30001)), "-3.0001(curr)");
  EXPECT_EQ(One(Value::Date(46363)), "2026/12/07(date)");
  EXPECT_EQ(One(Value::Date(46363.75)), "2026/12/07 18:00:00(date)");
  EXPECT_EQ(One(Value::Date(0.5)), "12:00:00(date)");
  EXPECT_EQ(One(Value::Date(-1.5)), "1899/12/29 12:00:00(date)");
  EXPECT_EQ(One(Value::String("plain")), "plain");
  EXPECT_EQ(One(Value::ErrorCode(5)), "Error 5(err)");
  EXPECT_EQ(One(Value::Missing()), "(missing)");
  EXPECT_EQ(One(Value::Boolean(true)), "True(bln)");
  EXPECT_EQ(One(Value::Boolean(false)), "False(bln)");
  EXPECT_EQ(One(Value::ByRef(Value::Long(9))), "9(var)");
  EXPECT_EQ(One(Value::DataObject(MakeObject({{"Name", Value::String("rs")}}))), "rs(dtobj)");
  EXPECT_EQ(One(Value::DataObject(MakeObject({}))), "(dtobj)");
  EXPECT_EQ(One(Value::Decimal("123.45")), "123.45(dec)");
  EXPECT_EQ(One(Value::Byte(200)), "200(byte)");
  EXPECT_EQ(One(Value::UserType()), "(usertype)");
  EXPECT_EQ(One(Value::Array({Value::Long(1)})), "(array)");
  EXPECT_EQ(One(Value::Array({}, Value::kString)), "(array)");
}

TEST_F(SetDebugTest, NumbersAndDatesFollowTheLocale) {
  fakes_.clock.separators = {".", "-", ","};
  EXPECT_EQ(One(Value::Double(3.25)), "3,25(double)");
  EXPECT_EQ(One(Value::Currency(125000)), "12,5(curr)");
  EXPECT_EQ(One(Value::Decimal("123.45")), "123,45(dec)");
  EXPECT_EQ(One(Value::Date(46363.75)), "2026.12.07 18-00-00(date)");
}

TEST_F(SetDebugTest, ValueWithoutTextAddsNothing) {
  // A date far beyond the calendar cannot be written; its neighbours can.
  EXPECT_EQ(Written("", {Value::Long(1), Value::Date(1e10), Value::Long(2)}), "1(long), 2(long)");
  EXPECT_EQ(One(Value::ByRef(Value::Null())), "");
}

TEST_F(SetDebugTest, ObjectNames) {
  EXPECT_EQ(One(Value::Object(MakeObject(
                {{"ClassName", Value::String("clsX")}, {"InstanceID", Value::Long(3)}}))),
            "clsX:3(obj)");
  EXPECT_EQ(One(Value::Object(MakeObject(
                {{"Name", Value::String("frmMain")}, {"InstanceID", Value::Integer(7)}}))),
            "frmMain:7(obj)");
  EXPECT_EQ(One(Value::Object(
                MakeObject({{"Name", Value::String("frmMain")}, {"InstanceID", Value::Long(-1)}}))),
            "frmMain(obj)");
  EXPECT_EQ(One(Value::Object(MakeObject({{"Name", Value::String("frmMain")}}))), "frmMain(obj)");
  // The id is read as any number is: Empty is 0, a text is its number.
  EXPECT_EQ(
      One(Value::Object(MakeObject({{"Name", Value::String("frmMain")}, {"InstanceID", Value()}}))),
      "frmMain:0(obj)");
  EXPECT_EQ(One(Value::Object(MakeObject(
                {{"Name", Value::String("frmMain")}, {"InstanceID", Value::String(" 7 ")}}))),
            "frmMain:7(obj)");
  // ClassName wins over Name.
  EXPECT_EQ(One(Value::Object(
                MakeObject({{"ClassName", Value::String("A")}, {"Name", Value::String("B")}}))),
            "A(obj)");
  // An unreadable ClassName falls through to Name.
  EXPECT_EQ(
      One(Value::Object(MakeObject({{"ClassName", Value::Null()}, {"Name", Value::String("B")}}))),
      "B(obj)");
  // Without ClassName and Name the id is not read.
  EXPECT_EQ(One(Value::Object(MakeObject({{"InstanceID", Value::Long(4)}}, "IWshShell3"))),
            "IWshShell3(obj)");
  EXPECT_EQ(One(Value::Object(nullptr)), "Nothing(obj)");
  EXPECT_EQ(One(Value::Object(MakeObject({}, ""))),
            "???"
            "(obj)");
}

TEST_F(SetDebugTest, LongElementKeepsItsStartAndTag) {
  std::string name(200, 'x');
  EXPECT_EQ(One(Value::Object(MakeObject({{"Name", Value::String(name)}}))),
            std::string(128, 'x') + "...(obj)");
  // Counted in characters, not bytes.
  std::string czech;
  for (int i = 0; i < 200; ++i) czech += "č";
  std::string cut;
  for (int i = 0; i < 128; ++i) cut += "č";
  EXPECT_EQ(One(Value::Object(MakeObject({{"Name", Value::String(czech)}}))), cut + "...(obj)");
}

TEST_F(SetDebugTest, LongElementIsCutOnlyWithAParenthesisPastTheLimit) {
  // A name of 127 characters puts the "(" of its tag at position 128: kept
  // whole. One more character moves it past the limit.
  std::string name(127, 'y');
  EXPECT_EQ(One(Value::Object(MakeObject({{"Name", Value::String(name)}}))), name + "(obj)");
  name += 'y';
  EXPECT_EQ(One(Value::Object(MakeObject({{"Name", Value::String(name)}}))), name + "...(obj)");
  // A long string has no tag: cut only when it holds a "(" past the limit.
  EXPECT_EQ(One(Value::String(std::string(300, 's'))), std::string(300, 's'));
  std::string early = "(" + std::string(299, 's');
  EXPECT_EQ(One(Value::String(early)), early);
  std::string late = std::string(130, 's') + "(tail)";
  EXPECT_EQ(One(Value::String(late)), std::string(128, 's') + "...(tail)");
}

TEST_F(SetDebugTest, HexLookingTextsAreMasked) {
  std::string hex40 = "0123456789abcdefABCDEF0123456789abcdef01";
  ASSERT_EQ(hex40.size(), 40u);
  EXPECT_EQ(One(Value::String(hex40)), std::string(40, '*'));
  EXPECT_EQ(One(Value::String(hex40.substr(0, 36))), hex40.substr(0, 36));
  EXPECT_EQ(One(Value::String(hex40.substr(0, 37))), std::string(37, '*'));
  std::string hex50 = hex40 + "0123456789";
  EXPECT_EQ(One(Value::String(hex50)), std::string(50, '*'));
  EXPECT_EQ(One(Value::String(hex50 + "1")), hex50 + "1");
  std::string with_g = hex40;
  with_g[20] = 'G';
  EXPECT_EQ(One(Value::String(with_g)), with_g);
  std::string vb_hex = "&H" + hex40.substr(0, 38);
  EXPECT_EQ(One(Value::String(vb_hex)), std::string(40, '*'));
  EXPECT_EQ(One(Value::ByRef(Value::String(hex40))), std::string(40, '*') + "(var)");
  // The text of the record itself is not masked.
  EXPECT_EQ(Written(hex40, {}), hex40);
}

TEST_F(SetDebugTest, EveryTrailingCommaPairGoes) {
  EXPECT_EQ(Written("T", {Value::String("x, , ")}), "Tx");
  EXPECT_EQ(Written("T", {Value::Long(1), Value::String(""), Value::String("")}), "T1(long)");
}

TEST_F(SetDebugTest, WholeTextIsCutTo2048Characters) {
  EXPECT_EQ(Written(std::string(3000, 'a'), {}), std::string(2048, 'a'));
  std::string czech;
  for (int i = 0; i < 3000; ++i) czech += "ž";
  std::string written = Written(czech, {});
  EXPECT_EQ(CharCount(written), 2048u);
  EXPECT_EQ(written, CharSubstr(czech, 0, 2048));
  // Trailing pairs go before the cut, even those that reach below it.
  EXPECT_EQ(Written(std::string(2047, 'a'), {Value::String(", , , ")}), std::string(2047, 'a'));
  std::vector<Value> many(1000, Value::Long(12345));
  std::string text = Written("", many);
  EXPECT_EQ(text.size(), 2048u);
  EXPECT_EQ(text.substr(0, 24), "12345(long), 12345(long)");
}

// Texts far longer than the record (a whole command line) come out as a
// short text does: cut at a "(" past the item limit, trailing comma pairs
// gone, then cut to the record's length, whatever lies beyond it.
TEST_F(SetDebugTest, VeryLongTextsComeOutAsShortOnesDo) {
  const std::string mb(1 << 20, 'a');
  std::string zs;
  for (int i = 0; i < 100000; ++i) zs += "ž";
  std::string pairs;
  for (int i = 0; i < 100000; ++i) pairs += ", ";
  const struct {
    const char* what;
    std::string text;
    std::vector<Value> values;
    std::string written;
  } cases[] = {
      {"long record text", "T\t" + mb, {}, "T\t" + mb.substr(0, 2046)},
      {"long value", "T\t", {Value::String(mb)}, "T\t" + mb.substr(0, 2046)},
      {"long value, then more", "", {Value::String(mb), Value::Long(1)}, mb.substr(0, 2048)},
      {"two-byte characters", "", {Value::String(zs)}, CharSubstr(zs, 0, 2048)},
      {"a late parenthesis",
       "T",
       {Value::String(mb + "(tail)")},
       "T" + mb.substr(0, 128) + "...(tail)"},
      {"a late parenthesis, long tail",
       "",
       {Value::String(std::string(200, 's') + "(" + mb)},
       std::string(128, 's') + "...(" + mb.substr(0, 2048 - 132)},
      {"an early parenthesis", "", {Value::String("(" + mb)}, "(" + mb.substr(0, 2047)},
      {"comma pairs after the limit", "", {Value::String(mb + pairs)}, mb.substr(0, 2048)},
      {"comma pairs reaching below the limit",
       "",
       {Value::String(std::string(2000, 'a') + pairs)},
       std::string(2000, 'a')},
      {"nothing but comma pairs", "T", {Value::String(pairs), Value::String(pairs)}, "T"},
      {"a cut character at the end", "", {Value::String(mb + "\xC5")}, mb.substr(0, 2048)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Written(c.text, c.values), c.written);
  }
}

TEST_F(SetDebugTest, ResultIsTheDebugRecordsResult) {
  log_->SetEnable(3, "", 0);
  EXPECT_TRUE(log_->SetDebug("x", Value::Array({Value::Long(1)}), 0));
  EXPECT_EQ(fakes_.files.append_calls, 0);
  EXPECT_FALSE(log_->SetDebug("x", Value::Array({}), 4));
  log_->SetEnable(3, "", 1);
  log_->SetDirectory("C:\\Missing");
  EXPECT_FALSE(log_->SetDebug("x", Value::Array({}), 0));
}

}  // namespace
}  // namespace brantvell
