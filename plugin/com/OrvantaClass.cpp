#include "plugin/com/OrvantaClass.h"

#include <new>

#include "plugin/com/DeviceNames.h"

namespace orvanta::com {

namespace {

void PutText(BSTR* out, std::u16string_view text) {
    Require(out);
    *out = ToBstr(text);
}

// An out parameter checked and emptied before the work, so that a failure leaves nothing to free.
template <class T>
void Start(T* out) {
    Require(out);
    *out = T{};
}

void PutBool(VARIANT_BOOL* out, bool value) {
    Require(out);
    *out = value ? VARIANT_TRUE : VARIANT_FALSE;
}

template <class T, class U>
void PutNumber(T* out, U value) {
    Require(out);
    *out = static_cast<T>(value);
}

std::u16string TextArgument(BSTR* in) {
    Require(in);
    return FromBstr(*in);
}

bool BoolArgument(VARIANT_BOOL* in) {
    Require(in);
    return *in != VARIANT_FALSE;
}

// The text of a variant argument as VB's conversion to String gives it.
std::u16string VariantText(VARIANT* in) {
    Require(in);
    return FromBstr(V_BSTR(&Variant::ChangeType(*in, VT_BSTR, VARIANT_ALPHABOOL).get()));
}

// What a public object field holds: one counted reference to the host's object.
class HeldDispatch final : public IHostObject {
public:
    explicit HeldDispatch(IDispatch* object) : object_(object) {}
    IDispatch* AddRefed() const { return object_.AddRefed(); }

private:
    ComPtr<IDispatch> object_;
};

IDispatch* HeldObject(const HostObjectRef& field) {
    auto* held = dynamic_cast<const HeldDispatch*>(field.get());
    return held ? held->AddRefed() : nullptr;
}

HostObjectRef HoldObject(IDispatch* object) {
    if (!object) return nullptr;
    return std::make_shared<HeldDispatch>(object);
}

}  // namespace

OrvantaClass::OrvantaClass(ModuleState& state) : state_(state), core_(state.services) {}

HRESULT OrvantaClass::Create(ModuleState& state, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    OrvantaClass* created = new (std::nothrow) OrvantaClass(state);
    if (!created) return E_OUTOFMEMORY;
    HRESULT hr = Guard([&] { created->core_.Initialise(); });
    if (SUCCEEDED(hr)) hr = created->QueryInterface(riid, object);
    created->Release();
    return hr;
}

HRESULT OrvantaClass::GetTypeInfoCount(UINT* count) {
    return Guard([&] {
        Require(count);
        *count = state_.classTypeInfo ? 1 : 0;
    });
}

HRESULT OrvantaClass::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return GuardResult([&] {
        Require(info);
        *info = nullptr;
        if (index != 0 || !state_.classTypeInfo) return DISP_E_BADINDEX;
        *info = state_.classTypeInfo.AddRefed();
        return S_OK;
    });
}

HRESULT OrvantaClass::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return GuardResult([&] {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        if (!state_.classTypeInfo) return E_UNEXPECTED;
        return state_.classMembers.GetIDsOfNames(names, count, ids);
    });
}

HRESULT OrvantaClass::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* excepInfo, UINT* argError) {
    return GuardResult([&] {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        if (!state_.classTypeInfo) return E_UNEXPECTED;
        return state_.classTypeInfo->Invoke(static_cast<_clsOrvanta*>(this), id, flags, params, result, excepInfo,
                                            argError);
    });
}

HRESULT OrvantaClass::InterfaceSupportsErrorInfo(REFIID riid) {
    return GuardResult([&] { return IsEqualIID(riid, IID__clsOrvanta) ? S_OK : S_FALSE; });
}

// Public fields.
#define ORVANTA_OBJECT_FIELD(Name)                             \
    HRESULT OrvantaClass::get_##Name(IDispatch** value) {      \
        return Guard([&] {                                     \
            Require(value);                                    \
            *value = HeldObject(core_.Name);                   \
        });                                                    \
    }                                                          \
    HRESULT OrvantaClass::putref_##Name(IDispatch* value) {    \
        return Guard([&] { core_.Name = HoldObject(value); }); \
    }
ORVANTA_OBJECT_FIELDS(ORVANTA_OBJECT_FIELD)
#undef ORVANTA_OBJECT_FIELD

HRESULT OrvantaClass::get_gblnShouldWriteToLog(VARIANT_BOOL* value) {
    return Guard([&] { PutBool(value, core_.gblnShouldWriteToLog); });
}

