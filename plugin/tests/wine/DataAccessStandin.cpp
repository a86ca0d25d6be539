// A stand-in for the host's data-access component, for the plug-in's tests under Wine.
//
// An in-process COM server of the component's class. Its interface is a dual one: the IUnknown and IDispatch
// operations, then eight operations of its own, the eighth of which takes the data source as a text by value.
// Every call it receives is appended as one line to "DataAccessStandin.log" in the folder of this library:
//
//   CreateInstance {iid}          a new object was asked for through the class factory
//   QueryInterface {iid} ok|no    an interface was asked for
//   Operation1 ... Operation7     the operations before the data source one (they take nothing)
//   Operation8 [text]             the data source (SetDataSource), between brackets, in UTF-8
//   GetIDsOfNames name / Invoke dispid / GetTypeInfoCount / GetTypeInfo
//   Released                      the last reference to an object went away
//
// A data source that begins with "refuse" is refused with E_FAIL, so that tests can see how the plug-in
// takes a failing component. DllRegisterServer / DllUnregisterServer write and remove the class key under
// HKEY_CLASSES_ROOT\CLSID (InprocServer32 with this file's path, apartment threaded).
#include <windows.h>
// The COM headers need windows.h first.
#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <atomic>
#include <string>
#include <string_view>

#include "platform/win32/Handles.h"
#include "plugin/com/HostDataAccessInterface.h"

namespace {

using orvanta::com::IHostDataAccessInterface;
using orvanta::com::kHostDataAccessClass;
using orvanta::com::kHostDataAccessInterface;

constexpr wchar_t kClassKey[] = L"CLSID\\{5823B60C-12BF-40EA-B39D-E8578914AB8E}";

HINSTANCE g_module = nullptr;
std::atomic<long> g_locks{0};

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::string GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return Utf8(text);
}

// One line of the record file, opened for appending and closed again.
void Record(const std::string& line) {
    std::wstring path = ModulePath();
    std::size_t slash = path.find_last_of(L"\\/");
    path = (slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1)) + L"DataAccessStandin.log";
    platform::win32::UniqueFile file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

class DataAccess final : public IHostDataAccessInterface {
public:
    DataAccess() { ++g_locks; }
    DataAccess(const DataAccess&) = delete;
    DataAccess& operator=(const DataAccess&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
                     IsEqualIID(iid, kHostDataAccessInterface);
        Record("QueryInterface " + GuidText(iid) + (known ? " ok" : " no"));
        if (!known) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IHostDataAccessInterface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        long left = --references_;
        if (left == 0) {
            Record("Released");
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        Record("GetTypeInfoCount");
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        Record("GetTypeInfo");
        if (info != nullptr) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; i < count; ++i) {
            Record("GetIDsOfNames " + (names && names[i] ? Utf8(names[i]) : std::string()));
            if (ids != nullptr) ids[i] = DISPID_UNKNOWN;
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        std::string line = "Invoke ";
        line += std::to_string(id);
        Record(line);
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE Operation1() override { return Plain(1); }
    HRESULT STDMETHODCALLTYPE Operation2() override { return Plain(2); }
    HRESULT STDMETHODCALLTYPE Operation3() override { return Plain(3); }
    HRESULT STDMETHODCALLTYPE Operation4() override { return Plain(4); }
    HRESULT STDMETHODCALLTYPE Operation5() override { return Plain(5); }
    HRESULT STDMETHODCALLTYPE Operation6() override { return Plain(6); }
    HRESULT STDMETHODCALLTYPE Operation7() override { return Plain(7); }
    HRESULT STDMETHODCALLTYPE SetDataSource(BSTR dataSource) override {
        std::wstring_view text = dataSource ? std::wstring_view(dataSource, SysStringLen(dataSource)) : L"";
        Record("Operation8 [" + Utf8(text) + "]");
        return text.starts_with(L"refuse") ? E_FAIL : S_OK;
    }

private:
    ~DataAccess() { --g_locks; }
    HRESULT Plain(int number) {
        std::string line = "Operation";
        line += std::to_string(number);
        Record(line);
        return S_OK;
    }

    std::atomic<long> references_{1};
};

class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        ++g_locks;
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        --g_locks;
        return 1;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        Record("CreateInstance " + GuidText(iid));
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* access = new DataAccess();
        HRESULT result = access->QueryInterface(iid, object);
        access->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ++g_locks;
        else
            --g_locks;
        return S_OK;
    }
};

ClassFactory g_factory;

LONG SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(classId, kHostDataAccessClass)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_locks == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    std::wstring path = ModulePath();
    if (path.empty()) return SELFREG_E_CLASS;
    platform::win32::UniqueKey classKey, serverKey;
    std::wstring serverPath = std::wstring(kClassKey) + L"\\InprocServer32";
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kClassKey, 0, nullptr, 0, KEY_WRITE, nullptr, classKey.put(), nullptr) !=
            ERROR_SUCCESS ||
        SetText(classKey.get(), nullptr, L"Host data-access stand-in") != ERROR_SUCCESS ||
        RegCreateKeyExW(HKEY_CLASSES_ROOT, serverPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, serverKey.put(),
                        nullptr) != ERROR_SUCCESS ||
        SetText(serverKey.get(), nullptr, path) != ERROR_SUCCESS ||
        SetText(serverKey.get(), L"ThreadingModel", L"Apartment") != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    LONG result = RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
