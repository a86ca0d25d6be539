// Small COM helpers of the plug-in's shell: counted references, BSTR conversion and the one error guard that
// every interface method runs its body in.
#pragma once

#include <windows.h>

// The COM headers build on windows.h.
#include <oleauto.h>

#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "platform/win32/Handles.h"
#include "plugin/core/VbError.h"

namespace orvanta::com {

// One counted reference to a COM object.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(T* p) : p_(p) {  // NOLINT: adopts a new reference by AddRef, like a VB Set
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() {
        if (p_) p_->Release();
    }

    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }
    // Hands out a new reference.
    T* AddRefed() const {
        if (p_) p_->AddRef();
        return p_;
    }
    // For out parameters: releases what is held and gives the slot.
    T** Put() {
        *this = ComPtr();
        return &p_;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// A VARIANT that owns its content.
class Variant {
public:
    Variant() noexcept { VariantInit(&v_); }
    // A copy of value, with a by-reference value followed to what it points at.
    explicit Variant(const VARIANT& value);
    // A text (VT_BSTR).
    explicit Variant(std::u16string_view text);
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant other) noexcept;
    ~Variant() { VariantClear(&v_); }

    // value converted to type as the automation runtime converts (VariantChangeType with flags); raises
    // "Overflow" or "Type mismatch" when it cannot be.
    static Variant ChangeType(const VARIANT& value, VARTYPE type, USHORT flags = 0);

    const VARIANT& get() const { return v_; }
    // For out parameters: clears what is held and gives the slot.
    VARIANT* put() noexcept {
        VariantClear(&v_);
        return &v_;
    }
    // Hands the content to the caller; this is left empty.
    VARIANT release() noexcept {
        VARIANT content = v_;
        VariantInit(&v_);
        return content;
    }
    // A copy into out, which must be initialised or empty.
    void CopyTo(VARIANT* out) const;

private:
    VARIANT v_;
};

// A COM failure that is not a VB error: E_POINTER and the like, returned without error information.
struct ComFailure {
    HRESULT hr;
};

inline void Require(const void* pointer) {
    if (!pointer) throw ComFailure{E_POINTER};
}

inline std::u16string FromBstr(BSTR text) {
    if (!text) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

// A new BSTR; raises bad_alloc when there is no memory.
inline BSTR ToBstr(std::u16string_view text) {
    BSTR result = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    if (!result) throw std::bad_alloc();
    return result;
}

inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// Sets the thread's error information to error and returns its failing result.
HRESULT RaiseToCaller(const VbError& error) noexcept;

// The error in flight (inside a catch block) as a failing result with error information.
HRESULT CurrentExceptionToResult() noexcept;

// The VB error that a failed COM call stands for: the pending error information when there is any.
VbError ErrorFromResult(HRESULT hr);

// The one guard every entry point of the library (interface methods and exports) runs its body in: body answers
// its own result; any exception becomes a failing result with error information. No exception leaves it.
template <class Body>
HRESULT GuardResult(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return CurrentExceptionToResult();
    }
}

// GuardResult for a body that succeeds with S_OK.
template <class Body>
HRESULT Guard(Body&& body) noexcept {
    return GuardResult([&] {
        body();
        return S_OK;
    });
}

// For IDispatch::Invoke: a failure with error information becomes DISP_E_EXCEPTION with excepInfo filled.
HRESULT ToDispatchResult(HRESULT hr, EXCEPINFO* excepInfo) noexcept;

}  // namespace orvanta::com
