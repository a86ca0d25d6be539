#include "plugin/com/ClassRegistration.h"

#include <olectl.h>

#include <algorithm>
#include <iterator>

#include "Orvanta_h.h"
#include "platform/win32/Handles.h"

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

using Key = platform::win32::UniqueKey;

// Null when the key cannot be opened.
Key OpenKey(HKEY root, const std::wstring& key, REGSAM access) {
    Key handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, access, handle.put()) != ERROR_SUCCESS) handle.release();
    return handle;
}

// On 64-bit Windows the 32-bit and the 64-bit servers each have keys of their own below CLSID and Interface;
// every other key below Classes (the ProgID, the type library) is one key that both share. The type library's
// <Platform> entry belongs to one of them all the same.
enum class Owner { ThisView, Shared };

Owner OwnerOf(const std::wstring& tableKey) {
    auto startsWith = [&](const wchar_t* prefix) { return tableKey.rfind(prefix, 0) == 0; };
    if (startsWith(L"CLSID\\") || startsWith(L"Interface\\") || tableKey.find(L"<Platform>") != std::wstring::npos)
        return Owner::ThisView;
    return Owner::Shared;
}

// Whether the class has a server in the 32-bit or the 64-bit registry view.
bool ServerRegistered(HKEY root) {
    const std::wstring server = Classes(L"CLSID\\" + GuidText(CLSID_clsOrvanta) + L"\\InprocServer32");
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
        if (OpenKey(root, server, KEY_QUERY_VALUE | view)) return true;
    return false;
}

bool ValueExists(HKEY root, const RegistryValue& entry) {
    Key key = OpenKey(root, Classes(entry.key), KEY_QUERY_VALUE);
    if (!key) return false;
    if (entry.name.empty() && entry.value.empty()) return true;
    return RegQueryValueExW(key.get(), entry.name.empty() ? nullptr : entry.name.c_str(), nullptr, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
}

// Deletes key with everything below it; a missing key is no failure.
LONG DeleteTree(HKEY root, const std::wstring& key) {
    LONG status = RegDeleteTreeW(root, key.c_str());
    if (status == ERROR_SUCCESS) status = RegDeleteKeyW(root, key.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

// Deletes key when it holds neither subkeys nor values.
void DeleteIfEmpty(HKEY root, const std::wstring& key) {
    DWORD subkeys = 1, values = 1;
    {
        Key handle = OpenKey(root, key, KEY_READ);
        if (!handle || RegQueryInfoKeyW(handle.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                        nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return;
    }
    if (subkeys == 0 && values == 0) RegDeleteKeyW(root, key.c_str());
}

// Deletes key with everything below it, then the keys above it that registering may have created
// (TypeLib\{...}, CLSID, ...) when nothing else is left in them.
LONG DeleteWithEmptyParents(HKEY root, const std::wstring& key) {
    LONG status = DeleteTree(root, Classes(key));
    for (size_t cut = key.find_last_of(L'\\'); cut != std::wstring::npos && cut > 0;
         cut = key.find_last_of(L'\\', cut - 1))
        DeleteIfEmpty(root, Classes(key.substr(0, cut)));
    return status;
}

bool IsBelow(const std::wstring& key, const std::wstring& ancestor) {
    return key.size() > ancestor.size() && key.compare(0, ancestor.size(), ancestor) == 0 &&
           key[ancestor.size()] == L'\\';
}

// The keys of the table owned as given that no other such key lies below: deleting them deletes their entries.
std::vector<std::wstring> TopKeys(Owner owner) {
    Expander expand(L"");
    std::vector<std::wstring> keys;
    for (const TableRow& row : kTable)
        if (OwnerOf(row.key) == owner) keys.push_back(expand(row.key));
    std::vector<std::wstring> tops;
    for (const std::wstring& key : keys) {
        bool below = false;
        for (const std::wstring& other : keys) below = below || IsBelow(key, other);
        if (!below && std::find(tops.begin(), tops.end(), key) == tops.end()) tops.push_back(key);
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
    const std::vector<RegistryValue> entries = RegistryEntries(modulePath);
    for (size_t i = 0; i < entries.size(); ++i) {
        const RegistryValue& entry = entries[i];
        // Values already in the shared keys stay as they are: the other pointer size's server may have put them there.
        if (OwnerOf(kTable[i].key) == Owner::Shared && ValueExists(root, entry)) continue;
        Key key;
        LONG status = RegCreateKeyExW(root, Classes(entry.key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_SET_VALUE, nullptr, key.put(), nullptr);
        if (status != ERROR_SUCCESS) key.release();
        // A marker key (Programmable) has no value: the key alone counts.
        if (status == ERROR_SUCCESS && !(entry.name.empty() && entry.value.empty()))
            status = RegSetValueExW(key.get(), entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(entry.value.c_str()),
                                    static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t)));
        if (status != ERROR_SUCCESS) {
            key.reset();
            Unregister(scope);
            return FromStatus(status);
        }
    }
    return S_OK;
}

HRESULT Unregister(RegistrationScope scope) {
    HKEY root = RootOf(scope);
    LONG result = ERROR_SUCCESS;
    auto note = [&](LONG status) {
        if (status != ERROR_SUCCESS && result == ERROR_SUCCESS) result = status;
    };
    // This server's own keys: its class and interface in its registry view, its entry in the type library.
    for (const std::wstring& key : TopKeys(Owner::ThisView)) note(DeleteWithEmptyParents(root, key));
    // The shared keys go with the last server of the class, of either pointer size.
    if (!ServerRegistered(root))
        for (const std::wstring& key : TopKeys(Owner::Shared)) note(DeleteWithEmptyParents(root, key));
    return FromStatus(result);
}

}  // namespace orvanta::com