HRESULT OrvantaClass::put_gblnShouldWriteToLog(VARIANT_BOOL value) {
    return Guard([&] { core_.gblnShouldWriteToLog = value != VARIANT_FALSE; });
}

// Stored properties: the getter hands out a copy of the core's field, the setter copies the caller's value.
#define ORVANTA_TEXT_GET(Name)                             \
    HRESULT OrvantaClass::get_##Name(BSTR* value) {        \
        return Guard([&] { PutText(value, core_.Name); }); \
    }
#define ORVANTA_TEXT_LET_VALUE(Name)                         \
    ORVANTA_TEXT_GET(Name)                                   \
    HRESULT OrvantaClass::put_##Name(BSTR value) {           \
        return Guard([&] { core_.Name = FromBstr(value); }); \
    }
#define ORVANTA_TEXT_LET_REF(Name)                               \
    ORVANTA_TEXT_GET(Name)                                       \
    HRESULT OrvantaClass::put_##Name(BSTR* value) {              \
        return Guard([&] { core_.Name = TextArgument(value); }); \
    }
#define ORVANTA_BOOL_GET(Name)                              \
    HRESULT OrvantaClass::get_##Name(VARIANT_BOOL* value) { \
        return Guard([&] { PutBool(value, core_.Name); });  \
    }
#define ORVANTA_BOOL_LET_REF(Name)                               \
    ORVANTA_BOOL_GET(Name)                                       \
    HRESULT OrvantaClass::put_##Name(VARIANT_BOOL* value) {      \
        return Guard([&] { core_.Name = BoolArgument(value); }); \
    }
#define ORVANTA_LONG_LET_REF(Name)                           \
    HRESULT OrvantaClass::get_##Name(LONG* value) {          \
        return Guard([&] { PutNumber(value, core_.Name); }); \
    }                                                        \
    HRESULT OrvantaClass::put_##Name(LONG* value) {          \
        return Guard([&] {                                   \
            Require(value);                                  \
            core_.Name = *value;                             \
        });                                                  \
    }
// Members that always read empty.
#define ORVANTA_EMPTY_TEXT(Name)                                      \
    HRESULT OrvantaClass::get_##Name(BSTR* value) {                   \
        return Guard([&] { PutText(value, OrvantaObject::Name()); }); \
    }

ORVANTA_TEXT_LET_VALUE(CompanyName)
ORVANTA_TEXT_LET_VALUE(Model)
ORVANTA_TEXT_LET_VALUE(ExamDate)
ORVANTA_BOOL_GET(UseOtherCommCtrl)
ORVANTA_BOOL_LET_REF(Look4EndOfTransChar)
ORVANTA_TEXT_LET_REF(CharsAtEndOfData2Look4)
ORVANTA_LONG_LET_REF(MaxCharsFromThisDevice)
ORVANTA_TEXT_LET_REF(DataSource)
ORVANTA_TEXT_GET(SQLString2Execute)
ORVANTA_BOOL_LET_REF(HaveRTSubjData)
ORVANTA_BOOL_LET_REF(HaveRTFinalData)
ORVANTA_BOOL_LET_REF(HaveTrailCLData)
ORVANTA_BOOL_LET_REF(HavePresentingCLData)
ORVANTA_BOOL_LET_REF(HaveKMData)
ORVANTA_BOOL_LET_REF(HaveBinoVisTestData)
ORVANTA_BOOL_LET_REF(HaveRMData)
ORVANTA_BOOL_LET_REF(HaveRM_PD_Data)
ORVANTA_BOOL_LET_REF(HaveLMData)
ORVANTA_BOOL_LET_REF(HaveLXData)
ORVANTA_BOOL_LET_REF(HaveARData)
ORVANTA_BOOL_LET_REF(HaveVAAidedData)
ORVANTA_BOOL_LET_REF(HaveVAUnAidedData)
ORVANTA_TEXT_LET_REF(PATIENTID)
ORVANTA_TEXT_LET_REF(LastName)
ORVANTA_TEXT_LET_REF(FirstName)
ORVANTA_TEXT_LET_REF(MiddleName)
ORVANTA_TEXT_LET_REF(Gender)
ORVANTA_LONG_LET_REF(ExamRecNum)
ORVANTA_TEXT_LET_REF(DateOfBirth)
ORVANTA_TEXT_LET_REF(ProviderName)
ORVANTA_TEXT_LET_REF(IrisCatagory)
ORVANTA_TEXT_LET_REF(EquipDataPath)
ORVANTA_TEXT_LET_REF(EquipDataFileStartChars)
ORVANTA_TEXT_LET_REF(EquipDataFileEndChars)
ORVANTA_TEXT_LET_REF(EquipProgPathFName)
ORVANTA_BOOL_GET(UseSerialPort)
ORVANTA_EMPTY_TEXT(CommPort)
ORVANTA_EMPTY_TEXT(BaudRate)
ORVANTA_EMPTY_TEXT(DataBits)
ORVANTA_EMPTY_TEXT(Parity)
ORVANTA_EMPTY_TEXT(StopBits)
ORVANTA_EMPTY_TEXT(CommEvent)
ORVANTA_EMPTY_TEXT(FirstChar)
ORVANTA_EMPTY_TEXT(LastChar)
ORVANTA_EMPTY_TEXT(Handshaking)
ORVANTA_TEXT_GET(LogoToolTip)
ORVANTA_BOOL_LET_REF(DataIsSaved)
#undef ORVANTA_EMPTY_TEXT
#undef ORVANTA_LONG_LET_REF
#undef ORVANTA_BOOL_LET_REF
#undef ORVANTA_BOOL_GET
#undef ORVANTA_TEXT_LET_REF
#undef ORVANTA_TEXT_LET_VALUE
#undef ORVANTA_TEXT_GET

