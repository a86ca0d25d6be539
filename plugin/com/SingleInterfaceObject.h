// A COM object with one interface and a reference count; the module stays loaded while it lives.
#pragma once

#include <windows.h>

#include <atomic>

#include "Module.h"

namespace orvanta::com {

template <class Interface, const IID& InterfaceId>
class SingleInterfaceObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, InterfaceId)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    SingleInterfaceObject() { Module::AddObject(); }
    virtual ~SingleInterfaceObject() { Module::ReleaseObject(); }

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace orvanta::com
