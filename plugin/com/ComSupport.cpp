#include "ComSupport.h"

#include <cstdint>

namespace orvanta::com {

namespace {

constexpr wchar_t kErrorSource[] = L"Orvanta.clsOrvanta";

}  // namespace

HRESULT RaiseToCaller(const VbError& error) noexcept {
    HRESULT hr = static_cast<HRESULT>(error.HResult());
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Put()))) return hr;
    try {
        std::wstring description = Wide(error.Description());
        create->SetGUID(GUID_NULL);
        create->SetSource(const_cast<LPOLESTR>(kErrorSource));
        create->SetDescription(description.data());
    } catch (...) {
        // Without memory for the text the result code still tells the error.
    }
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.Put()))))
        SetErrorInfo(0, info.get());
    return hr;
}

HRESULT CurrentExceptionToResult() noexcept {
    try {
        throw;
    } catch (const ComFailure& failure) {
        return failure.hr;
    } catch (...) {
        try {
            return RaiseToCaller(VbError::FromCurrentException());
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
}

VbError ErrorFromResult(HRESULT hr) {
    std::int32_t number = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<std::int32_t>(hr);
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) {
        BSTR description = nullptr;
        if (SUCCEEDED(info->GetDescription(&description)) && description && SysStringLen(description) > 0) {
            std::u16string text = FromBstr(description);
            SysFreeString(description);
            return VbError(number, std::move(text));
        }
        SysFreeString(description);
    }
    if (number < 0) return VbError(number, u"Automation error");
    return VbError(number);
}

HRESULT ToDispatchResult(HRESULT hr, EXCEPINFO* excepInfo) noexcept {
    if (SUCCEEDED(hr) || !excepInfo) return hr;
    if (HRESULT_FACILITY(hr) != FACILITY_CONTROL && hr != E_OUTOFMEMORY) return hr;
    *excepInfo = EXCEPINFO{};
    excepInfo->scode = hr;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) {
        info->GetSource(&excepInfo->bstrSource);
        info->GetDescription(&excepInfo->bstrDescription);
        info->GetHelpFile(&excepInfo->bstrHelpFile);
        info->GetHelpContext(&excepInfo->dwHelpContext);
    }
    return DISP_E_EXCEPTION;
}

}  // namespace orvanta::com
