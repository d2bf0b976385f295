// The program's own internet shortcut: a ".url" file is a small INI text
// naming the address. Serves shortcut objects for ".url" paths where the
// scripting component cannot make a real internet shortcut.
#ifndef BRANTVELL_PLATFORM_WIN32_URL_SHORTCUT_H_
#define BRANTVELL_PLATFORM_WIN32_URL_SHORTCUT_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/script_host.h"

namespace brantvell {

// A URL shortcut object for the file `full_path`: members TargetPath (get,
// set), FullName (get) and Save; nothing is written before Save.
class UrlShortcutObject : public ScriptObject {
 public:
  explicit UrlShortcutObject(std::string full_path);

  std::string TypeName() override;
  Value Get(const std::string& member, const std::vector<Value>& args = {}) override;
  std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                          const std::vector<Value>& args = {}) override;
  void Put(const std::string& member, const Value& value) override;

 private:
  std::string path_;
  std::string target_;
};

// Writes `bytes` as the whole content of `path`: first to a temporary file
// beside it, which then replaces the file, so a failure never leaves a
// partly written one. Raises Error with the system error as an HRESULT
// number (-2147024893 for a missing folder).
void ReplaceFileContent(const std::string& path, const std::string& bytes);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_URL_SHORTCUT_H_
