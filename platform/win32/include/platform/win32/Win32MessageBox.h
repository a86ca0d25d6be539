// Message boxes through MessageBoxA, without an owner window.
#pragma once

#include "platform/MessageBox.h"

namespace platform::win32 {

class Win32MessageBox : public IMessageBox {
public:
    // When the box cannot be shown, the answer is the one that changes nothing: Cancel or No, else Ok.
    MsgAnswer Show(const std::string& text, const std::string& caption, const MsgStyle& style) override;

    // The MessageBoxA style flags for a style.
    static unsigned Flags(const MsgStyle& style);
};

}  // namespace platform::win32
