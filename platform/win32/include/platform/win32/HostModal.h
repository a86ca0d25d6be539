// The one rule for every window and box shown on a host's thread: it keeps the host's windows out until it is
// closed. Owned by the thread's active window, which the system disables meanwhile; without one (another program
// in front, the host minimised or driving from a background window), every enabled top-level window of the
// thread is disabled for the scope's lifetime and exactly those are enabled again afterwards, as a task-modal
// box does.
#pragma once

#include <windows.h>

#include <vector>

namespace platform::win32 {

class HostModal {
public:
    // Call on the host's thread just before the window or box is created.
    HostModal();
    ~HostModal();
    HostModal(const HostModal&) = delete;
    HostModal& operator=(const HostModal&) = delete;

    // The owner to give the window or box; nullptr when the scope keeps the windows out itself.
    HWND Owner() const { return owner_; }

private:
    HWND owner_;
    std::vector<HWND> disabled_;
};

}  // namespace platform::win32
