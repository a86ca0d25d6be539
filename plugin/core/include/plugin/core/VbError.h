// The plug-in's error model: a VB-style error number with its description.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta {

namespace vb {
inline constexpr std::int32_t kInvalidProcedureCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kDivisionByZero = 11;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInternalError = 51;
// The file errors.
inline constexpr std::int32_t kBadFileNameOrNumber = 52;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kBadFileMode = 54;
inline constexpr std::int32_t kFileAlreadyOpen = 55;
inline constexpr std::int32_t kDeviceIoError = 57;
inline constexpr std::int32_t kFileAlreadyExists = 58;
inline constexpr std::int32_t kDiskFull = 61;
inline constexpr std::int32_t kInputPastEndOfFile = 62;
inline constexpr std::int32_t kTooManyFiles = 67;
inline constexpr std::int32_t kDeviceUnavailable = 68;
inline constexpr std::int32_t kPermissionDenied = 70;
inline constexpr std::int32_t kDiskNotReady = 71;
inline constexpr std::int32_t kRenameAcrossDrives = 74;
inline constexpr std::int32_t kPathFileAccessError = 75;
inline constexpr std::int32_t kPathNotFound = 76;
// Objects.
inline constexpr std::int32_t kObjectNotSet = 91;
inline constexpr std::int32_t kCannotCreateObject = 429;
inline constexpr std::int32_t kNoSuchMember = 438;
inline constexpr std::int32_t kNotSupported = 445;
inline constexpr std::int32_t kKeyInUse = 457;
}  // namespace vb

class VbError : public std::exception {
public:
    VbError(std::int32_t number, std::u16string description);
    // With the runtime's standard description of the number.
    explicit VbError(std::int32_t number);

    std::int32_t Number() const { return number_; }
    const std::u16string& Description() const { return description_; }
    const char* what() const noexcept override { return "VB error"; }
    // The failing COM result an automation server answers for this error: severity error, facility control,
    // the number in the low word. A negative number already is a COM result and is answered as it is.
    std::int32_t HResult() const;

    // The runtime's text for a standard error number; "Application-defined or object-defined error" otherwise.
    static std::u16string StandardDescription(std::int32_t number);
    // The exception in flight as a VB error: VbError as it is, bad_alloc as "Out of memory", anything else as
    // "Internal error". Call only inside a catch block.
    static VbError FromCurrentException();

private:
    std::int32_t number_;
    std::u16string description_;
};

// Runs call and answers the error it raised, nullopt when it raised none; nothing escapes. For the COM shell's
// members: a returned error becomes HResult() with the error's description as COM error information.
template <class Call>
std::optional<VbError> CatchVbError(Call&& call) noexcept {
    try {
        call();
        return std::nullopt;
    } catch (...) {
        try {
            return VbError::FromCurrentException();
        } catch (...) {
            return VbError(vb::kOutOfMemory, std::u16string());  // no room even for the description
        }
    }
}

}  // namespace orvanta
