#include "VbError.h"

#include <new>

#include "Text.h"

namespace orvanta {

VbError::VbError(std::int32_t number, std::u16string description)
    : number_(number), description_(std::move(description)) {}

VbError::VbError(std::int32_t number) : VbError(number, StandardDescription(number)) {}

std::u16string VbError::StandardDescription(std::int32_t number) {
    switch (number) {
        case vb::kInvalidProcedureCall: return u"Invalid procedure call or argument";
        case vb::kOverflow: return u"Overflow";
        case vb::kOutOfMemory: return u"Out of memory";
        case vb::kSubscriptOutOfRange: return u"Subscript out of range";
        case vb::kTypeMismatch: return u"Type mismatch";
        case vb::kInternalError: return u"Internal error";
        case 52: return u"Bad file name or number";
        case vb::kFileNotFound: return u"File not found";
        case 58: return u"File already exists";
        case 61: return u"Disk full";
        case vb::kPermissionDenied: return u"Permission denied";
        case 71: return u"Disk not ready";
        case vb::kPathFileAccessError: return u"Path/File access error";
        case vb::kPathNotFound: return u"Path not found";
        case 91: return u"Object variable or With block variable not set";
        case vb::kCannotCreateObject: return u"ActiveX component can't create object";
        case 438: return u"Object doesn't support this property or method";
        case vb::kNotSupported: return u"Object doesn't support this action";
        case vb::kKeyInUse: return u"This key is already associated with an element of this collection";
        default: return u"Application-defined or object-defined error";
    }
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

std::u16string TrapText(std::u16string_view operation, const VbError& error) {
    std::u16string text = u" ";
    text += operation;
    text += u", Err Number: ";
    text += Decimal(error.Number());
    text += u" Err Description: ";
    text += error.Description();
    return text;
}

}  // namespace orvanta
