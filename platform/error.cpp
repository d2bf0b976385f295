#include "platform/error.h"

#include <utility>

namespace brantvell {

const char* StandardErrorText(int32_t number) {
  switch (number) {
    case kErrInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case kErrOverflow:
      return "Overflow";
    case kErrOutOfMemory:
      return "Out of memory";
    case kErrSubscriptOutOfRange:
      return "Subscript out of range";
    case kErrDivisionByZero:
      return "Division by zero";
    case kErrTypeMismatch:
      return "Type mismatch";
    case kErrFileNotFound:
      return "File not found";
    case kErrDiskFull:
      return "Disk full";
    case kErrPermissionDenied:
      return "Permission denied";
    case kErrPathFileAccess:
      return "Path/File access error";
    case kErrPathNotFound:
      return "Path not found";
    case kErrObjectNotSet:
      return "Object variable or With block variable not set";
    case kErrInvalidUseOfNull:
      return "Invalid use of Null";
    case kErrObjectRequired:
      return "Object required";
    case kErrCannotCreateObject:
      return "ActiveX component can't create object";
    case kErrNoAutomation:
      return "Class does not support Automation or does not support expected interface";
    case kErrMemberNotSupported:
      return "Object doesn't support this property or method";
    case kErrWrongArgumentCount:
      return "Wrong number of arguments or invalid property assignment";
    case kErrUnsupportedType:
      return "Variable uses an Automation type not supported in Visual Basic";
    case kErrRunBusy:
      return "Another run of Brantvell kept the shortcuts busy for the whole wait";
    default:
      return "";
  }
}

Error CatalogueError(int32_t number, std::string source) {
  return Error(number, std::move(source), StandardErrorText(number));
}

Error OwnError(int32_t number) { return CatalogueError(number, kOwnErrorSource); }

Error WithCause(const Error& error, const std::string& path) {
  if (!error.description().empty() || error.source() == kOwnErrorSource) return error;
  return Error(error.number(), error.source(), SystemErrorText(error.number()) + "\t" + path);
}

Error OwnError(int32_t number, std::string description) {
  return Error(number, kOwnErrorSource, std::move(description));
}

Error ComponentError(int32_t number) { return CatalogueError(number, std::string()); }

}  // namespace brantvell
