#include "plugin/core/FileLauncher.h"

#include "plugin/core/Trap.h"

namespace orvanta {

namespace {

constexpr std::intptr_t kHandedOver = 32;  // above: the file was handed to its program
constexpr std::intptr_t kNoAssociation = 31;
constexpr int kShowNormal = 1;  // the viewer must be seen

}  // namespace

std::u16string ExtensionOf(std::u16string_view path) {
    std::size_t dot = path.rfind(u'.');
    return std::u16string(dot == path.npos ? path : path.substr(dot + 1));
}

std::u16string LaunchResultText(std::intptr_t shellResult, std::u16string_view path) {
    if (shellResult > kHandedOver) return std::u16string(kWasOk);
    if (shellResult == kNoAssociation)
        return u"There is no file association for the " + ExtensionOf(path) + u" file type.";
    return u"There was a problem executing the default image viewer.\r\n Check that it is properly installed.";
}

std::u16string LaunchFile(Services& services, std::u16string_view path, platform::WindowHandle window) {
    std::u16string result;
    Trap trap = Trap::Reporting(services, [](int) { return std::u16string(u"LaunchFile"); });
    trap.Run([&] {
        std::intptr_t answer = services.shell.Open(window, std::u16string(path), kShowNormal);
        result = LaunchResultText(answer, path);
    });
    return result;
}

}  // namespace orvanta
