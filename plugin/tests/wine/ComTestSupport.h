// Shared pieces of the Windows tests of Orvanta.dll.
#pragma once

#include <windows.h>

// The COM headers build on windows.h.
#include <oleauto.h>

#include <string>

namespace orvanta::test {

// The path of Orvanta.dll, from the first command-line argument (a host path is reached through drive Z:).
const std::wstring& DllPath();
void SetDllPath(const char* argument);
// The path of the document a test compares with, from the second argument; empty without one.
const std::string& DocumentPath();
void SetDocumentPath(const char* argument);

// A BSTR owned for one scope.
class Bstr {
public:
    explicit Bstr(const wchar_t* text = L"") : b_(SysAllocString(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(b_); }
    BSTR* operator&() { return &b_; }
    BSTR get() const { return b_; }
    std::wstring str() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }
    // Frees the text, for use as an out parameter.
    BSTR* Out() {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }

private:
    BSTR b_;
};

}  // namespace orvanta::test
