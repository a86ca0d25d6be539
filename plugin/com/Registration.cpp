#include "Registration.h"

#include <olectl.h>

#include <iterator>

#include "Orvanta_h.h"

namespace orvanta::com {

namespace {

// ClassRegistry.txt, the one description of the entries, which the installer packages are built from too.
struct TableRow {
    const wchar_t* key;
    const wchar_t* name;
    const wchar_t* value;  // empty: the key alone
};
constexpr TableRow kTable[] = {
#include "ClassRegistry.inc"
};

#ifdef _WIN64
constexpr wchar_t kPlatform[] = L"win64";
#else
constexpr wchar_t kPlatform[] = L"win32";
#endif

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, static_cast<int>(std::size(text)));
    return text;
}

void ReplaceAll(std::wstring& text, const std::wstring& placeholder, const std::wstring& replacement) {
    for (size_t at = text.find(placeholder); at != std::wstring::npos;
         at = text.find(placeholder, at + replacement.size()))
        text.replace(at, placeholder.size(), replacement);
}

// The table's texts with the placeholders filled in for the library file at modulePath.
class Expander {
public:
    explicit Expander(const std::wstring& modulePath)
        : path_(modulePath),
          folder_(modulePath.substr(0, modulePath.find_last_of(L'\\') + 1)),
          class_(GuidText(CLSID_clsOrvanta)),
          interface_(GuidText(IID__clsOrvanta)),
          library_(GuidText(LIBID_Orvanta)) {}

    std::wstring operator()(const wchar_t* text) const {
        std::wstring result = text;
        ReplaceAll(result, L"<Class>", class_);
        ReplaceAll(result, L"<Interface>", interface_);
        ReplaceAll(result, L"<Library>", library_);
        ReplaceAll(result, L"<File>", path_);
        ReplaceAll(result, L"<Folder>", folder_);
        ReplaceAll(result, L"<Platform>", kPlatform);
        return result;
    }

private:
    std::wstring path_, folder_, class_, interface_, library_;
};

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

bool IsBelow(const std::wstring& key, const std::wstring& ancestor) {
    return key.size() > ancestor.size() && key.compare(0, ancestor.size(), ancestor) == 0 &&
           key[ancestor.size()] == L'\\';
}

// The keys of the table that no other key of it lies below: deleting them deletes every entry.
std::vector<std::wstring> TopKeys() {
    Expander expand(L"");
    std::vector<std::wstring> keys;
    for (const TableRow& row : kTable) keys.push_back(expand(row.key));
    std::vector<std::wstring> tops;
    for (const std::wstring& key : keys) {
        bool below = false;
        for (const std::wstring& other : keys) below = below || IsBelow(key, other);
        bool known = false;
        for (const std::wstring& top : tops) known = known || top == key;
        if (!below && !known) tops.push_back(key);
    }
    return tops;
}

}  // namespace

ClassIdentity Identity() {
    ClassIdentity identity{L"", GuidText(CLSID_clsOrvanta), GuidText(LIBID_Orvanta)};
    Expander expand(L"");
    for (const TableRow& row : kTable)
        if (expand(row.key) == L"CLSID\\" + identity.classId + L"\\ProgID") identity.progId = row.value;
    return identity;
}

std::vector<RegistryValue> RegistryEntries(const std::wstring& modulePath) {
    Expander expand(modulePath);
    std::vector<RegistryValue> entries;
    for (const TableRow& row : kTable) entries.push_back({expand(row.key), expand(row.name), expand(row.value)});
    return entries;
}

HRESULT Register(RegistrationScope scope, const std::wstring& modulePath) {
    if (modulePath.empty()) return SELFREG_E_CLASS;
    HKEY root = RootOf(scope);
    for (const RegistryValue& entry : RegistryEntries(modulePath)) {
        HKEY key = nullptr;
        LONG status = RegCreateKeyExW(root, Classes(entry.key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_SET_VALUE, nullptr, &key, nullptr);
        if (status == ERROR_SUCCESS) {
            // A marker key (Programmable) has no value: the key alone counts.
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
    for (const std::wstring& top : TopKeys()) {
        LONG status = DeleteTree(root, Classes(top));
        if (status != ERROR_SUCCESS && result == ERROR_SUCCESS) result = status;
        // Containers that registering may have created (TypeLib\{...}, CLSID, ...) go when nothing else is left.
        for (size_t cut = top.find_last_of(L'\\'); cut != std::wstring::npos; cut = top.find_last_of(L'\\', cut - 1)) {
            DeleteIfEmpty(root, Classes(top.substr(0, cut)));
            if (cut == 0) break;
        }
    }
    return FromStatus(result);
}

}  // namespace orvanta::com
