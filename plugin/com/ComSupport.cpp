#include "plugin/com/ComSupport.h"

#include <cstdint>

namespace orvanta::com {

namespace {

constexpr wchar_t kErrorSource[] = L"Orvanta.clsOrvanta";

// Raises the error of a failed conversion or copy of a VARIANT.
void CheckVariant(HRESULT hr) {
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (hr == DISP_E_OVERFLOW) throw VbError(vb::kOverflow);
    if (FAILED(hr)) throw VbError(vb::kTypeMismatch);
}

}  // namespace

Variant::Variant(const VARIANT& value) : Variant() { CheckVariant(VariantCopyInd(&v_, const_cast<VARIANT*>(&value))); }

Variant::Variant(std::u16string_view text) : Variant() {
    V_BSTR(&v_) = ToBstr(text);
    V_VT(&v_) = VT_BSTR;
}

Variant::Variant(const Variant& other) : Variant(other.v_) {}

Variant::Variant(Variant&& other) noexcept : v_(other.release()) {}

Variant& Variant::operator=(Variant other) noexcept {
    std::swap(v_, other.v_);
    return *this;
}

Variant Variant::ChangeType(const VARIANT& value, VARTYPE type, USHORT flags) {
    Variant result;
    CheckVariant(VariantChangeType(result.put(), const_cast<VARIANT*>(&value), flags, type));
    return result;
}

void Variant::CopyTo(VARIANT* out) const {
    HRESULT hr = VariantCopy(out, const_cast<VARIANT*>(&v_));
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw ComFailure{hr};
}

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
        platform::win32::UniqueBstr description;
        if (SUCCEEDED(info->GetDescription(description.put())) && SysStringLen(description.get()) > 0)
            return VbError(number, FromBstr(description.get()));
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
