#include "platform/script_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/win32/com_support.h"
#include "platform/win32/dispatch_object.h"
#include "platform/win32/script_fallbacks.h"
#include "platform/win32/url_shortcut.h"
#include "tests/support/caught_error.h"
#include "tests/support/file_bytes.h"

namespace brantvell {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kPathNotFound = -2147024893;  // 0x80070003

// A fresh folder under the temporary folder, removed with its contents.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device device;
    path_ = fs::temp_directory_path() /
            ("brantvell-com-" + std::to_string(device()) + std::to_string(device()));
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
  }

  std::string path() const { return path_.u8string(); }
  std::string operator/(const std::string& name) const { return (path_ / name).u8string(); }

  static void Write(const std::string& path, const std::string& bytes) {
    WriteFileBytes(fs::u8path(path), bytes);
  }
  static std::string Read(const std::string& path) { return ReadFileBytes(fs::u8path(path)); }

 private:
  fs::path path_;
};

std::shared_ptr<ScriptObject> Shell() { return ScriptHost::Real().Create("WScript.Shell"); }
std::shared_ptr<ScriptObject> Files() {
  return ScriptHost::Real().Create("Scripting.FileSystemObject");
}
Value Text(const std::string& text) { return Value::String(text); }

TEST(ScriptHostWin32Test, CreatesComponentsByProgIdAndReportsTheirTypeNames) {
  EXPECT_EQ(Shell()->TypeName(), "IWshShell3");
  EXPECT_EQ(Files()->TypeName(), "IFileSystem3");

  Error unknown = CaughtError([] { ScriptHost::Real().Create("Brantvell.NoSuchComponent"); });
  EXPECT_LT(unknown.number(), 0);
  EXPECT_EQ(unknown.source(), "");
}

TEST(ScriptHostWin32Test, ShellReadsSpecialFoldersAndRegistry) {
  Value desktop = Shell()->Get("SpecialFolders", {Text("AllUsersDesktop")});
  ASSERT_EQ(desktop.type(), Value::kString);
  EXPECT_FALSE(desktop.text().empty());

  Error missing = CaughtError(
      [] { Shell()->Get("RegRead", {Text("HKLM\\SOFTWARE\\Brantvell\\NoSuchKey\\NoSuchValue")}); });
  EXPECT_EQ(missing.number(), -2147024894);  // 0x80070002
}

TEST(ScriptHostWin32Test, MissingMemberIsError438) {
  Error error = CaughtError([] { Files()->Get("NoSuchMember"); });
  EXPECT_EQ(error.number(), 438);
  EXPECT_EQ(error.description(), "Object doesn't support this property or method");
  EXPECT_EQ(CaughtError([] { Shell()->Put("NoSuchProperty", Value::Long(1)); }).number(), 438);
}

TEST(ScriptHostWin32Test, FileSystemObjectTestsJoinsAndCounts) {
  ScratchFolder folder;
  ScratchFolder::Write(folder / "a.txt", "a");
  ScratchFolder::Write(folder / "b.txt", "b");
  ScratchFolder::Write(folder / "c.txt", "c");
  fs::create_directory(fs::u8path(folder / "sub"));
  ScratchFolder::Write(folder / "sub\\d.txt", "d");
  auto fso = Files();

  EXPECT_EQ(fso->Get("FolderExists", {Text(folder.path())}).integer(), -1);
  EXPECT_EQ(fso->Get("FolderExists", {Text(folder / "none")}).integer(), 0);
  EXPECT_EQ(fso->Get("FileExists", {Text(folder / "a.txt")}).type(), Value::kBoolean);
  EXPECT_EQ(fso->Get("FileExists", {Text(folder / "a.txt")}).integer(), -1);
  EXPECT_EQ(fso->Get("FileExists", {Text(folder / "none.txt")}).integer(), 0);
  EXPECT_EQ(fso->Get("FileExists", {Text(folder / "sub")}).integer(), 0);

  EXPECT_EQ(fso->Get("BuildPath", {Text("C:\\a"), Text("b")}).text(), "C:\\a\\b");
  EXPECT_EQ(fso->Get("BuildPath", {Text("C:\\a\\"), Text("b")}).text(), "C:\\a\\b");

  Value count =
      fso->GetObject("GetFolder", {Text(folder.path())})->GetObject("Files")->Get("Count");
  EXPECT_EQ(count.integer(), 3);
}

