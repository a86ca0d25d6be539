// A COM object of the library: a reference count and QueryInterface over the listed interfaces (IUnknown and,
// when an interface derives from it, IDispatch, both answered by the first interface that has them); the module
// stays loaded while it lives.
#pragma once

#include <windows.h>

#include <atomic>
#include <type_traits>

#include "plugin/com/Module.h"

namespace orvanta::com {

template <class First, class... Others>
class ComObject : public First, public Others... {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(riid, IID_IUnknown))
            *object = static_cast<First*>(this);
        else if (!(Find<First>(riid, object) || (Find<Others>(riid, object) || ...)))
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() { Module::AddObject(); }
    virtual ~ComObject() { Module::ReleaseObject(); }

private:
    template <class Interface>
    bool Find(REFIID riid, void** object) {
        bool found = IsEqualIID(riid, __uuidof(Interface));
        if constexpr (std::is_base_of_v<IDispatch, Interface>) found = found || IsEqualIID(riid, IID_IDispatch);
        if (found) *object = static_cast<Interface*>(this);
        return found;
    }

    std::atomic<ULONG> references_{1};
};

}  // namespace orvanta::com
