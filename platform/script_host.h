// Automation objects created by ProgID and called by member name at run time
// ("WScript.Shell", "Scripting.FileSystemObject" and the objects they hand
// out). On Windows these are the real components through IDispatch; on
// POSIX the same members are served against the Wine prefix.
// An interface so it can be mocked out for tests.
#ifndef BRANTVELL_PLATFORM_SCRIPT_HOST_H_
#define BRANTVELL_PLATFORM_SCRIPT_HOST_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/value.h"

namespace brantvell {

class ScriptObject {
 public:
  virtual ~ScriptObject() = default;

  // The type name the object reports ("IWshShell3", "IFileSystem3",
  // "IWshShortcut", ...).
  virtual std::string TypeName() = 0;

  // Calls method or property get `member` (name matched without regard to
  // case). Raises Error with the component's number, source and description
  // when the call fails.
  virtual Value Get(const std::string& member, const std::vector<Value>& args = {}) = 0;

  // Calls a member whose result is an object (CreateShortcut, GetFolder,
  // Files). Raises Error like Get.
  virtual std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                                  const std::vector<Value>& args = {}) = 0;

  // Sets property `member`. Raises Error like Get.
  virtual void Put(const std::string& member, const Value& value) = 0;
};

struct ScriptHost {
  virtual ~ScriptHost() = default;

  // A new instance of the component registered under `prog_id`. Raises Error
  // when it cannot be created.
  virtual std::shared_ptr<ScriptObject> Create(const std::string& prog_id) = 0;

  static ScriptHost& Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_SCRIPT_HOST_H_
