#include "Registration.h"

#include <olectl.h>

namespace orvanta::com {

namespace {

constexpr wchar_t kClassId[] = L"{BD3AAF59-38AB-46D8-A19B-93A9A17D2B55}";
constexpr wchar_t kInterfaceId[] = L"{B79558F2-BBF3-45AF-A4E9-4970CD9495D5}";
constexpr wchar_t kLibraryId[] = L"{EA3E15A2-1AD0-426B-8481-C5E915E56EE7}";
constexpr wchar_t kProgId[] = L"Orvanta.clsOrvanta";
// The automation marshaller of dual interfaces.
constexpr wchar_t kDispatchProxy[] = L"{00020424-0000-0000-C000-000000000046}";
#ifdef _WIN64
constexpr wchar_t kPlatform[] = L"win64";
#else
constexpr wchar_t kPlatform[] = L"win32";
#endif

HKEY RootOf(RegistrationScope scope) {
    return scope == RegistrationScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::wstring Classes(const std::wstring& key) { return L"Software\\Classes\\" + key; }

HRESULT FromStatus(LONG status) { return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status); }

// Deletes key with everything below it; a missing key is no failure.
LONG DeleteTree(HKEY root, const std::wstring& key) {
    LONG status = RegDeleteTreeW(root, key.c_str());
    if (status == ERROR_SUCCESS) status = RegDeleteKeyW(root, key.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

// Deletes key when it holds neither subkeys nor values.
void DeleteIfEmpty(HKEY root, const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
    DWORD subkeys = 1, values = 1;
    LONG status = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    if (status == ERROR_SUCCESS && subkeys == 0 && values == 0) RegDeleteKeyW(root, key.c_str());
}

}  // namespace

std::vector<RegistryValue> RegistryEntries(const std::wstring& modulePath) {
    std::wstring folder =
        modulePath.substr(0, modulePath.find_last_of(L'\\') == std::wstring::npos ? 0 : modulePath.find_last_of(L'\\'));
    std::wstring clsid = std::wstring(L"CLSID\\") + kClassId;
    std::wstring iface = std::wstring(L"Interface\\") + kInterfaceId;
    std::wstring typelib = std::wstring(L"TypeLib\\") + kLibraryId + L"\\1.0";
    return {
        {kProgId, L"", kProgId},
        {std::wstring(kProgId) + L"\\CLSID", L"", kClassId},
        {clsid, L"", kProgId},
        {clsid + L"\\InprocServer32", L"", modulePath},
        {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsid + L"\\ProgID", L"", kProgId},
        {clsid + L"\\VERSION", L"", L"1.0"},
        {clsid + L"\\TypeLib", L"", kLibraryId},
        {clsid + L"\\Programmable", L"", L""},
        {iface, L"", L"_clsOrvanta"},
        {iface + L"\\ProxyStubClsid", L"", kDispatchProxy},
        {iface + L"\\ProxyStubClsid32", L"", kDispatchProxy},
        {iface + L"\\TypeLib", L"", kLibraryId},
        {iface + L"\\TypeLib", L"Version", L"1.0"},
        {typelib, L"", L"Orvanta"},
        {typelib + L"\\0\\" + kPlatform, L"", modulePath},
        {typelib + L"\\FLAGS", L"", L"0"},
        {typelib + L"\\HELPDIR", L"", folder},
    };
}

HRESULT Register(RegistrationScope scope, const std::wstring& modulePath) {
    if (modulePath.empty()) return SELFREG_E_CLASS;
    HKEY root = RootOf(scope);
    for (const RegistryValue& entry : RegistryEntries(modulePath)) {
        HKEY key = nullptr;
        LONG status = RegCreateKeyExW(root, Classes(entry.key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_SET_VALUE, nullptr, &key, nullptr);
        if (status == ERROR_SUCCESS) {
            // An empty default value of a marker key (Programmable) is left unset, as the key alone counts.
            if (!(entry.name.empty() && entry.value.empty()))
                status = RegSetValueExW(key, entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(entry.value.c_str()),
                                        static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
        }
        if (status != ERROR_SUCCESS) {
            Unregister(scope);
            return FromStatus(status);
        }
    }
    return S_OK;
}

HRESULT Unregister(RegistrationScope scope) {
    HKEY root = RootOf(scope);
    LONG result = ERROR_SUCCESS;
    auto remove = [&](const std::wstring& key) {
        LONG status = DeleteTree(root, Classes(key));
        if (status != ERROR_SUCCESS && result == ERROR_SUCCESS) result = status;
    };
    remove(kProgId);
    remove(std::wstring(L"CLSID\\") + kClassId);
    remove(std::wstring(L"Interface\\") + kInterfaceId);
    remove(std::wstring(L"TypeLib\\") + kLibraryId + L"\\1.0");
    DeleteIfEmpty(root, Classes(std::wstring(L"TypeLib\\") + kLibraryId));
    // Containers that registering may have created in an empty classes key.
    for (const wchar_t* container : {L"CLSID", L"Interface", L"TypeLib"}) DeleteIfEmpty(root, Classes(container));
    return FromStatus(result);
}

}  // namespace orvanta::com
