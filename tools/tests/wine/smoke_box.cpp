// A program that shows one message box and exits with -40, for checking the test tools end to end.
//
//   smoke_box [TEXT [CAPTION [ok|okcancel|yesno]]]
//
// Shows TEXT (default "Invalid parameters") titled CAPTION (default "Error") with the given buttons,
// task-modal and topmost, prints the answer as "answer=Ok|Cancel|Yes|No" and exits with -40.
#include <cstdio>
#include <string>

#include "platform/win32/Win32MessageBox.h"

int main(int argc, char** argv) {
    using namespace platform;
    std::string text = argc > 1 ? argv[1] : "Invalid parameters";
    std::string caption = argc > 2 ? argv[2] : "Error";
    std::string buttons = argc > 3 ? argv[3] : "ok";
    MsgStyle style;
    style.buttons = buttons == "yesno"      ? MsgButtons::YesNo
                    : buttons == "okcancel" ? MsgButtons::OkCancel
                                            : MsgButtons::Ok;
    style.taskModal = true;
    style.topmost = true;
    win32::Win32MessageBox box;
    const char* names[] = {"Ok", "Cancel", "Yes", "No"};
    std::printf("answer=%s\n", names[static_cast<int>(box.Show(text, caption, style))]);
    return -40;
}
