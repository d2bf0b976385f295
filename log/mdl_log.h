// The trace facade: the only door through which the program's procedures
// write log records. It holds the one installed log writer, the component
// name and the component id. No procedure here ever raises an error.
#ifndef BRANTVELL_LOG_MDL_LOG_H_
#define BRANTVELL_LOG_MDL_LOG_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "log/cls_log.h"
#include "platform/value.h"

namespace brantvell {

struct Process;

// Installs `log` (or uninstalls logging when it is null) under
// `component_name`; writes the version line the first time a writer is
// installed. True when a writer is installed.
bool LogInit(std::shared_ptr<clsLog> log, const std::string& component_name);

// True when a writer is installed.
bool LogReady();

// One event record: component name + tag + TAB + text, of the given kind.
bool LogEvent(const std::string& tag, const std::string& text, int32_t kind);

// False when a record of `kind` would certainly not be written (no writer,
// or the kind is off): a caller need not make its text.
bool LogMayWrite(int32_t kind);

// One debug record: component name + tag + TAB, then the values formatted
// by the writer.
bool LogDebug(const std::string& tag, const std::vector<Value>& values);

// One error record of kind ERRLOG. Meant to be called from a catch block:
// the number, source and description come from the exception being handled
// (an `Error`; any other exception counts as an error of the program's own
// code), and are 0 and empty texts outside a catch block.
bool LogError(const std::string& tag, const std::string& text, const std::string& extra);

// Shorthand for the usual one-text debug record; a text made for the record
// is taken rather than copied.
bool LogDebugText(const std::string& tag, const std::string& text);
bool LogDebugText(const std::string& tag, std::string&& text);

// Tests: take the version line's numbers from `process` instead of the
// running program (null restores the real one).
void LogUseProcess(Process* process);

}  // namespace brantvell

#endif  // BRANTVELL_LOG_MDL_LOG_H_
