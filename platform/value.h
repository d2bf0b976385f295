// A value of any of the kinds a debug record can list (the Variant kinds of
// the scripting world): numbers, texts, dates, objects, arrays and the
// special Empty, Null and missing-argument values.
#ifndef BRANTVELL_PLATFORM_VALUE_H_
#define BRANTVELL_PLATFORM_VALUE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace brantvell {

class Value;

// An object seen through late binding: members are read by name at run time.
class ValueObject {
 public:
  virtual ~ValueObject() = default;
  // Reads the property `name`; false when the object has no such member or
  // reading it fails.
  virtual bool GetProperty(const std::string& name, Value* out) const = 0;
  // The runtime's type name of the object, its class name.
  virtual std::string TypeName() const = 0;
};

class Value {
 public:
  // Type codes as the scripting world numbers them.
  enum Type : int32_t {
    kEmpty = 0,
    kNull = 1,
    kInteger = 2,
    kLong = 3,
    kSingle = 4,
    kDouble = 5,
    kCurrency = 6,
    kDate = 7,
    kString = 8,
    kObject = 9,
    kError = 10,
    kBoolean = 11,
    kVariant = 12,
    kDataObject = 13,
    kDecimal = 14,
    kByte = 17,
    kUserType = 36,
    kArray = 0x2000,
  };

  Value() = default;  // Empty

  static Value Null();
  static Value Integer(int16_t v);
  static Value Long(int32_t v);
  static Value Single(float v);
  static Value Double(double v);
  // Currency in units of 1/10000.
  static Value Currency(int64_t ten_thousandths);
  // A date as days since 30 December 1899, the time as the day's fraction.
  static Value Date(double days);
  static Value String(std::string v);
  // A null pointer is the empty reference, Nothing.
  static Value Object(std::shared_ptr<const ValueObject> v);
  // An error value; the omitted optional argument is Missing().
  static Value ErrorCode(int32_t code);
  static Value Missing();
  static Value Boolean(bool v);
  // A value held by reference inside another Variant.
  static Value ByRef(Value inner);
  static Value DataObject(std::shared_ptr<const ValueObject> v);
  // A decimal number, kept as its text ("123.45").
  static Value Decimal(std::string digits);
  static Value Byte(uint8_t v);
  static Value UserType();
  // An array; `element_type` is the element kind added to kArray
  // (kVariant for a list of mixed values).
  static Value Array(std::vector<Value> items, Type element_type = kVariant);

  Type type() const { return type_; }
  bool is_missing() const { return type_ == kError && missing_; }

  int64_t integer() const { return integer_; }  // Integer, Long, Currency, Byte, Error, Boolean
  double real() const { return real_; }         // Single, Double, Date
  const std::string& text() const { return text_; }  // String, Decimal
  const std::shared_ptr<const ValueObject>& object() const { return object_; }
  const std::vector<Value>& items() const;  // Array elements
  const Value& inner() const;               // ByRef target

 private:
  Type type_ = kEmpty;
  bool missing_ = false;
  int64_t integer_ = 0;
  double real_ = 0;
  std::string text_;
  std::shared_ptr<const ValueObject> object_;
  std::shared_ptr<const std::vector<Value>> items_;
  std::shared_ptr<const Value> inner_;
};

// Header-only so every layer (the platform's script objects included) can
// pass values without linking the logging library.
inline Value Value::Null() {
  Value v;
  v.type_ = kNull;
  return v;
}
inline Value Value::Integer(int16_t x) {
  Value v;
  v.type_ = kInteger;
  v.integer_ = x;
  return v;
}
inline Value Value::Long(int32_t x) {
  Value v;
  v.type_ = kLong;
  v.integer_ = x;
  return v;
}
inline Value Value::Single(float x) {
  Value v;
  v.type_ = kSingle;
  v.real_ = x;
  return v;
}
inline Value Value::Double(double x) {
  Value v;
  v.type_ = kDouble;
  v.real_ = x;
  return v;
}
inline Value Value::Currency(int64_t x) {
  Value v;
  v.type_ = kCurrency;
  v.integer_ = x;
  return v;
}
inline Value Value::Date(double x) {
  Value v;
  v.type_ = kDate;
  v.real_ = x;
  return v;
}
inline Value Value::String(std::string x) {
  Value v;
  v.type_ = kString;
  v.text_ = std::move(x);
  return v;
}
inline Value Value::Object(std::shared_ptr<const ValueObject> x) {
  Value v;
  v.type_ = kObject;
  v.object_ = std::move(x);
  return v;
}
inline Value Value::ErrorCode(int32_t x) {
  Value v;
  v.type_ = kError;
  v.integer_ = x;
  return v;
}
inline Value Value::Missing() {
  // The omitted optional argument: an error value with DISP_E_PARAMNOTFOUND.
  Value v = ErrorCode(static_cast<int32_t>(0x80020004u));
  v.missing_ = true;
  return v;
}
inline Value Value::Boolean(bool x) {
  Value v;
  v.type_ = kBoolean;
  v.integer_ = x ? -1 : 0;
  return v;
}
inline Value Value::ByRef(Value inner) {
  Value v;
  v.type_ = kVariant;
  v.inner_ = std::make_shared<const Value>(std::move(inner));
  return v;
}
inline Value Value::DataObject(std::shared_ptr<const ValueObject> x) {
  Value v;
  v.type_ = kDataObject;
  v.object_ = std::move(x);
  return v;
}
inline Value Value::Decimal(std::string x) {
  Value v;
  v.type_ = kDecimal;
  v.text_ = std::move(x);
  return v;
}
inline Value Value::Byte(uint8_t x) {
  Value v;
  v.type_ = kByte;
  v.integer_ = x;
  return v;
}
inline Value Value::UserType() {
  Value v;
  v.type_ = kUserType;
  return v;
}
inline Value Value::Array(std::vector<Value> items, Type element_type) {
  Value v;
  v.type_ = static_cast<Type>(kArray | element_type);
  v.items_ = std::make_shared<const std::vector<Value>>(std::move(items));
  return v;
}
inline const std::vector<Value>& Value::items() const {
  static const std::vector<Value> kNone;
  return items_ ? *items_ : kNone;
}
inline const Value& Value::inner() const {
  static const Value kEmptyValue;
  return inner_ ? *inner_ : kEmptyValue;
}

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_VALUE_H_
