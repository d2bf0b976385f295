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

// Numbers the program raises itself, as the Visual Basic runtime numbers
// them.
constexpr int32_t kErrInvalidProcedureCall = 5;
constexpr int32_t kErrOverflow = 6;
constexpr int32_t kErrSubscriptOutOfRange = 9;
constexpr int32_t kErrTypeMismatch = 13;
constexpr int32_t kErrObjectNotSet = 91;

// The source of errors that arise in the program's own code (the name of
// the executable without extension).
constexpr const char kOwnErrorSource[] = "Brantvell";

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_ERROR_H_
