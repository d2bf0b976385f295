#include "platform/win32/dispatch_object.h"

#include <type_traits>
#include <utility>

#include "platform/win32/unique_handle.h"

namespace brantvell {

namespace {

// Owned VARIANTs side by side, as Invoke takes its arguments: a Variant is
// nothing but its VARIANT.
static_assert(sizeof(Variant) == sizeof(VARIANT) && std::is_standard_layout<Variant>::value,
              "a Variant must be laid out as the VARIANT it holds");
VARIANT* VariantArray(std::vector<Variant>& items) {
  return items.empty() ? nullptr : items.front().get();
}

Value ObjectValue(IDispatch* dispatch) {
  if (!dispatch) return Value::Object(nullptr);
  return Value::Object(std::make_shared<DispatchObject>(ComPtr<IDispatch>::Share(dispatch)));
}

// The IDispatch of an object handed out as IUnknown.
ComPtr<IDispatch> QueryDispatch(IUnknown* unknown) {
  ComPtr<IDispatch> dispatch;
  if (unknown &&
      FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put())))) {
    throw ComponentError(kErrNoAutomation);
  }
  return dispatch;
}

bool IsOtherInteger(VARTYPE type) {
  switch (type) {
    case VT_I1:
    case VT_UI2:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
      return true;
    default:
      return false;
  }
}

// The element kinds an array may hold, as this program's Value numbers them
// (the same numbers as the VARIANT types).
bool IsArrayElementType(VARTYPE type) {
  switch (type) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_VARIANT:
    case VT_DECIMAL:
    case VT_UI1:
      return true;
    default:
      return IsOtherInteger(type);
  }
}

Value ArrayToValue(SAFEARRAY* array, VARTYPE element_type) {
  if (!array) return Value::Array({});
  if (SafeArrayGetDim(array) != 1 || !IsArrayElementType(element_type)) {
    throw ComponentError(kErrUnsupportedType);
  }
  LONG lower = 0, upper = -1;
  SafeArrayGetLBound(array, 1, &lower);
  SafeArrayGetUBound(array, 1, &upper);
  std::vector<Value> items;
  for (LONG i = lower; i <= upper; ++i) {
    Variant element;
    VARIANT* slot = element.put();
    HRESULT hr;
    if (element_type == VT_VARIANT) {
      hr = SafeArrayGetElement(array, &i, slot);
    } else if (element_type == VT_DECIMAL) {
      // A DECIMAL fills the whole VARIANT, its type field included.
      hr = SafeArrayGetElement(array, &i, &slot->decVal);
      slot->vt = VT_DECIMAL;
    } else {
      // Every other element kind lives in the VARIANT's value union.
      hr = SafeArrayGetElement(array, &i, &slot->llVal);
      if (SUCCEEDED(hr)) slot->vt = element_type;
    }
    ThrowIfFailed(hr);
    items.push_back(VariantToValue(*slot));
  }
  Value::Type kind =
      IsOtherInteger(element_type) ? Value::kVariant : static_cast<Value::Type>(element_type);
  return Value::Array(std::move(items), kind);
}

}  // namespace

