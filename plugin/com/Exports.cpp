// The entry points of the in-process server and its class object.
#include <windows.h>

// The COM headers build on windows.h.
#include <olectl.h>

#include <new>

#include "Orvanta_h.h"
#include "plugin/com/ClassRegistration.h"
#include "plugin/com/ComObject.h"
#include "plugin/com/ComSupport.h"
#include "plugin/com/Module.h"
#include "plugin/com/OrvantaClass.h"

using orvanta::com::Module;

namespace {

class ClassFactory final : public orvanta::com::ComObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        return orvanta::com::GuardResult([&] {
            orvanta::com::Require(object);
            *object = nullptr;
            if (outer) return CLASS_E_NOAGGREGATION;
            return orvanta::com::OrvantaClass::Create(Module::State(), riid, object);
        });
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        return orvanta::com::Guard([&] { Module::Lock(lock != FALSE); });
    }
};

// "user" (any case) selects the current user's classes; anything else the machine's.
orvanta::com::RegistrationScope ScopeOf(LPCWSTR commandLine) {
    if (commandLine && lstrcmpiW(commandLine, L"user") == 0) return orvanta::com::RegistrationScope::User;
    return orvanta::com::RegistrationScope::Machine;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        Module::SetHandle(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* object) {
    return orvanta::com::GuardResult([&] {
        orvanta::com::Require(object);
        *object = nullptr;
        if (!IsEqualCLSID(rclsid, CLSID_clsOrvanta)) return CLASS_E_CLASSNOTAVAILABLE;
        // The first request of a load runs LibraryStart, before any object exists.
        Module::State();
        orvanta::com::ComPtr<ClassFactory> factory = orvanta::com::ComPtr<ClassFactory>::Attach(new ClassFactory());
        return factory->QueryInterface(riid, object);
    });
}

STDAPI DllCanUnloadNow() {
    return orvanta::com::GuardResult([] { return Module::CanUnload() ? S_OK : S_FALSE; });
}

STDAPI DllRegisterServer() {
    return orvanta::com::GuardResult(
        [] { return orvanta::com::Register(orvanta::com::RegistrationScope::Machine, Module::Path()); });
}

STDAPI DllUnregisterServer() {
    return orvanta::com::GuardResult([] { return orvanta::com::Unregister(orvanta::com::RegistrationScope::Machine); });
}

STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    return orvanta::com::GuardResult([&] {
        auto scope = ScopeOf(commandLine);
        return install ? orvanta::com::Register(scope, Module::Path()) : orvanta::com::Unregister(scope);
    });
}

}  // extern "C"
