// The error trap of the plug-in's trapping operations. It keeps the operation's step marker and, when the guarded
// body raises, composes the error text and writes it to Orvanta.log, reports it (critical box and a record in
// PX_IF_Orvanta.err), or both in that order, as the operation needs. Nothing leaves a trap.
//
//   Trap trap = Trap::Operation(services, u"CaptureDevice", Trap::kWithMarker);
//   trap.Run([&] { trap.Step(1); ... });   // false when it trapped an error
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/core/Services.h"
#include "plugin/core/VbError.h"

namespace orvanta {

class Trap {
public:
    // What a trapped error becomes, in this order.
    enum class Action { LogThenReport, Report, Log };
    static constexpr bool kWithMarker = true;

    // The device-function trap: " Op, Err Number: n Err Description: d", followed by a blank and the step marker
    // when withMarker, written to Orvanta.log and then reported (or only what action says).
    static Trap Operation(Services& services, std::u16string_view operation, bool withMarker = false,
                          Action action = Action::LogThenReport);
    // A trap that reports with a context text of its own, composed from the step marker when the error strikes
    // (e.g. "LoadGridWithFiles4PatID=" followed by the marker).
    static Trap Reporting(Services& services, std::function<std::u16string(int marker)> context);

    void Step(int marker) { marker_ = marker; }
    int Marker() const { return marker_; }
    // The error the last Run trapped.
    const std::optional<VbError>& Error() const { return error_; }

    // Runs body; answers false after handling an error it raised.
    template <class Body>
    bool Run(Body&& body) noexcept {
        error_ = CatchVbError(std::forward<Body>(body));
        if (!error_) return true;
        Handle(*error_);
        return false;
    }

private:
    using Compose = std::function<std::u16string(const VbError&, int marker)>;
    Trap(Services& services, Compose compose, Action action)
        : services_(services), compose_(std::move(compose)), action_(action) {}
    void Handle(const VbError& error) noexcept;

    Services& services_;
    Compose compose_;
    Action action_;
    int marker_ = 0;
    std::optional<VbError> error_;
};

// " Op, Err Number: n Err Description: d".
std::u16string TrapText(std::u16string_view operation, const VbError& error);

}  // namespace orvanta