TEST(ScriptHostWin32Test, DeleteFileErrorsAreControlNumbers) {
  ScratchFolder folder;
  std::string file = folder / "locked.txt";
  ScratchFolder::Write(file, "x");
  auto fso = Files();
  fso->GetObject("GetFile", {Text(file)})->Put("Attributes", Value::Long(1));  // read-only

  EXPECT_EQ(CaughtError([&] {
              fso->Get("DeleteFile", {Text(folder / "missing.txt"), Value::Boolean(true)});
            }).number(),
            53);
  EXPECT_EQ(CaughtError([&] {
              fso->Get("DeleteFile", {Text(file), Value::Boolean(false)});
            }).number(),
            70);
  EXPECT_TRUE(fs::exists(fs::u8path(file)));
  fso->Get("DeleteFile", {Text(file), Value::Boolean(true)});
  EXPECT_FALSE(fs::exists(fs::u8path(file)));
}

TEST(ScriptHostWin32Test, LinkShortcutIsWrittenOnSaveAndKnowsItsPath) {
  ScratchFolder folder;
  std::string path = folder / "Program.lnk";
  auto shortcut = Shell()->GetObject("CreateShortcut", {Text(path)});
  EXPECT_EQ(shortcut->TypeName(), "IWshShortcut");
  shortcut->Put("TargetPath", Text("C:\\Veldramona\\VR_CLT.exe"));
  shortcut->Put("Arguments", Text("CZ"));
  shortcut->Put("WorkingDirectory", Text("C:\\Veldramona"));
  shortcut->Put("WindowStyle", Value::Long(1));
  shortcut->Put("IconLocation", Text("C:\\Veldramona\\VR_CLT.exe,0"));
  EXPECT_EQ(shortcut->Get("FullName").text(), path);
  EXPECT_FALSE(fs::exists(fs::u8path(path)));

  shortcut->Get("Save");
  EXPECT_EQ(ScratchFolder::Read(path).substr(0, 4), std::string("\x4C\0\0\0", 4));
}

TEST(ScriptHostWin32Test, UrlShortcutIsAnInternetShortcutFile) {
  ScratchFolder folder;
  std::string path = folder / "Web.URL";
  auto shortcut = Shell()->GetObject("CreateShortcut", {Text(path)});
  EXPECT_EQ(shortcut->TypeName(), "IWshURLShortcut");
  shortcut->Put("TargetPath", Text("https://www.example.com/start"));
  EXPECT_EQ(shortcut->Get("FullName").text(), path);
  shortcut->Get("Save");

  std::string content = ScratchFolder::Read(path);
  EXPECT_EQ(content.rfind("[InternetShortcut]\r\n", 0), 0u);
  EXPECT_NE(content.find("URL=https://www.example.com/start\r\n"), std::string::npos);
}

TEST(ScriptHostWin32Test, SavingIntoAMissingFolderFails) {
  ScratchFolder folder;
  for (const char* name : {"none\\App.lnk", "none\\Web.url"}) {
    auto shortcut = Shell()->GetObject("CreateShortcut", {Text(folder / name)});
    shortcut->Put("TargetPath", Text("C:\\Veldramona\\VR_CLT.exe"));
    EXPECT_EQ(CaughtError([&] { shortcut->Get("Save"); }).number(), kPathNotFound) << name;
  }
  EXPECT_FALSE(fs::exists(fs::u8path(folder / "none")));
}

