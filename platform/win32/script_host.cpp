#include "platform/script_host.h"

#include <map>

#include "platform/service_instance.h"
#include "platform/win32/com_support.h"
#include "platform/win32/dispatch_object.h"
#include "platform/win32/script_fallbacks.h"

namespace brantvell {

namespace {

class Win32ScriptHost : public ScriptHost {
 public:
  std::shared_ptr<ScriptObject> Create(const std::string& prog_id) override {
    // The apartment lives until the process ends, as the objects may.
    static ComApartment apartment;

    ComPtr<IClassFactory> factory;
    HRESULT hr = Factory(prog_id, &factory);
    ComPtr<IDispatch> dispatch;
    if (SUCCEEDED(hr)) {
      hr =
          factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(dispatch.put()));
    }
    if (FAILED(hr)) throw ComError(hr, std::string(), SystemMessage(hr));
    return std::make_shared<FallbackScriptObject>(
        std::make_shared<DispatchObject>(std::move(dispatch)));
  }

 private:
  // The component's class object, looked up in the registry once per
  // ProgID: every object is still a new one from its class object, but the
  // program asks for one at nearly every step, and under Wine each registry
  // look-up is a round trip to the server. A failed look-up is not kept.
  HRESULT Factory(const std::string& prog_id, ComPtr<IClassFactory>* factory) {
    // Released before the apartment, which was made first.
    static std::map<std::string, ComPtr<IClassFactory>> factories;
    auto found = factories.find(prog_id);
    if (found != factories.end()) {
      *factory = found->second;
      return S_OK;
    }
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(Widen(prog_id).c_str(), &clsid);
    if (SUCCEEDED(hr)) {
      hr = CoGetClassObject(clsid, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, nullptr,
                            IID_IClassFactory, reinterpret_cast<void**>(factory->put()));
    }
    if (SUCCEEDED(hr)) factories[prog_id] = *factory;
    return hr;
  }
};

}  // namespace

ScriptHost& ScriptHost::Real() { return ServiceInstance<Win32ScriptHost>(); }

}  // namespace brantvell