HRESULT OrvantaClass::get_ConnectStringParams(BSTR* value) {
    return Guard([&] { PutText(value, OrvantaObject::ConnectStringParams()); });
}

HRESULT OrvantaClass::get_NumDataSegments(SHORT* value) {
    return Guard([&] { PutNumber(value, core_.NumDataSegments); });
}

HRESULT OrvantaClass::get_DeviceNames(IDispatch** value) {
    return Guard([&] {
        Require(value);
        *value = nullptr;
        *value = DeviceNames::CreateCatalogue();
    });
}

HRESULT OrvantaClass::GetIDFromEquipFName(BSTR* deviceName, BSTR* fileName, BSTR* result) {
    return Guard(
        [&] { PutText(result, OrvantaObject::GetIDFromEquipFName(TextArgument(deviceName), TextArgument(fileName))); });
}

HRESULT OrvantaClass::LoadEquipProps(BSTR* deviceName) {
    return Guard([&] { core_.LoadEquipProps(TextArgument(deviceName)); });
}

HRESULT OrvantaClass::put_DeviceName(BSTR* strOrvanta) {
    return Guard([&] { core_.DeviceName = TextArgument(strOrvanta); });
}

HRESULT OrvantaClass::NumPatientImageFiles(LONG* result) {
    return Guard([&] {
        Start(result);
        *result = core_.NumPatientImageFiles();
    });
}

HRESULT OrvantaClass::DoDeviceFunction(BSTR* result) {
    return Guard([&] {
        Start(result);
        PutText(result, core_.DoDeviceFunction());
    });
}

HRESULT OrvantaClass::ReviewDevice(BSTR* result) {
    return Guard([&] {
        Start(result);
        PutText(result, core_.ReviewDevice());
    });
}

HRESULT OrvantaClass::CaptureDevice(BSTR* result) {
    return Guard([&] {
        Start(result);
        PutText(result, core_.CaptureDevice());
    });
}

HRESULT OrvantaClass::ParseFileName(VARIANT* fileNameStructure, BSTR* moveToPath, BSTR* result) {
    return Guard([&] {
        Start(result);
        std::u16string fileName = VariantText(fileNameStructure);
        PutText(result, core_.ParseFileName(fileName, TextArgument(moveToPath)));
    });
}

HRESULT OrvantaClass::GetPraxoDBPath(BSTR* result) {
    return Guard([&] {
        Start(result);
        PutText(result, core_.GetPraxoDBPath());
    });
}

HRESULT OrvantaClass::fun_sFixString(BSTR* text, BSTR* result) {
    return Guard([&] { PutText(result, OrvantaObject::fun_sFixString(TextArgument(text))); });
}

HRESULT OrvantaClass::ShouldWriteToLog(VARIANT_BOOL* result) {
    return Guard([&] {
        Start(result);
        PutBool(result, core_.ShouldWriteToLog());
    });
}

HRESULT OrvantaClass::WriteToLog(BSTR* whatDoing) {
    return Guard([&] { core_.WriteToLog(TextArgument(whatDoing)); });
}

}  // namespace orvanta::com
