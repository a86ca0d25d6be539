// Watching a message box from another thread of the test program: who owns it, and whether the host window
// was disabled while it was up.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

namespace platform::win32::testing {

struct BoxSeen {
    bool found = false;
    HWND owner = nullptr;
    bool hostEnabled = true;
};

// Runs show() on this thread while another thread waits (up to 10 s) for a dialog box titled caption, notes its
// owner and whether host was enabled meanwhile, and answers it with OK (or the command given).
template <class Show>
BoxSeen WatchBox(const char* caption, HWND host, Show&& show, WPARAM answer = IDOK) {
    std::atomic<bool> found{false}, hostEnabled{true};
    std::atomic<HWND> owner{nullptr};
    std::thread watcher([&] {
        for (int i = 0; i < 500 && !found; ++i) {
            HWND box = FindWindowA("#32770", caption);
            if (!box) {
                Sleep(20);
                continue;
            }
            owner = GetWindow(box, GW_OWNER);
            hostEnabled = IsWindowEnabled(host) != FALSE;
            found = true;
            PostMessageA(box, WM_COMMAND, answer, 0);
        }
    });
    show();
    watcher.join();
    return BoxSeen{found, owner, hostEnabled};
}

// A top-level window of the calling thread, standing for the host's window; shown and activated when show is set.
class HostWindow {
public:
    explicit HostWindow(bool show) {
        window_ = CreateWindowExA(0, "STATIC", "Host window", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        if (show && window_) {
            ShowWindow(window_, SW_SHOWNORMAL);
            SetForegroundWindow(window_);
            SetActiveWindow(window_);
        }
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace platform::win32::testing