// Values through a VARIANT and back, and through a real component's storage.
TEST(ScriptHostWin32Test, ValuesRoundTripThroughVariants) {
  std::vector<Value> values = {
      Value(),
      Value::Null(),
      Value::Integer(-12345),
      Value::Long(-2000000000),
      Value::Double(3.25),
      Value::String("Aplikace Veldramona není nainstalována."),
      Value::Boolean(true),
      Value::Boolean(false),
      Value::Date(36526.5),
      Value::Currency(123456789),
      Value::Byte(200),
      Value::ErrorCode(static_cast<int32_t>(0x800A0035u)),
      Value::Missing(),
      Value::Decimal("123.45"),
  };
  std::shared_ptr<ScriptObject> dictionary = ScriptHost::Real().Create("Scripting.Dictionary");
  for (size_t i = 0; i < values.size(); ++i) {
    const Value& value = values[i];
    Variant var;
    ValueToVariant(value, var.get());
    Value back = VariantToValue(*var.get());
    SCOPED_TRACE(i);
    EXPECT_EQ(back.type(), value.type());
    EXPECT_EQ(back.integer(), value.integer());
    EXPECT_EQ(back.real(), value.real());
    EXPECT_EQ(back.text(), value.text());
    EXPECT_EQ(back.is_missing(), value.is_missing());

    if (value.is_missing() || value.type() == Value::kDecimal) continue;
    dictionary->Get("Add", {Value::Long(static_cast<int32_t>(i)), value});
    Value stored = dictionary->Get("Item", {Value::Long(static_cast<int32_t>(i))});
    EXPECT_EQ(stored.type(), value.type());
    EXPECT_EQ(stored.integer(), value.integer());
    EXPECT_EQ(stored.real(), value.real());
    EXPECT_EQ(stored.text(), value.text());
  }
}

TEST(ScriptHostWin32Test, ObjectsAndArraysCrossTheBoundary) {
  // An object read as a value can be passed back to a component.
  std::shared_ptr<ScriptObject> dictionary = ScriptHost::Real().Create("Scripting.Dictionary");
  Value folder = Files()->Get("GetFolder", {Text(fs::temp_directory_path().u8string())});
  ASSERT_EQ(folder.type(), Value::kObject);
  ASSERT_NE(folder.object(), nullptr);
  EXPECT_EQ(folder.object()->TypeName(), "IFolder");
  Value path;
  ASSERT_TRUE(folder.object()->GetProperty("Path", &path));
  EXPECT_FALSE(path.text().empty());
  EXPECT_FALSE(folder.object()->GetProperty("NoSuchProperty", &path));
  dictionary->Get("Add", {Text("folder"), folder});
  EXPECT_EQ(dictionary->GetObject("Item", {Text("folder")})->TypeName(), "IFolder");

  dictionary->Get("Add", {Text("list"), Value::Array({Value::Long(7), Text("x")})});
  Value list = dictionary->Get("Item", {Text("list")});
  ASSERT_EQ(list.type(), Value::kArray | Value::kVariant);
  ASSERT_EQ(list.items().size(), 2u);
  EXPECT_EQ(list.items()[0].integer(), 7);
  EXPECT_EQ(list.items()[1].text(), "x");
  Value keys = dictionary->Get("Keys");
  ASSERT_EQ(keys.items().size(), 2u);
  EXPECT_EQ(keys.items()[1].text(), "list");

  EXPECT_EQ(CaughtError([&] { dictionary->GetObject("Count"); }).number(), 424);
}

