// Owners of the Win32 handles the adapters and the plug-in hold.
#pragma once

#include <windows.h>

// The COM headers build on windows.h.
#include <oleauto.h>

#include "platform/Unique.h"

namespace platform::win32 {

// INVALID_HANDLE_VALUE, for the handles that use it for none.
inline constexpr std::intptr_t kInvalidHandle = -1;

inline void ReleaseWindowDc(HDC dc) noexcept { ReleaseDC(WindowFromDC(dc), dc); }
inline void DeactivateContext(ULONG_PTR cookie) noexcept { DeactivateActCtx(0, cookie); }

using UniqueHandle = Unique<HANDLE, &CloseHandle>;  // a process, a thread: null when none
using UniqueFile = Unique<HANDLE, &CloseHandle, kInvalidHandle>;
using UniqueFind = Unique<HANDLE, &FindClose, kInvalidHandle>;
using UniqueKey = Unique<HKEY, &RegCloseKey>;
using UniqueBstr = Unique<BSTR, &SysFreeString>;
using UniqueWindowDc = Unique<HDC, &ReleaseWindowDc>;
using UniqueModule = Unique<HMODULE, &FreeLibrary>;
using UniqueActivationContext = Unique<HANDLE, &ReleaseActCtx, kInvalidHandle>;
// The cookie of an activated context: deactivated when let go.
using UniqueActivation = Unique<ULONG_PTR, &DeactivateContext>;

}  // namespace platform::win32
