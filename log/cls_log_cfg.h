// The log writer's configuration reader: for one log kind of one component
// it answers the output state, from the INI file, then from the marker files
// beside it (unnamed component only), then from the caller's own value.
// Nothing is cached: every question reads the file again, so edits count the
// next time a writer loads its settings.
#ifndef BRANTVELL_LOG_CLS_LOG_CFG_H_
#define BRANTVELL_LOG_CLS_LOG_CFG_H_

#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/profile_reader.h"

namespace brantvell {

class clsLogCfg {
 public:
  // The services are borrowed; they must outlive the reader.
  clsLogCfg(ProfileReader* profile, FileSystem* files);

  const std::string& INIFile() const { return ini_file_; }
  void SetINIFile(const std::string& path) { ini_file_ = path; }

  // The output state (0 to 3) of kind `eRecType` for the component
  // (empty name: the unnamed default component). A named component with
  // nothing configured keeps `eDefaultValue`. Never raises an error.
  int32_t GetSetting(int32_t eRecType, int32_t eDefaultValue, const std::string& strComponentName);

 private:
  // The state the INI file gives; -1 when it gives none.
  int32_t GetIniSetting(int32_t eRecType, const std::string& strComponentName);
  // The INI key of a kind written as decimal text.
  std::string GetKeyName(const std::string& kind_text);
  // 1 when the kind's marker file lies beside the INI file (or the kind has
  // none), else 0.
  int32_t GetFileSwitch(int32_t eRecType);
  // One value read from the INI file, upper-cased.
  std::string ReadRaw(const std::string& section, const std::string& key);

  ProfileReader* profile_;
  FileSystem* files_;
  std::string ini_file_;
};

}  // namespace brantvell

#endif  // BRANTVELL_LOG_CLS_LOG_CFG_H_
