#include "plugin/core/Trap.h"

#include "plugin/core/PluginLog.h"
#include "plugin/core/Text.h"

namespace orvanta {

std::u16string TrapText(std::u16string_view operation, const VbError& error) {
    std::u16string text = u" ";
    text += operation;
    text += u", Err Number: ";
    text += Decimal(error.Number());
    text += u" Err Description: ";
    text += error.Description();
    return text;
}

Trap Trap::Operation(Services& services, std::u16string_view operation, bool withMarker, Action action) {
    return Trap(
        services,
        [name = std::u16string(operation), withMarker](const VbError& error, int marker) {
            std::u16string text = TrapText(name, error);
            if (withMarker) {
                text += u' ';
                text += Decimal(marker);
            }
            return text;
        },
        action);
}

Trap Trap::Reporting(Services& services, std::function<std::u16string(int marker)> context) {
    return Trap(
        services, [context = std::move(context)](const VbError&, int marker) { return context(marker); },
        Action::Report);
}

void Trap::Handle(const VbError& error) noexcept {
    std::u16string text;
    try {
        text = compose_(error, marker_);
    } catch (...) {
        // Without memory for the text the report still names the error.
    }
    if (action_ != Action::Report) {
        // A log that cannot be written does not keep the error from being reported.
        CatchVbError([&] { WritePluginLog(services_, text); });
    }
    if (action_ != Action::Log) {
        // The box has shown the error even when its record cannot be written.
        CatchVbError([&] { ReportError(services_, text, error); });
    }
}

}  // namespace orvanta
