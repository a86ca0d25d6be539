// Modal message boxes.
#pragma once

#include <string>

namespace platform {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Critical, Information, Exclamation, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MsgStyle {
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    bool taskModal = false;
    bool topmost = false;
};

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // Shows a modal box and waits for the answer.
    virtual MsgAnswer Show(const std::string& text, const std::string& caption, const MsgStyle& style) = 0;
};

}  // namespace platform
