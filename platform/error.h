// The one error type of the program: a number, a source and a description,
// the three facts a caller of a scripting component sees of a failure.
#ifndef BRANTVELL_PLATFORM_ERROR_H_
#define BRANTVELL_PLATFORM_ERROR_H_

#include <cstdint>
#include <stdexcept>
#include <string>

namespace brantvell {

class Error : public std::runtime_error {
 public:
  Error(int32_t number, std::string source, std::string description)
      : std::runtime_error(description),
        number_(number),
        source_(std::move(source)),
        description_(std::move(description)) {}

  int32_t number() const { return number_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }

  // The same error raised again from another place: number and description
  // stay, the source becomes `source`.
  Error WithSource(std::string source) const {
    return Error(number_, std::move(source), description_);
  }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
};

// The catalogue of every error number the program raises, as the Visual
// Basic runtime and the scripting components number them. Each has its
// standard text (StandardErrorText); raise them through OwnError and
// ComponentError rather than spelling number and text out.
constexpr int32_t kErrInvalidProcedureCall = 5;
constexpr int32_t kErrOverflow = 6;
constexpr int32_t kErrOutOfMemory = 7;
constexpr int32_t kErrSubscriptOutOfRange = 9;
constexpr int32_t kErrDivisionByZero = 11;
constexpr int32_t kErrTypeMismatch = 13;
constexpr int32_t kErrFileNotFound = 53;
constexpr int32_t kErrDiskFull = 61;
constexpr int32_t kErrPermissionDenied = 70;
constexpr int32_t kErrPathFileAccess = 75;
// Also what the program raises for an application folder that is not set or
// missing.
constexpr int32_t kErrPathNotFound = 76;
constexpr int32_t kErrObjectNotSet = 91;
constexpr int32_t kErrInvalidUseOfNull = 94;
// Raised by the string table for an id it has no row for.
constexpr int32_t kErrResourceNotFound = 326;
constexpr int32_t kErrObjectRequired = 424;
constexpr int32_t kErrCannotCreateObject = 429;
constexpr int32_t kErrNoAutomation = 430;
constexpr int32_t kErrMemberNotSupported = 438;
// What a caller sees of an exception that is not one of the program's own
// errors: the scripting world's "automation error".
constexpr int32_t kErrAutomation = 440;
constexpr int32_t kErrWrongArgumentCount = 450;
constexpr int32_t kErrUnsupportedType = 458;

// Codes of system failures (HRESULTs as signed numbers) that the script
// objects raise without a text: file and path not found.
constexpr int32_t kErrSystemFileNotFound = static_cast<int32_t>(0x80070002u);
constexpr int32_t kErrSystemPathNotFound = static_cast<int32_t>(0x80070003u);
// A shortcut text longer than a link keeps whole (platform/link_limits.h).
constexpr int32_t kErrSystemFilenameTooLong = static_cast<int32_t>(0x800700CEu);

// Another run of the program held the machine's shortcuts for the whole
// wait: the system's "wait timed out" (WAIT_TIMEOUT as an HRESULT).
constexpr int32_t kErrRunBusy = static_cast<int32_t>(0x80070102u);

// Interface-defined numbers of the log writer's Enable get, raised without
// a text: the kind "all" (-1) asked for, no component of that name.
constexpr int32_t kErrLogNoComponent = static_cast<int32_t>(0x80041801u);
constexpr int32_t kErrLogAllKinds = static_cast<int32_t>(0x80041802u);

// The source of errors that arise in the program's own code (the name of
// the executable without extension).
constexpr const char kOwnErrorSource[] = "Brantvell";

// The standard text of `number` ("Type mismatch" for 13); empty for the
// numbers that are raised without a text and for numbers not in the
// catalogue.
const char* StandardErrorText(int32_t number);

// The error `number` raised from `source`, with its standard text.
Error CatalogueError(int32_t number, std::string source);

// The error `number` as the program's own code raises it: the program as
// its source, the standard text or `description`.
Error OwnError(int32_t number);
Error OwnError(int32_t number, std::string description);

// The error `number` as a scripting component (or the runtime calling one)
// raises it: no source, the standard text.
Error ComponentError(int32_t number);

// The system's own text for `number` (an HRESULT, or a number of the
// catalogue): FormatMessageW on Windows, strerror of the matching errno on
// Linux, else the standard text; empty when there is none.
std::string SystemErrorText(int32_t number);

// `error` as a caller should see it: a component's error that came without
// a description gets the system's text for its number, a TAB and `path`,
// the path the failing call was given; any other error is returned as it is.
Error WithCause(const Error& error, const std::string& path);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_ERROR_H_
