#include "check/win32/PluginRegistry.h"

#include <windows.h>

// The automation headers build on windows.h.
#include <oleauto.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "enrolix/core/Maintenance.h"
#include "platform/win32/Handles.h"
#include "plugin/com/ClassRegistration.h"

namespace orvanta::check::win32 {

namespace {

struct View {
    const char* name;       // "32-bit" or "64-bit"
    REGSAM flag;            // KEY_WOW64_32KEY or KEY_WOW64_64KEY
    std::uint16_t machine;  // the PE machine of a server for this view
    const wchar_t* platform;
};

constexpr View kView32{"32-bit", KEY_WOW64_32KEY, IMAGE_FILE_MACHINE_I386, L"win32"};
constexpr View kView64{"64-bit", KEY_WOW64_64KEY, IMAGE_FILE_MACHINE_AMD64, L"win64"};

// The views this Windows has: both on 64-bit Windows (also for a 32-bit program under WoW64), else the one.
std::vector<View> Views() {
    if (sizeof(void*) == 8) return {kView32, kView64};
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return wow64 ? std::vector<View>{kView32, kView64} : std::vector<View>{kView32};
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int size =
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// The default value of a key below HKEY_CLASSES_ROOT in one view; nullopt when key or value is missing.
std::optional<std::wstring> ClassesValue(const View& view, const std::wstring& key) {
    platform::win32::UniqueKey handle;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE | view.flag, handle.put()) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    LONG status = RegQueryValueExW(handle.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    std::wstring text(value);
    if (type == REG_EXPAND_SZ) {
        wchar_t expanded[1024] = {};
        if (ExpandEnvironmentStringsW(text.c_str(), expanded, 1024) > 0) text = expanded;
    }
    return text;
}

// The machine field of a PE file's header; nullopt when the file cannot be read as one.
std::optional<std::uint16_t> PeMachine(const std::wstring& path) {
    platform::win32::UniqueFile owner(CreateFileW(path.c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!owner) return std::nullopt;
    HANDLE file = owner.get();
    std::optional<std::uint16_t> machine;
    IMAGE_DOS_HEADER dos{};
    DWORD read = 0;
    if (ReadFile(file, &dos, sizeof dos, &read, nullptr) && read == sizeof dos && dos.e_magic == IMAGE_DOS_SIGNATURE &&
        SetFilePointer(file, dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER) {
        DWORD signature = 0;
        IMAGE_FILE_HEADER header{};
        if (ReadFile(file, &signature, sizeof signature, &read, nullptr) && read == sizeof signature &&
            signature == IMAGE_NT_SIGNATURE && ReadFile(file, &header, sizeof header, &read, nullptr) &&
            read == sizeof header)
            machine = header.Machine;
    }
    return machine;
}

std::string MachineName(std::uint16_t machine) {
    if (machine == IMAGE_FILE_MACHINE_I386) return "32-bit";
    if (machine == IMAGE_FILE_MACHINE_AMD64) return "64-bit";
    return "machine " + std::to_string(machine);
}

std::optional<std::string> FileVersion(const std::wstring& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return std::nullopt;
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

bool TypeLibraryLoads(const std::wstring& path) {
    ITypeLib* library = nullptr;
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library)) || !library) return false;
    library->Release();
    return true;
}

std::string Package(const View& view) {
    return view.machine == IMAGE_FILE_MACHINE_I386 ? "the x86 package" : "the x64 package";
}

// One view: true when the plug-in is registered there at all.
bool CheckView(Site& site, CheckReport& report, const View& view, const orvanta::com::ClassIdentity& identity) {
    const std::string prefix = std::string(view.name) + ": ";
    const std::string reinstall =
        "Install " + Package(view) + " again (or register Orvanta.dll with the " + view.name + " regsvr32).";
    // The class's server decides whether the view has the plug-in: ProgID and type library keys are shared by
    // both views on current Windows.
    auto server = ClassesValue(view, L"CLSID\\" + identity.classId + L"\\InprocServer32");
    if (!server) return false;
    auto classId = ClassesValue(view, identity.progId + L"\\CLSID");
    if (!classId || _wcsicmp(classId->c_str(), identity.classId.c_str()) != 0)
        report.Add(kPluginArea, prefix + "ProgID", State::Fail,
                   Narrow(identity.progId) + (classId ? " leads to " + Narrow(*classId) : std::string(" is missing")) +
                       ", not " + Narrow(identity.classId),
                   reinstall);
    else
        report.Add(kPluginArea, prefix + "ProgID", State::Ok,
                   Narrow(identity.progId) + " -> " + Narrow(identity.classId));

    const std::string serverText = Narrow(*server);
    auto machine = PeMachine(*server);
    if (GetFileAttributesW(server->c_str()) == INVALID_FILE_ATTRIBUTES)
        report.Add(kPluginArea, prefix + "server file", State::Fail, serverText + " not found", reinstall);
    else if (!machine || *machine != view.machine)
        report.Add(kPluginArea, prefix + "server file", State::Fail,
                   serverText + " is " + (machine ? MachineName(*machine) : std::string("no Windows library")),
                   "Register the " + std::string(view.name) + " Orvanta.dll for " + view.name + " hosts: " + reinstall);
    else
        report.Add(kPluginArea, prefix + "server file", State::Ok, serverText + " (" + MachineName(*machine) + ")");

    auto library = ClassesValue(view, L"TypeLib\\" + identity.libraryId + L"\\1.0\\0\\" + view.platform);
    if (!library)
        report.Add(kPluginArea, prefix + "type library", State::Fail, "not registered for " + Narrow(view.platform),
                   reinstall);
    else if (!TypeLibraryLoads(*library))
        report.Add(kPluginArea, prefix + "type library", State::Fail, Narrow(*library) + " does not load", reinstall);
    else
        report.Add(kPluginArea, prefix + "type library", State::Ok,
                   Narrow(*library) + " (" + Narrow(view.platform) + ")");

    if (auto version = FileVersion(*server))
        report.Add(kPluginArea, prefix + "version", State::Ok, *version);
    else if (machine)
        report.Add(kPluginArea, prefix + "version", State::Warn, serverText + " carries no version",
                   "Install the plug-in from its package.");

    const std::string folder = enrolix::GetFolderOfPath(serverText);
    for (const char* file : {"Orvanta.log", "KW_Orvanta.log", "PX_IF_Orvanta.err"})
        CheckWritableFile(site, report, kPluginArea, prefix + file, folder + "\\" + file,
                          "Let the clinic's users write in " + folder + ": the plug-in keeps its logs there.");
    return true;
}

}  // namespace

void CheckPluginRegistration(Site& site, CheckReport& report) {
    const orvanta::com::ClassIdentity identity = orvanta::com::Identity();
    std::vector<std::string> registered, missing;
    for (const View& view : Views())
        (CheckView(site, report, view, identity) ? registered : missing).push_back(view.name);
    if (registered.empty()) {
        report.Add(kPluginArea, "Registration", State::Fail, Narrow(identity.progId) + " is not registered",
                   "Install the package of the host's architecture (x86 for a 32-bit host).");
    } else if (!missing.empty()) {
        // A host loads the plug-in of its own architecture only; one registration serves a clinic's host.
        report.Add(kPluginArea, "Registration", State::Ok,
                   "for " + registered.front() + " hosts (a " + missing.front() + " host needs the " +
                       (missing.front() == std::string("32-bit") ? "x86" : "x64") + " package)");
    }
}

}  // namespace orvanta::check::win32
