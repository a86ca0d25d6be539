#include "plugin/com/MemberNames.h"

#include <algorithm>
#include <new>

namespace orvanta::com {

namespace {

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool IsNameCharacter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'_';
}

// Compares a table name (upper case) with a name as given, without regard to the case of the latter.
int Compare(const std::wstring& member, const wchar_t* name) {
    std::size_t i = 0;
    for (; i < member.size() && name[i]; ++i) {
        wchar_t a = member[i], b = Upper(name[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (i < member.size()) return 1;
    return name[i] ? -1 : 0;
}

// Interfaces inherit from few others; a deeper chain is a broken type library.
constexpr int kMaxDepth = 8;

}  // namespace

MemberNames::MemberNames(ComPtr<ITypeInfo> info) noexcept : info_(std::move(info)) {
    if (!info_) return;
    try {
        Read(info_.get(), 0);
        std::stable_sort(members_.begin(), members_.end(),
                         [](const Member& a, const Member& b) { return a.name < b.name; });
        // The type information answers a name with its first member of that name.
        members_.erase(std::unique(members_.begin(), members_.end(),
                                   [](const Member& a, const Member& b) { return a.name == b.name; }),
                       members_.end());
        complete_ = true;
    } catch (...) {
        members_.clear();
    }
}

// The members in the order the type information searches them: functions, variables, then the interface
// it inherits from.
void MemberNames::Read(ITypeInfo* info, int depth) {
    if (depth > kMaxDepth) throw ComFailure{E_UNEXPECTED};
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) throw ComFailure{E_UNEXPECTED};
    WORD functions = attributes->cFuncs, variables = attributes->cVars, inherited = attributes->cImplTypes;
    info->ReleaseTypeAttr(attributes);
    auto add = [&](MEMBERID id) {
        platform::win32::UniqueBstr name;
        UINT count = 0;
        if (FAILED(info->GetNames(id, name.put(), 1, &count)) || count != 1) throw ComFailure{E_UNEXPECTED};
        std::wstring upper(name.get(), SysStringLen(name.get()));
        for (wchar_t& c : upper) {
            if (!IsNameCharacter(c)) throw ComFailure{E_UNEXPECTED};  // such a member is left to the type information
            c = Upper(c);
        }
        members_.push_back({std::move(upper), id});
    };
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function))) throw ComFailure{E_UNEXPECTED};
        MEMBERID id = function->memid;
        info->ReleaseFuncDesc(function);
        add(id);
    }
    for (UINT i = 0; i < variables; ++i) {
        VARDESC* variable = nullptr;
        if (FAILED(info->GetVarDesc(i, &variable))) throw ComFailure{E_UNEXPECTED};
        MEMBERID id = variable->memid;
        info->ReleaseVarDesc(variable);
        add(id);
    }
    if (inherited == 0) return;
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> base;
    if (FAILED(info->GetRefTypeOfImplType(0, &reference)) || FAILED(info->GetRefTypeInfo(reference, base.Put())))
        throw ComFailure{E_UNEXPECTED};
    Read(base.get(), depth + 1);
}

HRESULT MemberNames::GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) const noexcept {
    if (!info_) return DISP_E_UNKNOWNNAME;
    if (!complete_ || count != 1 || !names || !ids || !names[0]) return info_->GetIDsOfNames(names, count, ids);
    const wchar_t* name = names[0];
    for (const wchar_t* c = name; *c; ++c)
        if (!IsNameCharacter(*c)) return info_->GetIDsOfNames(names, count, ids);
    auto found = std::lower_bound(members_.begin(), members_.end(), name,
                                  [](const Member& member, const wchar_t* n) { return Compare(member.name, n) < 0; });
    if (found == members_.end() || Compare(found->name, name) != 0) {
        ids[0] = MEMBERID_NIL;
        return DISP_E_UNKNOWNNAME;
    }
    ids[0] = found->id;
    return S_OK;
}

}  // namespace orvanta::com