TEST(ScriptHostWin32Test, ComponentOnlyKindsBecomeProgramValues) {
  // Typed arrays, as registry binaries and multi-strings arrive.
  SAFEARRAY* texts = SafeArrayCreateVector(VT_BSTR, 1, 2);
  ASSERT_NE(texts, nullptr);
  for (LONG i = 1; i <= 2; ++i) {
    Bstr text(i == 1 ? "první" : "second");
    ASSERT_EQ(SafeArrayPutElement(texts, &i, text.get()), S_OK);
  }
  Variant text_array;
  text_array.get()->vt = VT_ARRAY | VT_BSTR;
  text_array.get()->parray = texts;
  Value texts_value = VariantToValue(*text_array.get());
  EXPECT_EQ(texts_value.type(), Value::kArray | Value::kString);
  ASSERT_EQ(texts_value.items().size(), 2u);
  EXPECT_EQ(texts_value.items()[0].text(), "první");
  EXPECT_EQ(texts_value.items()[1].text(), "second");

  SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, 3);
  ASSERT_NE(bytes, nullptr);
  for (LONG i = 0; i < 3; ++i) {
    BYTE b = static_cast<BYTE>(250 + i);
    ASSERT_EQ(SafeArrayPutElement(bytes, &i, &b), S_OK);
  }
  Variant byte_array;
  byte_array.get()->vt = VT_ARRAY | VT_UI1;
  byte_array.get()->parray = bytes;
  Value bytes_value = VariantToValue(*byte_array.get());
  EXPECT_EQ(bytes_value.type(), Value::kArray | Value::kByte);
  ASSERT_EQ(bytes_value.items().size(), 3u);
  EXPECT_EQ(bytes_value.items()[2].integer(), 252);

  // Integer kinds the program has no type for: Long when it fits, else Double.
  Variant small;
  small.get()->vt = VT_UI4;
  small.get()->ulVal = 7;
  EXPECT_EQ(VariantToValue(*small.get()).type(), Value::kLong);
  EXPECT_EQ(VariantToValue(*small.get()).integer(), 7);
  Variant large;
  large.get()->vt = VT_I8;
  large.get()->llVal = 5000000000LL;
  EXPECT_EQ(VariantToValue(*large.get()).type(), Value::kDouble);
  EXPECT_EQ(VariantToValue(*large.get()).real(), 5e9);

  // A value held by reference is read through.
  LONG target = 42;
  VARIANT by_reference;
  by_reference.vt = VT_BYREF | VT_I4;
  by_reference.plVal = &target;
  EXPECT_EQ(VariantToValue(by_reference).integer(), 42);

  VARIANT record = {};
  record.vt = VT_RECORD;  // never cleared: it holds no record
  EXPECT_EQ(CaughtError([&] { VariantToValue(record); }).number(), 458);
  // A kind a component cannot hold is refused on the way out.
  EXPECT_EQ(CaughtError([&] {
              Variant out;
              ValueToVariant(Value::UserType(), out.get());
            }).number(),
            13);
}

TEST(ComErrorTest, NumbersAsAVisualBasicCallerSeesThem) {
  EXPECT_EQ(ComErrorNumber(static_cast<HRESULT>(0x800A0035u)), 53);
  EXPECT_EQ(ComErrorNumber(static_cast<HRESULT>(0x800A0046u)), 70);
  EXPECT_EQ(ComErrorNumber(static_cast<HRESULT>(0x800A004Cu)), 76);
  EXPECT_EQ(ComErrorNumber(static_cast<HRESULT>(0x80070002u)), -2147024894);
  EXPECT_EQ(ComError(DISP_E_UNKNOWNNAME).number(), 438);
  EXPECT_EQ(ComError(DISP_E_MEMBERNOTFOUND, "src", "").source(), "src");
  Error kept = ComError(E_FAIL, "Component", "It failed");
  EXPECT_EQ(kept.number(), static_cast<int32_t>(0x80004005u));
  EXPECT_EQ(kept.source(), "Component");
  EXPECT_EQ(kept.description(), "It failed");
  EXPECT_EQ(SystemMessage(static_cast<HRESULT>(0x80070002u)).find('\n'), std::string::npos);
}

// A stand-in for a component's shortcut object with members that fail.
class FakeObject : public ScriptObject {
 public:
  std::string type_name = "IWshShortcut";
  std::function<Value(const std::string&)> get;
  std::vector<std::string> created;

  std::string TypeName() override { return type_name; }
  Value Get(const std::string& member, const std::vector<Value>&) override { return get(member); }
  std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                          const std::vector<Value>& args) override {
    created.push_back(member + " " + args.at(0).text());
    return child;
  }
  void Put(const std::string&, const Value&) override {}

  std::shared_ptr<FakeObject> child;
};

