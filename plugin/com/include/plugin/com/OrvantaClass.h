// clsOrvanta: the COM shell around OrvantaObject. The vtable methods convert between automation types and the
// core's types; IDispatch goes through the type library's information of _clsOrvanta, the names through a
// table read from it once.
#pragma once

#include "Orvanta_h.h"
#include "plugin/com/ComObject.h"
#include "plugin/com/ComSupport.h"
#include "plugin/com/Module.h"
#include "plugin/core/OrvantaObject.h"

// The object-valued public fields of _clsOrvanta, in interface order.
#define ORVANTA_OBJECT_FIELDS(X) \
    X(mobjPatient)               \
    X(mobjKWVisTestsDataObject)  \
    X(mobjUAVAKWTestsDataObject) \
    X(mobjRTSubjDataObject)      \
    X(mobjRTFinalDataObject)     \
    X(mobjTrailCLDataObject)     \
    X(mobjLMDataObject)          \
    X(mobjRMDataObject)          \
    X(mobjKMDataObject)          \
    X(mobjARDataObject)          \
    X(mobjVLDataObject)          \
    X(mobjLXDataObject)          \
    X(mobjPresentingCLDataObject)

namespace orvanta::com {

class OrvantaClass final : public ComObject<_clsOrvanta, ISupportErrorInfo> {
public:
    // A new object with one reference, initialised (it reads the host programs folder).
    static HRESULT Create(ModuleState& state, REFIID riid, void** object);

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excepInfo, UINT* argError) override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

    // _clsOrvanta: public fields
#define ORVANTA_OBJECT_FIELD(Name)                                    \
    HRESULT STDMETHODCALLTYPE get_##Name(IDispatch** value) override; \
    HRESULT STDMETHODCALLTYPE putref_##Name(IDispatch* value) override;
    ORVANTA_OBJECT_FIELDS(ORVANTA_OBJECT_FIELD)
#undef ORVANTA_OBJECT_FIELD
    HRESULT STDMETHODCALLTYPE get_gblnShouldWriteToLog(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_gblnShouldWriteToLog(VARIANT_BOOL value) override;

    // Properties
#define ORVANTA_GET(Name, Type) HRESULT STDMETHODCALLTYPE get_##Name(Type* value) override;
#define ORVANTA_GET_LET(Name, Type, SetterType) \
    ORVANTA_GET(Name, Type)                     \
    HRESULT STDMETHODCALLTYPE put_##Name(SetterType value) override;
    ORVANTA_GET_LET(CompanyName, BSTR, BSTR)
    ORVANTA_GET_LET(Model, BSTR, BSTR)
    ORVANTA_GET_LET(ExamDate, BSTR, BSTR)
    ORVANTA_GET(UseOtherCommCtrl, VARIANT_BOOL)
    ORVANTA_GET_LET(Look4EndOfTransChar, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(CharsAtEndOfData2Look4, BSTR, BSTR*)
    ORVANTA_GET_LET(MaxCharsFromThisDevice, LONG, LONG*)
    ORVANTA_GET_LET(DataSource, BSTR, BSTR*)
    ORVANTA_GET(SQLString2Execute, BSTR)
    ORVANTA_GET(ConnectStringParams, BSTR)
    ORVANTA_GET_LET(HaveRTSubjData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveRTFinalData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveTrailCLData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HavePresentingCLData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveKMData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveBinoVisTestData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveRMData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveRM_PD_Data, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveLMData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveLXData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveARData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveVAAidedData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET_LET(HaveVAUnAidedData, VARIANT_BOOL, VARIANT_BOOL*)
    ORVANTA_GET(NumDataSegments, SHORT)
    ORVANTA_GET_LET(PATIENTID, BSTR, BSTR*)
    ORVANTA_GET_LET(LastName, BSTR, BSTR*)
    ORVANTA_GET_LET(FirstName, BSTR, BSTR*)
    ORVANTA_GET_LET(MiddleName, BSTR, BSTR*)
    ORVANTA_GET_LET(Gender, BSTR, BSTR*)
    ORVANTA_GET_LET(ExamRecNum, LONG, LONG*)
    ORVANTA_GET_LET(DateOfBirth, BSTR, BSTR*)
    ORVANTA_GET_LET(ProviderName, BSTR, BSTR*)
    ORVANTA_GET_LET(IrisCatagory, BSTR, BSTR*)
    ORVANTA_GET_LET(EquipDataPath, BSTR, BSTR*)
    ORVANTA_GET_LET(EquipDataFileStartChars, BSTR, BSTR*)
    ORVANTA_GET_LET(EquipDataFileEndChars, BSTR, BSTR*)
    ORVANTA_GET_LET(EquipProgPathFName, BSTR, BSTR*)
    ORVANTA_GET(UseSerialPort, VARIANT_BOOL)
    ORVANTA_GET(CommPort, BSTR)
    ORVANTA_GET(BaudRate, BSTR)
    ORVANTA_GET(DataBits, BSTR)
    ORVANTA_GET(Parity, BSTR)
    ORVANTA_GET(StopBits, BSTR)
    ORVANTA_GET(CommEvent, BSTR)
    ORVANTA_GET(FirstChar, BSTR)
    ORVANTA_GET(LastChar, BSTR)
    ORVANTA_GET(Handshaking, BSTR)
    ORVANTA_GET(DeviceNames, IDispatch*)
    ORVANTA_GET(LogoToolTip, BSTR)
    ORVANTA_GET_LET(DataIsSaved, VARIANT_BOOL, VARIANT_BOOL*)
#undef ORVANTA_GET_LET
#undef ORVANTA_GET

    // Methods
    HRESULT STDMETHODCALLTYPE GetIDFromEquipFName(BSTR* deviceName, BSTR* fileName, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE LoadEquipProps(BSTR* deviceName) override;
    HRESULT STDMETHODCALLTYPE put_DeviceName(BSTR* strOrvanta) override;
    HRESULT STDMETHODCALLTYPE NumPatientImageFiles(LONG* result) override;
    HRESULT STDMETHODCALLTYPE DoDeviceFunction(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE ReviewDevice(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE CaptureDevice(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE ParseFileName(VARIANT* fileNameStructure, BSTR* moveToPath, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE GetPraxoDBPath(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE fun_sFixString(BSTR* text, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE ShouldWriteToLog(VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE WriteToLog(BSTR* whatDoing) override;

private:
    explicit OrvantaClass(ModuleState& state);

    ModuleState& state_;
    OrvantaObject core_;
};

}  // namespace orvanta::com
