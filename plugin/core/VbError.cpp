#include "plugin/core/VbError.h"

#include <new>

namespace orvanta {

VbError::VbError(std::int32_t number, std::u16string description)
    : number_(number), description_(std::move(description)) {}

VbError::VbError(std::int32_t number) : VbError(number, StandardDescription(number)) {}

std::u16string VbError::StandardDescription(std::int32_t number) {
    struct Standard {
        std::int32_t number;
        std::u16string_view description;
    };
    static constexpr Standard kStandard[] = {
        {vb::kInvalidProcedureCall, u"Invalid procedure call or argument"},
        {vb::kOverflow, u"Overflow"},
        {vb::kOutOfMemory, u"Out of memory"},
        {vb::kSubscriptOutOfRange, u"Subscript out of range"},
        {vb::kDivisionByZero, u"Division by zero"},
        {vb::kTypeMismatch, u"Type mismatch"},
        {vb::kInternalError, u"Internal error"},
        {vb::kBadFileNameOrNumber, u"Bad file name or number"},
        {vb::kFileNotFound, u"File not found"},
        {vb::kBadFileMode, u"Bad file mode"},
        {vb::kFileAlreadyOpen, u"File already open"},
        {vb::kDeviceIoError, u"Device I/O error"},
        {vb::kFileAlreadyExists, u"File already exists"},
        {vb::kDiskFull, u"Disk full"},
        {vb::kInputPastEndOfFile, u"Input past end of file"},
        {vb::kTooManyFiles, u"Too many files"},
        {vb::kDeviceUnavailable, u"Device unavailable"},
        {vb::kPermissionDenied, u"Permission denied"},
        {vb::kDiskNotReady, u"Disk not ready"},
        {vb::kRenameAcrossDrives, u"Can't rename with different drive"},
        {vb::kPathFileAccessError, u"Path/File access error"},
        {vb::kPathNotFound, u"Path not found"},
        {vb::kObjectNotSet, u"Object variable or With block variable not set"},
        {vb::kCannotCreateObject, u"ActiveX component can't create object"},
        {vb::kNoSuchMember, u"Object doesn't support this property or method"},
        {vb::kNotSupported, u"Object doesn't support this action"},
        {vb::kKeyInUse, u"This key is already associated with an element of this collection"},
    };
    for (const Standard& entry : kStandard)
        if (entry.number == number) return std::u16string(entry.description);
    return u"Application-defined or object-defined error";
}

std::int32_t VbError::HResult() const {
    if (number_ < 0) return number_;
    return static_cast<std::int32_t>(0x800A0000u | (static_cast<std::uint32_t>(number_) & 0xFFFFu));
}

VbError VbError::FromCurrentException() {
    try {
        throw;
    } catch (const VbError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return VbError(vb::kOutOfMemory);
    } catch (...) {
        return VbError(vb::kInternalError);
    }
}

}  // namespace orvanta
