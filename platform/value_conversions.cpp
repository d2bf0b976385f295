#include "platform/value_conversions.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/error.h"
#include "platform/text.h"

namespace brantvell {

namespace {

const Value& Unwrapped(const Value& value) {
  const Value* v = &value;
  while (v->type() == Value::kVariant) v = &v->inner();
  return *v;
}

bool IsReal(const Value& v) { return v.type() == Value::kSingle || v.type() == Value::kDouble; }

// A whole text holding a decimal number (blanks around it allowed).
bool ParseNumber(const std::string& text, double* number) {
  std::string trimmed = TrimSpaces(text);
  if (trimmed.empty()) return false;
  char* end = nullptr;
  errno = 0;
  double n = std::strtod(trimmed.c_str(), &end);
  if (end != trimmed.c_str() + trimmed.size() || errno == ERANGE || !std::isfinite(n)) return false;
  *number = n;
  return true;
}

}  // namespace

bool IsWholeNumber(const Value& v) {
  switch (v.type()) {
    case Value::kInteger:
    case Value::kLong:
    case Value::kByte:
    case Value::kBoolean:
      return true;
    default:
      return false;
  }
}

std::string CoerceToText(const Value& value, const char* error_source) {
  const Value& v = Unwrapped(value);
  if (v.type() == Value::kString || v.type() == Value::kDecimal) return v.text();
  if (v.type() == Value::kEmpty) return std::string();
  if (v.type() == Value::kBoolean) return v.integer() != 0 ? "True" : "False";
  if (IsWholeNumber(v)) return std::to_string(v.integer());
  if (IsReal(v)) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", v.real());
    return buffer;
  }
  throw CatalogueError(kErrTypeMismatch, error_source);
}

bool CoerceToBool(const Value& value, const char* error_source) {
  const Value& v = Unwrapped(value);
  if (v.type() == Value::kEmpty || v.is_missing()) return false;
  if (IsWholeNumber(v)) return v.integer() != 0;
  if (IsReal(v)) return v.real() != 0;
  if (v.type() == Value::kString) {
    if (EqualsNoCase(TrimSpaces(v.text()), "true")) return true;
    if (EqualsNoCase(TrimSpaces(v.text()), "false")) return false;
    double n;
    if (ParseNumber(v.text(), &n)) return n != 0;
  }
  throw CatalogueError(kErrTypeMismatch, error_source);
}

int32_t CoerceToLong(const Value& value, const char* error_source) {
  const Value& v = Unwrapped(value);
  double n;
  if (v.type() == Value::kEmpty) {
    n = 0;
  } else if (IsWholeNumber(v)) {
    n = static_cast<double>(v.integer());
  } else if (IsReal(v)) {
    n = v.real();
  } else if (v.type() != Value::kString || !ParseNumber(v.text(), &n)) {
    throw CatalogueError(kErrTypeMismatch, error_source);
  }
  if (!std::isfinite(n)) throw CatalogueError(kErrTypeMismatch, error_source);
  n = std::nearbyint(n);  // to the nearest, ties to even, as the runtime rounds
  if (n < -2147483648.0 || n > 2147483647.0) throw CatalogueError(kErrOverflow, error_source);
  return static_cast<int32_t>(n);
}

}  // namespace brantvell
