// The loaded library: its handle, its counts of objects and locks, and the state that lives from the first
// class-object request until the library is unloaded.
#pragma once

#include <windows.h>

// The COM headers build on windows.h.
#include <oaidl.h>

#include <string>

#include "platform/win32/Win32DateFormat.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "plugin/com/ComSupport.h"
#include "plugin/com/MemberNames.h"
#include "plugin/core/LibraryStart.h"
#include "plugin/core/Services.h"
#include "plugin/win32/ImageFilesDialog.h"
#include "plugin/win32/Win32Locale.h"

namespace orvanta::com {

// What the objects of one load share: the platform services, the host database settings that LibraryStart
// filled, and the cached type information of the class interface with its member names.
struct ModuleState {
    explicit ModuleState(std::u16string pluginFolder);
    ModuleState(const ModuleState&) = delete;
    ModuleState& operator=(const ModuleState&) = delete;

    platform::win32::Win32Profile profile;
    // UTF-8 paths: the plug-in works with the file system's own names, whatever the code page.
    platform::win32::Win32FileSystem files{platform::win32::Win32FileSystem::PathText::Utf8};
    // Every box is modal on the host's calling thread.
    platform::win32::Win32MessageBox boxes{platform::win32::BoxOwner::CallingThread};
    platform::win32::Win32Clock clock;
    win32::Win32Locale locale;
    platform::win32::Win32Shell shell;
    platform::win32::Win32DateFormat dates;
    win32::ImageFilesDialog imageFiles;
    Services services;
    HostDatabaseSettings settings;
    // nullptr when the library's own type library cannot be loaded.
    ComPtr<ITypeInfo> classTypeInfo;
    // The names of classTypeInfo's members, for late binding.
    MemberNames classMembers;
};

class Module {
public:
    static void SetHandle(HINSTANCE instance);
    static HINSTANCE Handle();
    // The full path of the library file.
    static std::wstring Path();

    // Counted by every COM object of the library and by IClassFactory::LockServer.
    static void AddObject();
    static void ReleaseObject();
    static void Lock(bool lock);

    // The shared state; the first call of a load creates it and runs LibraryStart. It lives until the library is
    // unloaded. Never call it inside DllMain.
    static ModuleState& State();
    // True when no object or lock holds the library, so that it may unload.
    static bool CanUnload();
};

}  // namespace orvanta::com