void ValueToVariant(const Value& value, VARIANT* out) {
  VariantInit(out);
  switch (value.type()) {
    case Value::kEmpty:
      return;
    case Value::kNull:
      out->vt = VT_NULL;
      return;
    case Value::kInteger:
      out->vt = VT_I2;
      out->iVal = static_cast<SHORT>(value.integer());
      return;
    case Value::kLong:
      out->vt = VT_I4;
      out->lVal = static_cast<LONG>(value.integer());
      return;
    case Value::kSingle:
      out->vt = VT_R4;
      out->fltVal = static_cast<FLOAT>(value.real());
      return;
    case Value::kDouble:
      out->vt = VT_R8;
      out->dblVal = value.real();
      return;
    case Value::kCurrency:
      out->vt = VT_CY;
      out->cyVal.int64 = value.integer();
      return;
    case Value::kDate:
      out->vt = VT_DATE;
      out->date = value.real();
      return;
    case Value::kString: {
      Bstr text(value.text());
      if (!text.get()) throw ComponentError(kErrOutOfMemory);
      out->vt = VT_BSTR;
      out->bstrVal = text.release();
      return;
    }
    case Value::kObject: {
      const ValueObject* object = value.object().get();
      if (!object) {
        out->vt = VT_DISPATCH;
        out->pdispVal = nullptr;
        return;
      }
      // Only objects that came from a component can go back to one.
      const auto* from_com = dynamic_cast<const DispatchObject*>(object);
      if (!from_com) break;
      out->vt = VT_DISPATCH;
      out->pdispVal = ComPtr<IDispatch>::Share(from_com->dispatch()).release();
      return;
    }
    case Value::kError:
      out->vt = VT_ERROR;
      out->scode = static_cast<SCODE>(value.integer());
      return;
    case Value::kBoolean:
      out->vt = VT_BOOL;
      out->boolVal = value.integer() ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case Value::kVariant:
      ValueToVariant(value.inner(), out);
      return;
    case Value::kDecimal: {
      Bstr digits(value.text());
      DECIMAL number;
      if (FAILED(VarDecFromStr(digits.get(), LOCALE_INVARIANT, 0, &number))) break;
      out->decVal = number;
      out->vt = VT_DECIMAL;
      return;
    }
    case Value::kByte:
      out->vt = VT_UI1;
      out->bVal = static_cast<BYTE>(value.integer());
      return;
    default:
      if (value.type() & Value::kArray) {
        const std::vector<Value>& items = value.items();
        UniqueSafeArray array(
            SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(items.size())));
        if (!array.get()) throw ComponentError(kErrOutOfMemory);
        for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
          Variant element;
          ValueToVariant(items[static_cast<size_t>(i)], element.get());
          ThrowIfFailed(SafeArrayPutElement(array.get(), &i, element.get()));
        }
        out->vt = VT_ARRAY | VT_VARIANT;
        out->parray = array.release();
        return;
      }
      break;
  }
  throw ComponentError(kErrTypeMismatch);
}

Value VariantToValue(const VARIANT& var) {
  if (var.vt & VT_BYREF) {
    Variant target;
    ThrowIfFailed(VariantCopyInd(target.get(), const_cast<VARIANT*>(&var)));
    return VariantToValue(*target.get());
  }
  if (var.vt & VT_ARRAY) return ArrayToValue(var.parray, var.vt & VT_TYPEMASK);
  switch (var.vt) {
    case VT_EMPTY:
      return Value();
    case VT_NULL:
      return Value::Null();
    case VT_I2:
      return Value::Integer(var.iVal);
    case VT_I4:
      return Value::Long(var.lVal);
    case VT_R4:
      return Value::Single(var.fltVal);
    case VT_R8:
      return Value::Double(var.dblVal);
    case VT_CY:
      return Value::Currency(var.cyVal.int64);
    case VT_DATE:
      return Value::Date(var.date);
    case VT_BSTR:
      return Value::String(Bstr::ToUtf8(var.bstrVal));
    case VT_DISPATCH:
      return ObjectValue(var.pdispVal);
    case VT_UNKNOWN:
      return ObjectValue(QueryDispatch(var.punkVal).get());
    case VT_ERROR:
      if (var.scode == DISP_E_PARAMNOTFOUND) return Value::Missing();
      return Value::ErrorCode(var.scode);
    case VT_BOOL:
      return Value::Boolean(var.boolVal != VARIANT_FALSE);
    case VT_DECIMAL: {
      Bstr digits;
      ThrowIfFailed(
          VarBstrFromDec(const_cast<DECIMAL*>(&var.decVal), LOCALE_INVARIANT, 0, digits.put()));
      return Value::Decimal(digits.Utf8());
    }
    case VT_UI1:
      return Value::Byte(var.bVal);
    default:
      break;
  }
  if (IsOtherInteger(var.vt)) {
    // Integer kinds the program has no own type for: a Long when the value
    // fits, else a Double.
    Variant converted;
    if (SUCCEEDED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&var), 0, VT_I4))) {
      return Value::Long(converted.get()->lVal);
    }
    if (SUCCEEDED(VariantChangeType(converted.put(), const_cast<VARIANT*>(&var), 0, VT_R8))) {
      return Value::Double(converted.get()->dblVal);
    }
  }
  throw ComponentError(kErrUnsupportedType);
}

