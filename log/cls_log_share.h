// The program's log writer: a table of named components, each with an
// output state per log kind, turning every record into one text line that
// goes to a log file (opened and closed per record) and/or a message box.
#ifndef BRANTVELL_LOG_CLS_LOG_SHARE_H_
#define BRANTVELL_LOG_CLS_LOG_SHARE_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "log/cls_log.h"
#include "log/cls_log_cfg.h"
#include "log/log_kinds.h"
#include "log/log_services.h"
#include "platform/value.h"

namespace brantvell {

// One open performance timer of a component.
struct PerfSlot {
  int32_t ComponentID = 0;  // -1 marks a freed slot
  std::string PerfID;
  std::string Description;
  int64_t StartCount = 0;
  int32_t RecType = 0;
};

// One registered component. Entry 0 is the default component with the
// empty name; every later one starts as a copy of it.
struct ComponentEntry {
  std::string Name;
  std::array<int32_t, kKindCount> States{};
  // Slots 0 to PerfCount - 1 are searched; the table holds indices 0 to
  // PerfCapacity and grows by 256 so that a start rarely resizes it.
  std::vector<PerfSlot> PerfSlots;
  int32_t PerfCapacity = 0;
  int32_t PerfCount = 0;
};

class clsLogShare : public clsLog {
 public:
  // The services are borrowed; they must outlive the writer.
  explicit clsLogShare(LogServices services = LogServices::Real());

  std::string Name() override;
  void SetFileNameMode(int32_t eMode) override;
  int32_t FileNameMode() override;
  std::string GetLogFileName(int32_t eType) override;
  void SetEnable(int32_t eRecType, const std::string& strComponentName, int32_t eState) override;
  int32_t Enable(int32_t eRecType, const std::string& strComponentName) override;
  void SetDirectory(const std::string& strDirectory) override;
  std::string Directory() override;
  void SetFileNamePrefix(const std::string& strFileNamePrefix) override;
  std::string FileNamePrefix() override;
  void SetFileNameExtension(const std::string& strFileNameExt) override;
  std::string FileNameExtension() override;
  bool SetEvent(const std::string& strText, int32_t eRecType, int32_t lngComponentID) override;
  bool SetDebug(const std::string& strText, const Value& vParams, int32_t lngComponentID) override;
  bool MayWrite(int32_t eRecType, int32_t lngComponentID) override;
  bool DeleteOldLogs(int32_t lngDays, int32_t eType) override;
  bool IsPerfOpen(const std::string& strPerfID, int32_t lngComponentID) override;
  bool StartPerf(const std::string& strPerfID, const std::string& strDescription, int32_t eRecType,
                 int32_t lngComponentID) override;
  bool StopPerf(const std::string& strPerfID, int32_t lngComponentID) override;
  bool Init(const std::string& strINIFile) override;
  int32_t GetComponentId(const std::string& strComponentName) override;

  // The component table, for inspection.
  const std::vector<ComponentEntry>& Components() const { return components_; }

 protected:
  // Loads the entry's nine states from the configuration (its current
  // states are the defaults) and empties its timer table. False on failure.
  // Virtual so tests can make loading fail.
  virtual bool LoadComponentSettings(ComponentEntry* entry);

 private:
  void ResetComponents();
  static void SetComponentState(ComponentEntry* entry, int32_t eRecType, int32_t eState);
  bool IsComponentId(int32_t id) const;

  std::string NowText();
  std::string RecordLine(int32_t eRecType, const std::string& strText);
  bool AppendLine(const std::string& path, const std::string& line);

  std::string DebugItem(const Value& element);
  std::string ObjectName(const Value& element);
  static std::string MaskHexText(const std::string& text, size_t shortest, size_t longest);

  bool IsOwnDatedLogName(const std::string& name, std::string* date_field);

  std::string FinishText(const PerfSlot& slot);
  static void FreePerfSlot(ComponentEntry* component, int32_t i);

  LogServices services_;
  std::vector<ComponentEntry> components_;
  std::string directory_;
  clsLogCfg config_;
  int32_t file_name_mode_ = 3;
  std::string file_name_prefix_;
  std::string file_name_extension_ = "TXT";
  int64_t start_counter_ = 0;
};

}  // namespace brantvell

#endif  // BRANTVELL_LOG_CLS_LOG_SHARE_H_
