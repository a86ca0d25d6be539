#include "platform/win32/Win32MessageBox.h"

#include <windows.h>

#include <optional>

#include "platform/win32/HostModal.h"

namespace platform::win32 {

unsigned Win32MessageBox::Flags(const MsgStyle& style) {
    unsigned flags = 0;
    switch (style.buttons) {
        case MsgButtons::Ok:
            flags |= MB_OK;
            break;
        case MsgButtons::OkCancel:
            flags |= MB_OKCANCEL;
            break;
        case MsgButtons::YesNo:
            flags |= MB_YESNO;
            break;
    }
    switch (style.icon) {
        case MsgIcon::None:
            break;
        case MsgIcon::Critical:
            flags |= MB_ICONERROR;
            break;
        case MsgIcon::Information:
            flags |= MB_ICONINFORMATION;
            break;
        case MsgIcon::Exclamation:
            flags |= MB_ICONEXCLAMATION;
            break;
        case MsgIcon::Question:
            flags |= MB_ICONQUESTION;
            break;
    }
    if (style.taskModal) flags |= MB_TASKMODAL;
    if (style.topmost) flags |= MB_TOPMOST;
    return flags;
}

MsgAnswer Win32MessageBox::Show(const std::string& text, const std::string& caption, const MsgStyle& style) {
    std::optional<HostModal> modal;
    if (owner_ == BoxOwner::CallingThread) modal.emplace();
    switch (MessageBoxA(modal ? modal->Owner() : nullptr, text.c_str(), caption.c_str(), Flags(style))) {
        case IDOK:
            return MsgAnswer::Ok;
        case IDCANCEL:
            return MsgAnswer::Cancel;
        case IDYES:
            return MsgAnswer::Yes;
        case IDNO:
            return MsgAnswer::No;
        default:
            break;
    }
    switch (style.buttons) {
        case MsgButtons::OkCancel:
            return MsgAnswer::Cancel;
        case MsgButtons::YesNo:
            return MsgAnswer::No;
        case MsgButtons::Ok:
            break;
    }
    return MsgAnswer::Ok;
}

}  // namespace platform::win32
