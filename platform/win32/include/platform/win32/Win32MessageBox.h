// Message boxes through MessageBoxA.
#pragma once

#include "platform/MessageBox.h"

namespace platform::win32 {

// Whose box it is. A program of its own shows boxes without an owner; a library loaded by a host makes them
// modal on the calling thread by the rule of HostModal, so that the host's windows stay disabled until the box
// is answered.
enum class BoxOwner { None, CallingThread };

class Win32MessageBox : public IMessageBox {
public:
    explicit Win32MessageBox(BoxOwner owner = BoxOwner::None) : owner_(owner) {}

    // When the box cannot be shown, the answer is the one that changes nothing: Cancel or No, else Ok.
    MsgAnswer Show(const std::string& text, const std::string& caption, const MsgStyle& style) override;

    // The MessageBoxA style flags for a style.
    static unsigned Flags(const MsgStyle& style);

private:
    BoxOwner owner_;
};

}  // namespace platform::win32
