// Owners for the resources of COM automation calls (interface pointers,
// BSTRs, VARIANTs, EXCEPINFO texts, the thread's apartment) and the rule by
// which a failed call becomes the program's Error, as a Visual Basic caller
// of the component would see it. The owners' members are named as those of
// unique_handle.h: get, put, reset, release.
#ifndef BRANTVELL_PLATFORM_WIN32_COM_SUPPORT_H_
#define BRANTVELL_PLATFORM_WIN32_COM_SUPPORT_H_

#include <cstdint>
#include <string>
#include <utility>

#include "platform/error.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"

#include <ole2.h>
#include <oleauto.h>

namespace brantvell {

// One reference to a COM interface, released when the owner goes.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(T* adopted) : ptr_(adopted) {}
  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }
  ~ComPtr() { reset(); }

  // A new reference to `p` (AddRef).
  static ComPtr Share(T* p) {
    if (p) p->AddRef();
    return ComPtr(p);
  }

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

  // The slot a creating function fills; any old reference is released first.
  T** put() {
    reset();
    return &ptr_;
  }

  void reset() {
    if (ptr_) std::exchange(ptr_, nullptr)->Release();
  }

  // Hands the reference to the caller.
  T* release() { return std::exchange(ptr_, nullptr); }

 private:
  T* ptr_ = nullptr;
};

// An owned BSTR, freed with SysFreeString.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const std::string& utf8);
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& other) noexcept : str_(std::exchange(other.str_, nullptr)) {}
  ~Bstr() { SysFreeString(str_); }

  BSTR get() const { return str_; }
  BSTR* put() {
    SysFreeString(std::exchange(str_, nullptr));
    return &str_;
  }
  BSTR release() { return std::exchange(str_, nullptr); }

  // The text as UTF-8; a null BSTR is the empty text.
  std::string Utf8() const { return ToUtf8(str_); }
  static std::string ToUtf8(BSTR str);

 private:
  BSTR str_ = nullptr;
};

// An owned VARIANT, cleared with VariantClear.
class Variant {
 public:
  Variant() { VariantInit(&var_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&& other) noexcept : var_(other.var_) { VariantInit(&other.var_); }
  ~Variant() { VariantClear(&var_); }

  VARIANT* get() { return &var_; }
  const VARIANT* get() const { return &var_; }
  VARIANT* put() {
    VariantClear(&var_);
    return &var_;
  }

 private:
  VARIANT var_;
};

// The three texts of an EXCEPINFO, freed when it goes.
struct ExcepInfo {
  ExcepInfo() : info() {}
  ExcepInfo(const ExcepInfo&) = delete;
  ExcepInfo& operator=(const ExcepInfo&) = delete;
  ~ExcepInfo() {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
  }
  // Lets the component fill in the texts it left for later.
  void FillIn() {
    if (info.pfnDeferredFillIn) {
      info.pfnDeferredFillIn(&info);
      info.pfnDeferredFillIn = nullptr;
    }
  }
  // The failure the exception stands for: its scode, or its error code.
  HRESULT Code() const {
    if (info.scode != 0) return info.scode;
    if (info.wCode != 0) return info.wCode;
    return DISP_E_EXCEPTION;
  }

  EXCEPINFO info;
};

// Joins the calling thread to a single-threaded apartment for the owner's
// lifetime (when the thread had none yet).
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool joined_;
};

// The error number a Visual Basic caller sees for `hr`: the low 16 bits of
// a control-facility code (0x800A0035 is 53), any other code as the signed
// 32-bit number.
int32_t ComErrorNumber(HRESULT hr);

// The system's message text for `hr` without its line end; empty when the
// system has none.
std::string SystemMessage(HRESULT hr);

// The Error of a failed call. A missing member is number 438 (with Visual
// Basic's text when the component gave none); every other failure keeps the
// texts given.
Error ComError(HRESULT hr, std::string source = std::string(),
               std::string description = std::string());

// Raises the ComError of `hr` when it is a failure.
inline void ThrowIfFailed(HRESULT hr) {
  if (FAILED(hr)) throw ComError(hr);
}

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_COM_SUPPORT_H_
