// The automation collection that DeviceNames hands out: Add, Count, Item (the default member), Remove and
// enumeration, also reachable through the automation runtime's _Collection interface.
#pragma once

#include <vector>

#include "Orvanta_h.h"
#include "plugin/com/ComObject.h"
#include "plugin/com/ComSupport.h"
#include "plugin/core/ItemList.h"

namespace orvanta::com {

class DeviceNames final : public ComObject<_Collection, ISupportErrorInfo> {
public:
    // A new collection with the sixteen device functions, with one reference.
    static IDispatch* CreateCatalogue();

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excepInfo, UINT* argError) override;

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

    HRESULT STDMETHODCALLTYPE Item(VARIANT* index, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) override;
    HRESULT STDMETHODCALLTYPE Count(LONG* count) override;
    HRESULT STDMETHODCALLTYPE Remove(VARIANT* index) override;
    HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** enumerator) override;

private:
    DeviceNames() = default;

    ItemList<Variant> items_;
};

}  // namespace orvanta::com
