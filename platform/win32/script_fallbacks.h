// Stands in for members a scripting component lacks. Decided by what the
// object itself reports, never by which system the program runs on:
//  - a shortcut's FullName get that is not implemented answers the full path
//    the shortcut was created for;
//  - CreateShortcut of a ".url" path that gives no URL shortcut object (type
//    name "IWshURLShortcut") is served by the program's own UrlShortcutObject.
// Objects handed out by GetObject get the same treatment.
#ifndef BRANTVELL_PLATFORM_WIN32_SCRIPT_FALLBACKS_H_
#define BRANTVELL_PLATFORM_WIN32_SCRIPT_FALLBACKS_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/script_host.h"

namespace brantvell {

class FallbackScriptObject : public ScriptObject {
 public:
  // `shortcut_path`: the full path of the shortcut file `inner` was created
  // for, or empty when `inner` is no shortcut.
  explicit FallbackScriptObject(std::shared_ptr<ScriptObject> inner,
                                std::string shortcut_path = std::string());

  std::string TypeName() override;
  Value Get(const std::string& member, const std::vector<Value>& args = {}) override;
  std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                          const std::vector<Value>& args = {}) override;
  void Put(const std::string& member, const Value& value) override;

 private:
  std::shared_ptr<ScriptObject> CreateShortcut(const std::vector<Value>& args);

  std::shared_ptr<ScriptObject> inner_;
  std::string shortcut_path_;
  // The texts a link keeps only up to a length, as last put.
  std::string target_;
  std::string arguments_;
  std::string working_directory_;
};

// The absolute form of `path` (relative to the current folder); `path`
// itself when the system cannot resolve it.
std::string FullPathName(const std::string& path);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_SCRIPT_FALLBACKS_H_
