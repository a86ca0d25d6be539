// The host's data-access component as COM sees it: its class, and its dual interface as far as the plug-in uses
// it. The plug-in calls it; the stand-in of the Wine tests implements it.
#pragma once

#include <windows.h>

// The COM headers build on windows.h.
#include <oaidl.h>

namespace orvanta::com {

// {5823B60C-12BF-40EA-B39D-E8578914AB8E}
inline constexpr CLSID kHostDataAccessClass = {
    0x5823B60C, 0x12BF, 0x40EA, {0xB3, 0x9D, 0xE8, 0x57, 0x89, 0x14, 0xAB, 0x8E}};
// {EAD157A1-E717-4B40-A8D9-832AE8995BD3}
inline constexpr IID kHostDataAccessInterface = {
    0xEAD157A1, 0xE717, 0x4B40, {0xA8, 0xD9, 0x83, 0x2A, 0xE8, 0x99, 0x5B, 0xD3}};

// The dispatch operations, seven operations the plug-in never calls (they take nothing), then the eighth, which
// takes the data source as a text by value. The order is the host's vtable: nothing may be moved or added.
// Not in an anonymous namespace: with internal linkage and no implementation in a library that only calls it, the
// optimiser may take calls through it for unreachable.
struct IHostDataAccessInterface : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE Operation1() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation2() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation7() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDataSource(BSTR dataSource) = 0;
};

}  // namespace orvanta::com