DispatchObject::DispatchObject(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

std::string DispatchObject::TypeName() {
  return static_cast<const DispatchObject*>(this)->TypeName();
}

std::string DispatchObject::TypeName() const {
  static const char kNoTypeInfo[] = "Object";
  if (!dispatch_) return kNoTypeInfo;
  ComPtr<ITypeInfo> type_info;
  if (FAILED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, type_info.put())) || !type_info) {
    return kNoTypeInfo;
  }
  Bstr name;
  if (FAILED(type_info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr))) {
    return kNoTypeInfo;
  }
  std::string text = name.Utf8();
  return text.empty() ? kNoTypeInfo : text;
}

void DispatchObject::Invoke(const std::string& member, WORD flags, const std::vector<Value>& args,
                            Variant* result) const {
  if (!dispatch_) throw ComponentError(kErrObjectNotSet);
  std::wstring name = Widen(member);
  LPOLESTR names[] = {&name[0]};
  DISPID id = DISPID_UNKNOWN;
  ThrowIfFailed(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));

  // Invoke takes the arguments last to first.
  std::vector<Variant> list(args.size());
  for (size_t i = 0; i < args.size(); ++i) ValueToVariant(args[i], list[args.size() - 1 - i].get());
  DISPID put_id = DISPID_PROPERTYPUT;
  DISPPARAMS params = {VariantArray(list), nullptr, static_cast<UINT>(list.size()), 0};
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put_id;
    params.cNamedArgs = 1;
  }

  ExcepInfo exception;
  UINT bad_argument = 0;
  HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                 result ? result->put() : nullptr, &exception.info, &bad_argument);
  if (hr == DISP_E_EXCEPTION) {
    exception.FillIn();
    throw ComError(exception.Code(), Bstr::ToUtf8(exception.info.bstrSource),
                   Bstr::ToUtf8(exception.info.bstrDescription));
  }
  ThrowIfFailed(hr);
}

Value DispatchObject::Get(const std::string& member, const std::vector<Value>& args) {
  Variant result;
  Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, &result);
  return VariantToValue(*result.get());
}

std::shared_ptr<ScriptObject> DispatchObject::GetObject(const std::string& member,
                                                        const std::vector<Value>& args) {
  Variant result;
  Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, &result);
  Variant target;
  ThrowIfFailed(VariantCopyInd(target.get(), result.get()));
  ComPtr<IDispatch> object;
  if (target.get()->vt == VT_DISPATCH) {
    object = ComPtr<IDispatch>::Share(target.get()->pdispVal);
  } else if (target.get()->vt == VT_UNKNOWN) {
    object = QueryDispatch(target.get()->punkVal);
  } else {
    throw ComponentError(kErrObjectRequired);
  }
  // Nothing: the caller would fail at its first use, so fail here.
  if (!object) throw ComponentError(kErrObjectNotSet);
  return std::make_shared<DispatchObject>(std::move(object));
}

void DispatchObject::Put(const std::string& member, const Value& value) {
  Invoke(member, DISPATCH_PROPERTYPUT, {value}, nullptr);
}

bool DispatchObject::GetProperty(const std::string& name, Value* out) const {
  try {
    Variant result;
    Invoke(name, DISPATCH_PROPERTYGET, {}, &result);
    *out = VariantToValue(*result.get());
    return true;
  } catch (const Error&) {
    return false;
  }
}

}  // namespace brantvell
