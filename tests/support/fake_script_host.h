// An in-memory stand-in for the two scripting components: a Windows-like
// file system of folders, plain files and shortcut files, special folders
// and registry values. Paths compare without regard to letter case. Every
// member call is recorded so tests can check what was asked in which order.
#ifndef BRANTVELL_TESTS_SUPPORT_FAKE_SCRIPT_HOST_H_
#define BRANTVELL_TESTS_SUPPORT_FAKE_SCRIPT_HOST_H_

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/script_host.h"
#include "platform/value.h"

namespace brantvell {

// Source of the errors the fake components raise.
constexpr char kFakeComponentSource[] = "Microsoft VBScript runtime error";

struct FakeFile {
  std::string path;  // as first written
  bool read_only = false;
  // Set for files written by a shortcut object's Save.
  bool shortcut = false;
  std::string target_path;
  std::string arguments;
  std::string working_directory;
  std::string icon_location;
  std::optional<int64_t> window_style;
};

class FakeScriptHost : public ScriptHost {
 public:
  FakeScriptHost();

  std::shared_ptr<ScriptObject> Create(const std::string& prog_id) override;

  // The world.
  void AddFolder(const std::string& path);  // with every missing parent
  void AddFile(const std::string& path, bool read_only = false);
  bool HasFolder(const std::string& path) const;
  bool HasFile(const std::string& path) const;
  const FakeFile* File(const std::string& path) const;
  // Full paths of the files directly in `folder`, sorted.
  std::vector<std::string> FilesIn(const std::string& folder) const;
  // What MakeSureDirectoryPathExists does: every folder up to the last
  // backslash. Recorded as a call.
  bool MakePath(const std::string& path);
  // What CheckFolderTakesFiles does, against `locked_folders`: a locked
  // folder raises the save's "Permission denied"; a missing folder whose
  // nearest existing folder above is locked raises "Path not found".
  // Recorded as a call.
  void ProbeFolder(const std::string& folder);
  // Folders (keys) no file can be saved into, nor a folder made in.
  std::set<std::string> locked_folders;

  std::map<std::string, std::string> special_folders;
  std::map<std::string, Value> registry;  // full value path -> data
  // ProgID -> error Create raises.
  std::map<std::string, Error> create_failures;
  // Member name (any case) -> error any call of it raises.
  std::map<std::string, Error> member_failures;

  // "Create WScript.Shell", "IFileSystem3.FileExists(C:\a)",
  // "IWshShortcut.TargetPath=C:\x", ...
  std::vector<std::string> calls;
  // Calls whose text starts with `prefix`.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;

  // Component objects alive right now.
  int live_objects = 0;

  // Used by the fake objects.
  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& path);
  void Record(const std::string& call) { calls.push_back(call); }
  void FailIfAsked(const std::string& member) const;
  std::set<std::string> folders_;          // keys
  std::map<std::string, FakeFile> files_;  // key -> file
};

// Text of a value as the fake records it.
std::string FakeValueText(const Value& value);

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_FAKE_SCRIPT_HOST_H_
