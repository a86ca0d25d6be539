#include "plugin/com/DeviceNames.h"

#include <new>
#include <optional>

#include "plugin/core/OrvantaObject.h"

namespace orvanta::com {

namespace {

constexpr DISPID kItem = DISPID_VALUE;
constexpr DISPID kAdd = 1;
constexpr DISPID kCount = 2;
constexpr DISPID kRemove = 3;

bool IsMissing(const VARIANT* value) {
    return !value || V_VT(value) == VT_EMPTY || (V_VT(value) == VT_ERROR && V_ERROR(value) == DISP_E_PARAMNOTFOUND);
}

// A place in the list: a text is a key, anything else a position.
ItemPosition PositionOf(const VARIANT* value) {
    Variant plain(*value);
    if (V_VT(&plain.get()) == VT_BSTR) return FromBstr(V_BSTR(&plain.get()));
    return static_cast<std::int64_t>(V_I4(&Variant::ChangeType(plain.get(), VT_I4).get()));
}

std::optional<ItemPosition> OptionalPosition(const VARIANT* value) {
    if (IsMissing(value)) return std::nullopt;
    return PositionOf(value);
}

class Enumerator final : public ComObject<IEnumVARIANT> {
public:
    Enumerator(std::vector<Variant> items, ULONG next) : items_(std::move(items)), next_(next) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        if (!out && count > 0) return E_POINTER;
        if (!fetched && count > 1) return E_INVALIDARG;
        ULONG done = 0;
        HRESULT hr = GuardResult([&] {
            for (; done < count && next_ < items_.size(); ++done, ++next_) {
                VariantInit(&out[done]);
                items_[next_].CopyTo(&out[done]);
            }
            return done == count ? S_OK : S_FALSE;
        });
        if (FAILED(hr)) {  // nothing handed out
            for (ULONG i = 0; i <= done && i < count; ++i) VariantClear(&out[i]);
            done = 0;
        }
        if (fetched) *fetched = done;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        return GuardResult([&] {
            ULONG left = static_cast<ULONG>(items_.size()) - next_;
            next_ += count < left ? count : left;
            return count <= left ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        return Guard([&] { next_ = 0; });
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        return Guard([&] {
            Require(copy);
            *copy = nullptr;
            *copy = new Enumerator(items_, next_);
        });
    }

private:
    std::vector<Variant> items_;
    ULONG next_;
};

}  // namespace

IDispatch* DeviceNames::CreateCatalogue() {
    ComPtr<DeviceNames> collection = ComPtr<DeviceNames>::Attach(new DeviceNames());
    for (const std::u16string& name : OrvantaObject::DeviceNames())
        collection->items_.Add(Variant(name), std::nullopt, std::nullopt, std::nullopt);
    return static_cast<_Collection*>(collection.AddRefed());
}

HRESULT DeviceNames::GetTypeInfoCount(UINT* count) {
    return Guard([&] {
        Require(count);
        *count = 0;
    });
}

HRESULT DeviceNames::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    return GuardResult([&] {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    });
}

HRESULT DeviceNames::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return GuardResult([&]() -> HRESULT {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        if (!names || !ids || count == 0) return E_INVALIDARG;
        static const struct {
            const wchar_t* name;
            DISPID id;
        } kMembers[] = {
            {L"Item", kItem}, {L"Add", kAdd}, {L"Count", kCount}, {L"Remove", kRemove}, {L"_NewEnum", DISPID_NEWENUM}};
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        ids[0] = DISPID_UNKNOWN;
        for (const auto& member : kMembers)
            if (names[0] && lstrcmpiW(names[0], member.name) == 0) ids[0] = member.id;
        if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        // The members have no named parameters.
        if (count > 1) hr = DISP_E_UNKNOWNNAME;
        return hr;
    });
}

HRESULT DeviceNames::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* excepInfo, UINT* argError) {
    return GuardResult([&]() -> HRESULT {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        if (!params) return E_INVALIDARG;
        if (params->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
        UINT count = params->cArgs;
        // Arguments arrive last first; a missing optional one is passed as "not found".
        VARIANT missing;
        VariantInit(&missing);
        V_VT(&missing) = VT_ERROR;
        V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
        auto argument = [&](UINT i) { return i < count ? &params->rgvarg[count - 1 - i] : &missing; };
        auto arity = [&](UINT least, UINT most) { return count >= least && count <= most; };

        Variant value;
        HRESULT hr = S_OK;
        switch (id) {
            case kItem:
                if (!arity(1, 1)) return DISP_E_BADPARAMCOUNT;
                hr = Item(argument(0), value.put());
                break;
            case kAdd:
                if (!arity(1, 4)) return DISP_E_BADPARAMCOUNT;
                hr = Add(argument(0), argument(1), argument(2), argument(3));
                break;
            case kCount: {
                if (!arity(0, 0)) return DISP_E_BADPARAMCOUNT;
                LONG n = 0;
                hr = Count(&n);
                VARIANT* slot = value.put();
                V_VT(slot) = VT_I4;
                V_I4(slot) = n;
                break;
            }
            case kRemove:
                if (!arity(1, 1)) return DISP_E_BADPARAMCOUNT;
                hr = Remove(argument(0));
                break;
            case DISPID_NEWENUM: {
                if (!arity(0, 0)) return DISP_E_BADPARAMCOUNT;
                IUnknown* enumerator = nullptr;
                hr = _NewEnum(&enumerator);
                if (SUCCEEDED(hr)) {
                    VARIANT* slot = value.put();
                    V_VT(slot) = VT_UNKNOWN;
                    V_UNKNOWN(slot) = enumerator;
                }
                break;
            }
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
        if (argError) *argError = 0;
        if (FAILED(hr)) return ToDispatchResult(hr, excepInfo);
        if (result) *result = value.release();
        return S_OK;
    });
}

HRESULT DeviceNames::InterfaceSupportsErrorInfo(REFIID riid) {
    return GuardResult([&] { return IsEqualIID(riid, IID__Collection) ? S_OK : S_FALSE; });
}

HRESULT DeviceNames::Item(VARIANT* index, VARIANT* result) {
    return Guard([&] {
        Require(result);
        VariantInit(result);
        if (IsMissing(index)) throw VbError(vb::kInvalidProcedureCall);
        items_.Item(PositionOf(index)).CopyTo(result);
    });
}

HRESULT DeviceNames::Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) {
    return Guard([&] {
        Require(item);
        std::optional<std::u16string> keyText;
        if (!IsMissing(key)) {
            Variant plain(*key);
            keyText = FromBstr(V_BSTR(&Variant::ChangeType(plain.get(), VT_BSTR).get()));
        }
        items_.Add(Variant(*item), std::move(keyText), OptionalPosition(before), OptionalPosition(after));
    });
}

HRESULT DeviceNames::Count(LONG* count) {
    return Guard([&] {
        Require(count);
        *count = static_cast<LONG>(items_.Count());
    });
}

HRESULT DeviceNames::Remove(VARIANT* index) {
    return Guard([&] {
        if (IsMissing(index)) throw VbError(vb::kInvalidProcedureCall);
        items_.Remove(PositionOf(index));
    });
}

HRESULT DeviceNames::_NewEnum(IUnknown** enumerator) {
    return Guard([&] {
        Require(enumerator);
        *enumerator = nullptr;
        std::vector<Variant> snapshot;
        for (const auto& entry : items_.Entries()) snapshot.push_back(entry.item);
        *enumerator = new Enumerator(std::move(snapshot), 0);
    });
}

}  // namespace orvanta::com
