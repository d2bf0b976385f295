// An automation object reached through IDispatch: members are looked up by
// name (GetIDsOfNames) and called with Invoke, the way a late-bound Visual
// Basic caller does it. Also the conversions between the program's Value
// and the VARIANT that crosses the COM boundary.
#ifndef BRANTVELL_PLATFORM_WIN32_DISPATCH_OBJECT_H_
#define BRANTVELL_PLATFORM_WIN32_DISPATCH_OBJECT_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/script_host.h"
#include "platform/value.h"
#include "platform/win32/com_support.h"

namespace brantvell {

// A ScriptObject, and a ValueObject for values that hold it.
class DispatchObject : public ScriptObject, public ValueObject {
 public:
  explicit DispatchObject(ComPtr<IDispatch> dispatch);

  IDispatch* dispatch() const { return dispatch_.get(); }

  // ScriptObject
  std::string TypeName() override;
  Value Get(const std::string& member, const std::vector<Value>& args = {}) override;
  std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                          const std::vector<Value>& args = {}) override;
  void Put(const std::string& member, const Value& value) override;

  // ValueObject
  bool GetProperty(const std::string& name, Value* out) const override;
  std::string TypeName() const override;

 private:
  // Calls `member` with `flags`; raises the call's Error on failure.
  void Invoke(const std::string& member, WORD flags, const std::vector<Value>& args,
              Variant* result) const;

  ComPtr<IDispatch> dispatch_;
};

// The VARIANT for `value`. Texts become BSTRs, objects that came from COM
// their IDispatch, Missing the omitted-argument error value. Raises Error 13
// for a value COM cannot carry.
void ValueToVariant(const Value& value, VARIANT* out);

// The Value for `var`; an object becomes a DispatchObject, a one-dimensional
// array a Value array. Raises Error 458 for a type the program cannot hold.
Value VariantToValue(const VARIANT& var);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_DISPATCH_OBJECT_H_
