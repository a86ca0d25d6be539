// The member names of an interface, read once from its type information, so that IDispatch::GetIDsOfNames
// need not search the type information on every late-bound call.
#pragma once

#include <windows.h>

// The COM headers build on windows.h.
#include <oaidl.h>

#include <string>
#include <vector>

#include "plugin/com/ComSupport.h"

namespace orvanta::com {

class MemberNames {
public:
    // Answers nothing itself: every call goes to the type information (none: DISP_E_UNKNOWNNAME).
    MemberNames() = default;
    // The names of info's functions and variables and of those it inherits. When they cannot all be read,
    // every call goes to info.
    explicit MemberNames(ComPtr<ITypeInfo> info) noexcept;

    // As info->GetIDsOfNames: a single name of letters, digits and "_" from the table, without regard to
    // case; a name with named arguments, or with other characters, from the type information itself.
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) const noexcept;

private:
    struct Member {
        std::wstring name;  // upper case
        MEMBERID id;
    };
    void Read(ITypeInfo* info, int depth);

    ComPtr<ITypeInfo> info_;
    std::vector<Member> members_;  // by name
    bool complete_ = false;
};

}  // namespace orvanta::com
