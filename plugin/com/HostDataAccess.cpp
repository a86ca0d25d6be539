#include "plugin/com/HostDataAccess.h"

#include "plugin/com/ComSupport.h"
#include "plugin/com/HostDataAccessInterface.h"

namespace orvanta::com {
namespace {

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
    HRESULT hr = CoCreateInstance(kHostDataAccessClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  kHostDataAccessInterface, reinterpret_cast<void**>(component.Put()));
    if (FAILED(hr) || !component) throw VbError(vb::kCannotCreateObject);
    return std::make_unique<ComHostDataAccess>(std::move(component));
}

}  // namespace orvanta::com
