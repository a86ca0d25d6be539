#include "plugin/com/Module.h"

#include <atomic>
#include <memory>
#include <mutex>

#include "Orvanta_h.h"
#include "plugin/com/HostDataAccess.h"

namespace orvanta::com {

namespace {

HINSTANCE g_instance = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
// Recursive: a box that LibraryStart shows pumps messages, and a call may come in meanwhile.
std::recursive_mutex g_stateMutex;
// Created once per load, so that LibraryStart runs once per load even when the host asks DllCanUnloadNow and
// then carries on without unloading. Left to the process when the library goes.
ModuleState* g_state = nullptr;

std::u16string FolderOf(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    return std::u16string(folder.begin(), folder.end());
}

ComPtr<ITypeInfo> LoadClassTypeInfo() {
    ComPtr<ITypeLib> library;
    std::wstring path = Module::Path();
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put()))) return {};
    ComPtr<ITypeInfo> info;
    if (FAILED(library->GetTypeInfoOfGuid(IID__clsOrvanta, info.Put()))) return {};
    return info;
}

}  // namespace

ModuleState::ModuleState(std::u16string pluginFolder)
    : imageFiles(Module::Handle()), services{profile, files,      boxes,
                                             clock,   locale,     shell,
                                             dates,   imageFiles, std::move(pluginFolder)} {}

void Module::SetHandle(HINSTANCE instance) { g_instance = instance; }

HINSTANCE Module::Handle() { return g_instance; }

std::wstring Module::Path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void Module::AddObject() { ++g_objects; }

void Module::ReleaseObject() { --g_objects; }

void Module::Lock(bool lock) {
    if (lock)
        ++g_locks;
    else
        --g_locks;
}

ModuleState& Module::State() {
    std::lock_guard<std::recursive_mutex> guard(g_stateMutex);
    if (!g_state) {
        auto state = std::make_unique<ModuleState>(FolderOf(Path()));
        state->classTypeInfo = LoadClassTypeInfo();
        state->classMembers = MemberNames(state->classTypeInfo);
        g_state = state.release();
        ComHostDataAccessFactory factory;
        RunLibraryStart(g_state->services, factory, g_state->settings);
    }
    return *g_state;
}

bool Module::CanUnload() { return g_objects == 0 && g_locks == 0; }

}  // namespace orvanta::com
