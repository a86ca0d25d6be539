#include "platform/win32/HostModal.h"

namespace platform::win32 {

namespace {

BOOL CALLBACK NoteEnabled(HWND window, LPARAM list) {
    if (IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

HostModal::HostModal() : owner_(GetActiveWindow()) {
    if (owner_) return;
    EnumThreadWindows(GetCurrentThreadId(), NoteEnabled, reinterpret_cast<LPARAM>(&disabled_));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
}

HostModal::~HostModal() {
    for (HWND window : disabled_)
        if (IsWindow(window)) EnableWindow(window, TRUE);
}

}  // namespace platform::win32
