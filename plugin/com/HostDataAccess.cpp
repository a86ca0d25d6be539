#include "plugin/com/HostDataAccess.h"

#include <windows.h>

// The COM headers build on windows.h.
#include <oaidl.h>

#include "plugin/com/ComSupport.h"

namespace orvanta::com {

// The component's dual interface as far as the plug-in uses it: seven operations it never calls, then the one
// that takes the data source. Outside the anonymous namespace: with internal linkage and no implementation in
// the library, the optimiser may take calls through it for unreachable.
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

namespace {

const CLSID kDataAccessClass = {0x5823B60C, 0x12BF, 0x40EA, {0xB3, 0x9D, 0xE8, 0x57, 0x89, 0x14, 0xAB, 0x8E}};
const IID kDataAccessInterface = {0xEAD157A1, 0xE717, 0x4B40, {0xA8, 0xD9, 0x83, 0x2A, 0xE8, 0x99, 0x5B, 0xD3}};

class ComHostDataAccess : public IHostDataAccess {
public:
    explicit ComHostDataAccess(ComPtr<IHostDataAccessInterface> component) : component_(std::move(component)) {}

    void SetDataSource(const std::u16string& dataSource) override {
        platform::win32::UniqueBstr text(ToBstr(dataSource));
        HRESULT hr = component_->SetDataSource(text.get());
        if (FAILED(hr)) throw ErrorFromResult(hr);
    }

private:
    ComPtr<IHostDataAccessInterface> component_;
};

}  // namespace

std::unique_ptr<IHostDataAccess> ComHostDataAccessFactory::Create() {
    ComPtr<IHostDataAccessInterface> component;
    HRESULT hr = CoCreateInstance(kDataAccessClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  kDataAccessInterface, reinterpret_cast<void**>(component.Put()));
    if (FAILED(hr) || !component) throw VbError(vb::kCannotCreateObject);
    return std::make_unique<ComHostDataAccess>(std::move(component));
}

}  // namespace orvanta::com
