#include "platform/script_host.h"

#include "platform/com_support_win32.h"
#include "platform/dispatch_object_win32.h"
#include "platform/script_fallbacks_win32.h"

namespace brantvell {

namespace {

class Win32ScriptHost : public ScriptHost {
 public:
  std::shared_ptr<ScriptObject> Create(const std::string& prog_id) override {
    // The apartment lives until the process ends, as the objects may.
    static ComApartment apartment;

    std::wstring name = ComWiden(prog_id);
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(name.c_str(), &clsid);
    ComPtr<IDispatch> dispatch;
    if (SUCCEEDED(hr)) {
      hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                            IID_IDispatch, reinterpret_cast<void**>(dispatch.put()));
    }
    if (FAILED(hr)) throw ComError(hr, std::string(), SystemMessage(hr));
    return std::make_shared<FallbackScriptObject>(
        std::make_shared<DispatchObject>(std::move(dispatch)));
  }
};

}  // namespace

ScriptHost& ScriptHost::Real() {
  static Win32ScriptHost host;
  return host;
}

}  // namespace brantvell