TEST(ScriptFallbacksTest, FullNameAnswersTheCreatedPathOnlyWhenNotImplemented) {
  ScratchFolder folder;
  auto shell = std::make_shared<FakeObject>();
  shell->child = std::make_shared<FakeObject>();
  FallbackScriptObject host_shell(shell);
  std::string path = folder / "App.lnk";

  shell->child->get = [](const std::string&) -> Value { throw ComError(E_NOTIMPL); };
  EXPECT_EQ(host_shell.GetObject("createshortcut", {Text(path)})->Get("fullname").text(), path);
  EXPECT_EQ(shell->created.back(), "CreateShortcut " + path);

  shell->child->get = [](const std::string&) -> Value { throw ComError(DISP_E_MEMBERNOTFOUND); };
  EXPECT_EQ(host_shell.GetObject("CreateShortcut", {Text(path)})->Get("FullName").text(), path);

  shell->child->get = [](const std::string&) { return Value::String("C:\\Own\\Answer.lnk"); };
  EXPECT_EQ(host_shell.GetObject("CreateShortcut", {Text(path)})->Get("FullName").text(),
            "C:\\Own\\Answer.lnk");

  // Other failures, and other members, are the component's own.
  shell->child->get = [](const std::string&) -> Value { throw Error(5, "Comp", "Bad"); };
  auto shortcut = host_shell.GetObject("CreateShortcut", {Text(path)});
  EXPECT_EQ(CaughtError([&] { shortcut->Get("FullName"); }).number(), 5);
  shell->child->get = [](const std::string&) -> Value { throw ComError(E_NOTIMPL); };
  EXPECT_EQ(CaughtError([&] { shortcut->Get("TargetPath"); }).number(), ComErrorNumber(E_NOTIMPL));
  // An object that is no shortcut has no path to answer.
  shell->get = [](const std::string&) -> Value { throw ComError(E_NOTIMPL); };
  EXPECT_EQ(CaughtError([&] { host_shell.Get("FullName"); }).number(), ComErrorNumber(E_NOTIMPL));
}

TEST(ScriptFallbacksTest, UrlPathIsServedByOwnWriterOnlyWithoutAUrlShortcut) {
  ScratchFolder folder;
  auto shell = std::make_shared<FakeObject>();
  shell->child = std::make_shared<FakeObject>();
  FallbackScriptObject host_shell(shell);

  auto own = host_shell.GetObject("CreateShortcut", {Text(folder / "Web.Url")});
  EXPECT_EQ(own->TypeName(), "IWshURLShortcut");
  own->Put("targetpath", Text("https://bank.example/"));
  EXPECT_EQ(own->Get("TargetPath").text(), "https://bank.example/");
  own->Get("save");
  EXPECT_EQ(ScratchFolder::Read(folder / "Web.Url"),
            "[InternetShortcut]\r\nURL=https://bank.example/\r\n");
  EXPECT_EQ(CaughtError([&] { own->Put("Arguments", Text("x")); }).number(), 438);

  // A component that makes URL shortcuts itself keeps them.
  shell->child->type_name = "IWshURLShortcut";
  shell->child->get = [](const std::string& member) { return Value::String("own " + member); };
  auto component = host_shell.GetObject("CreateShortcut", {Text(folder / "Other.url")});
  EXPECT_EQ(component->Get("Save").text(), "own Save");
  EXPECT_FALSE(fs::exists(fs::u8path(folder / "Other.url")));

  // A ".lnk" path never goes to the own writer.
  shell->child->type_name = "IWshShortcut";
  EXPECT_EQ(host_shell.GetObject("CreateShortcut", {Text(folder / "App.lnk")})->Get("Save").text(),
            "own Save");
}

TEST(UrlShortcutTest, SaveReplacesWholeFilesAndRejectsLineBreaks) {
  ScratchFolder folder;
  std::string path = folder / "Web.url";
  ScratchFolder::Write(path, std::string(500, 'x'));
  UrlShortcutObject shortcut(path);
  shortcut.Put("TargetPath", Text("http://a/"));
  shortcut.Get("Save");
  EXPECT_EQ(ScratchFolder::Read(path), "[InternetShortcut]\r\nURL=http://a/\r\n");

  shortcut.Put("TargetPath", Text("http://a/\r\nIconFile=C:\\evil.ico"));
  EXPECT_EQ(CaughtError([&] { shortcut.Get("Save"); }).number(), 5);
  EXPECT_EQ(ScratchFolder::Read(path), "[InternetShortcut]\r\nURL=http://a/\r\n");

  // Nothing is left behind beside the file.
  size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(fs::u8path(folder.path()))) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1u);

  EXPECT_EQ(CaughtError([&] { ReplaceFileContent(folder / "none\\x.url", "x"); }).number(),
            kPathNotFound);
}

}  // namespace
}  // namespace brantvell
