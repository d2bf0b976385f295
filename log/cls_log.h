// The logging interface that any user of a log writer programs against: the
// twenty operations of a writer, in their fixed order.
#ifndef BRANTVELL_LOG_CLS_LOG_H_
#define BRANTVELL_LOG_CLS_LOG_H_

#include <cstdint>
#include <string>

#include "platform/error.h"
#include "platform/value.h"

namespace brantvell {

// Log kinds (eType, eRecType).
enum LogKind : int32_t {
  kInfoLog = 0,
  kSysLog = 1,
  kErrLog = 2,
  kDebugLog = 3,
  kPost = 4,
  kPerfI = 5,
  kPerfII = 6,
  kPerfIII = 7,
  kPerfSql = 8,
};

// Output states (eState): a bit set.
enum LogState : int32_t { kStateOff = 0, kStateFile = 1, kStateMessageBox = 2, kStateBoth = 3 };

class clsLog {
 public:
  virtual ~clsLog() = default;

  virtual std::string Name() = 0;                         // 1
  virtual void SetFileNameMode(int32_t eMode) = 0;        // 2 FileNameMode let
  virtual int32_t FileNameMode() = 0;                     // 3
  virtual std::string GetLogFileName(int32_t eType) = 0;  // 4
  virtual void SetEnable(int32_t eRecType, const std::string& strComponentName,
                         int32_t eState) = 0;  // 5 Enable let
  // Raises Error (see kErrLog* and kErrSubscriptOutOfRange).
  virtual int32_t Enable(int32_t eRecType, const std::string& strComponentName) = 0;  // 6
  virtual void SetDirectory(const std::string& strDirectory) = 0;                     // 7
  virtual std::string Directory() = 0;                                                // 8
  virtual void SetFileNamePrefix(const std::string& strFileNamePrefix) = 0;           // 9
  virtual std::string FileNamePrefix() = 0;                                           // 10
  virtual void SetFileNameExtension(const std::string& strFileNameExt) = 0;           // 11
  virtual std::string FileNameExtension() = 0;                                        // 12
  virtual bool SetEvent(const std::string& strText, int32_t eRecType,
                        int32_t lngComponentID) = 0;  // 13
  virtual bool SetDebug(const std::string& strText, const Value& vParams,
                        int32_t lngComponentID) = 0;                                  // 14
  virtual bool DeleteOldLogs(int32_t lngDays, int32_t eType) = 0;                     // 15
  virtual bool IsPerfOpen(const std::string& strPerfID, int32_t lngComponentID) = 0;  // 16
  virtual bool StartPerf(const std::string& strPerfID, const std::string& strDescription,
                         int32_t eRecType, int32_t lngComponentID) = 0;             // 17
  virtual bool StopPerf(const std::string& strPerfID, int32_t lngComponentID) = 0;  // 18
  virtual bool Init(const std::string& strINIFile) = 0;                             // 19
  virtual int32_t GetComponentId(const std::string& strComponentName) = 0;          // 20

  // False when a record of the kind for the component would certainly not
  // be written, so its text need not be made (it may hold a whole command
  // line); a writer that cannot tell says true.
  virtual bool MayWrite(int32_t eRecType, int32_t lngComponentID) {
    (void)eRecType, (void)lngComponentID;
    return true;
  }
};

}  // namespace brantvell

#endif  // BRANTVELL_LOG_CLS_LOG_H_
