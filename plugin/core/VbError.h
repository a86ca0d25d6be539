// The plug-in's error model: a VB-style error number with its description.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace orvanta {

namespace vb {
inline constexpr std::int32_t kInvalidProcedureCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInternalError = 51;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kPermissionDenied = 70;
inline constexpr std::int32_t kPathFileAccessError = 75;
inline constexpr std::int32_t kPathNotFound = 76;
inline constexpr std::int32_t kCannotCreateObject = 429;
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

    // The runtime's text for a standard error number; "Application-defined or object-defined error" otherwise.
    static std::u16string StandardDescription(std::int32_t number);
    // The exception in flight as a VB error: VbError as it is, bad_alloc as "Out of memory", anything else as
    // "Internal error". Call only inside a catch block.
    static VbError FromCurrentException();

private:
    std::int32_t number_;
    std::u16string description_;
};

// The text a trapping operation logs and reports: " Op, Err Number: n Err Description: d".
std::u16string TrapText(std::u16string_view operation, const VbError& error);

}  // namespace orvanta
