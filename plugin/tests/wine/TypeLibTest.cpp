// The type library embedded in Orvanta.dll, member by member against the published interface.
#include <gtest/gtest.h>
#include <windows.h>

// The COM headers build on windows.h.
#include <oleauto.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ComTestSupport.h"

namespace orvanta::test {

namespace {

// Every function of _clsOrvanta in interface order: access, name, dispatch id and parameters.
const std::vector<std::string> kMembers = {
    "propget mobjPatient id=1 ([out,retval] IDispatch** mobjPatient)",
    "propputref mobjPatient id=1 ([in] IDispatch* -)",
    "propget gblnShouldWriteToLog id=2 ([out,retval] VARIANT_BOOL* gblnShouldWriteToLog)",
    "propput gblnShouldWriteToLog id=2 ([in] VARIANT_BOOL -)",
    "propget mobjKWVisTestsDataObject id=3 ([out,retval] IDispatch** mobjKWVisTestsDataObject)",
    "propputref mobjKWVisTestsDataObject id=3 ([in] IDispatch* -)",
    "propget mobjUAVAKWTestsDataObject id=4 ([out,retval] IDispatch** mobjUAVAKWTestsDataObject)",
    "propputref mobjUAVAKWTestsDataObject id=4 ([in] IDispatch* -)",
    "propget mobjRTSubjDataObject id=5 ([out,retval] IDispatch** mobjRTSubjDataObject)",
    "propputref mobjRTSubjDataObject id=5 ([in] IDispatch* -)",
    "propget mobjRTFinalDataObject id=6 ([out,retval] IDispatch** mobjRTFinalDataObject)",
    "propputref mobjRTFinalDataObject id=6 ([in] IDispatch* -)",
    "propget mobjTrailCLDataObject id=7 ([out,retval] IDispatch** mobjTrailCLDataObject)",
    "propputref mobjTrailCLDataObject id=7 ([in] IDispatch* -)",
    "propget mobjLMDataObject id=8 ([out,retval] IDispatch** mobjLMDataObject)",
    "propputref mobjLMDataObject id=8 ([in] IDispatch* -)",
    "propget mobjRMDataObject id=9 ([out,retval] IDispatch** mobjRMDataObject)",
    "propputref mobjRMDataObject id=9 ([in] IDispatch* -)",
    "propget mobjKMDataObject id=10 ([out,retval] IDispatch** mobjKMDataObject)",
    "propputref mobjKMDataObject id=10 ([in] IDispatch* -)",
    "propget mobjARDataObject id=11 ([out,retval] IDispatch** mobjARDataObject)",
    "propputref mobjARDataObject id=11 ([in] IDispatch* -)",
    "propget mobjVLDataObject id=12 ([out,retval] IDispatch** mobjVLDataObject)",
    "propputref mobjVLDataObject id=12 ([in] IDispatch* -)",
    "propget mobjLXDataObject id=13 ([out,retval] IDispatch** mobjLXDataObject)",
    "propputref mobjLXDataObject id=13 ([in] IDispatch* -)",
    "propget mobjPresentingCLDataObject id=14 ([out,retval] IDispatch** mobjPresentingCLDataObject)",
    "propputref mobjPresentingCLDataObject id=14 ([in] IDispatch* -)",
    "propget CompanyName id=15 ([out,retval] BSTR* CompanyName)",
    "propput CompanyName id=15 ([in] BSTR -)",
    "propget Model id=16 ([out,retval] BSTR* Model)",
    "propput Model id=16 ([in] BSTR -)",
    "propget ExamDate id=17 ([out,retval] BSTR* ExamDate)",
    "propput ExamDate id=17 ([in] BSTR -)",
    "propget UseOtherCommCtrl id=18 ([out,retval] VARIANT_BOOL* UseOtherCommCtrl)",
    "propget Look4EndOfTransChar id=19 ([out,retval] VARIANT_BOOL* Look4EndOfTransChar)",
    "propput Look4EndOfTransChar id=19 ([in,out] VARIANT_BOOL* -)",
    "propget CharsAtEndOfData2Look4 id=20 ([out,retval] BSTR* CharsAtEndOfData2Look4)",
    "propput CharsAtEndOfData2Look4 id=20 ([in,out] BSTR* -)",
    "propget MaxCharsFromThisDevice id=21 ([out,retval] long* MaxCharsFromThisDevice)",
    "propput MaxCharsFromThisDevice id=21 ([in,out] long* -)",
    "propget DataSource id=22 ([out,retval] BSTR* DataSource)",
    "propput DataSource id=22 ([in,out] BSTR* -)",
    "propget SQLString2Execute id=23 ([out,retval] BSTR* SQLString2Execute)",
    "propget ConnectStringParams id=24 ([out,retval] BSTR* ConnectStringParams)",
    "propget HaveRTSubjData id=25 ([out,retval] VARIANT_BOOL* HaveRTSubjData)",
    "propput HaveRTSubjData id=25 ([in,out] VARIANT_BOOL* -)",
    "propget HaveRTFinalData id=26 ([out,retval] VARIANT_BOOL* HaveRTFinalData)",
    "propput HaveRTFinalData id=26 ([in,out] VARIANT_BOOL* -)",
    "propget HaveTrailCLData id=27 ([out,retval] VARIANT_BOOL* HaveTrailCLData)",
    "propput HaveTrailCLData id=27 ([in,out] VARIANT_BOOL* -)",
    "propget HavePresentingCLData id=28 ([out,retval] VARIANT_BOOL* HavePresentingCLData)",
    "propput HavePresentingCLData id=28 ([in,out] VARIANT_BOOL* -)",
    "propget HaveKMData id=29 ([out,retval] VARIANT_BOOL* HaveKMData)",
    "propput HaveKMData id=29 ([in,out] VARIANT_BOOL* -)",
    "propget HaveBinoVisTestData id=30 ([out,retval] VARIANT_BOOL* HaveBinoVisTestData)",
    "propput HaveBinoVisTestData id=30 ([in,out] VARIANT_BOOL* -)",
    "propget HaveRMData id=31 ([out,retval] VARIANT_BOOL* HaveRMData)",
    "propput HaveRMData id=31 ([in,out] VARIANT_BOOL* -)",
    "propget HaveRM_PD_Data id=32 ([out,retval] VARIANT_BOOL* HaveRM_PD_Data)",
    "propput HaveRM_PD_Data id=32 ([in,out] VARIANT_BOOL* -)",
    "propget HaveLMData id=33 ([out,retval] VARIANT_BOOL* HaveLMData)",
    "propput HaveLMData id=33 ([in,out] VARIANT_BOOL* -)",
    "propget HaveLXData id=34 ([out,retval] VARIANT_BOOL* HaveLXData)",
    "propput HaveLXData id=34 ([in,out] VARIANT_BOOL* -)",
    "propget HaveARData id=35 ([out,retval] VARIANT_BOOL* HaveARData)",
    "propput HaveARData id=35 ([in,out] VARIANT_BOOL* -)",
    "propget HaveVAAidedData id=36 ([out,retval] VARIANT_BOOL* HaveVAAidedData)",
    "propput HaveVAAidedData id=36 ([in,out] VARIANT_BOOL* -)",
    "propget HaveVAUnAidedData id=37 ([out,retval] VARIANT_BOOL* HaveVAUnAidedData)",
    "propput HaveVAUnAidedData id=37 ([in,out] VARIANT_BOOL* -)",
    "propget NumDataSegments id=38 ([out,retval] short* NumDataSegments)",
    "propget PATIENTID id=39 ([out,retval] BSTR* PATIENTID)",
    "propput PATIENTID id=39 ([in,out] BSTR* -)",
    "propget LastName id=40 ([out,retval] BSTR* LastName)",
    "propput LastName id=40 ([in,out] BSTR* -)",
    "propget FirstName id=41 ([out,retval] BSTR* FirstName)",
    "propput FirstName id=41 ([in,out] BSTR* -)",
    "propget MiddleName id=42 ([out,retval] BSTR* MiddleName)",
    "propput MiddleName id=42 ([in,out] BSTR* -)",
    "propget Gender id=43 ([out,retval] BSTR* Gender)",
    "propput Gender id=43 ([in,out] BSTR* -)",
    "propget ExamRecNum id=44 ([out,retval] long* ExamRecNum)",
    "propput ExamRecNum id=44 ([in,out] long* -)",
    "propget DateOfBirth id=45 ([out,retval] BSTR* DateOfBirth)",
    "propput DateOfBirth id=45 ([in,out] BSTR* -)",
    "propget ProviderName id=46 ([out,retval] BSTR* ProviderName)",
    "propput ProviderName id=46 ([in,out] BSTR* -)",
    "propget IrisCatagory id=47 ([out,retval] BSTR* IrisCatagory)",
    "propput IrisCatagory id=47 ([in,out] BSTR* -)",
    "propget EquipDataPath id=48 ([out,retval] BSTR* EquipDataPath)",
    "propput EquipDataPath id=48 ([in,out] BSTR* -)",
    "propget EquipDataFileStartChars id=49 ([out,retval] BSTR* EquipDataFileStartChars)",
    "propput EquipDataFileStartChars id=49 ([in,out] BSTR* -)",
    "propget EquipDataFileEndChars id=50 ([out,retval] BSTR* EquipDataFileEndChars)",
    "propput EquipDataFileEndChars id=50 ([in,out] BSTR* -)",
    "propget EquipProgPathFName id=51 ([out,retval] BSTR* EquipProgPathFName)",
    "propput EquipProgPathFName id=51 ([in,out] BSTR* -)",
    "propget UseSerialPort id=52 ([out,retval] VARIANT_BOOL* UseSerialPort)",
    "propget CommPort id=53 ([out,retval] BSTR* CommPort)",
    "propget BaudRate id=54 ([out,retval] BSTR* BaudRate)",
    "propget DataBits id=55 ([out,retval] BSTR* DataBits)",
    "propget Parity id=56 ([out,retval] BSTR* Parity)",
    "propget StopBits id=57 ([out,retval] BSTR* StopBits)",
    "propget CommEvent id=58 ([out,retval] BSTR* CommEvent)",
    "propget FirstChar id=59 ([out,retval] BSTR* FirstChar)",
    "propget LastChar id=60 ([out,retval] BSTR* LastChar)",
    "propget Handshaking id=61 ([out,retval] BSTR* Handshaking)",
    "propget DeviceNames id=62 ([out,retval] IDispatch** DeviceNames)",
    "func GetIDFromEquipFName id=63 ([in,out] BSTR* DeviceName, [in,out] BSTR* FName, [out,retval] BSTR* "
    "GetIDFromEquipFName)",
    "func LoadEquipProps id=64 ([in,out] BSTR* DeviceName)",
    "propput DeviceName id=65 ([in,out] BSTR* -)",
    "propget LogoToolTip id=66 ([out,retval] BSTR* LogoToolTip)",
    "func NumPatientImageFiles id=67 ([out,retval] long* NumPatientImageFiles)",
    "func DoDeviceFunction id=68 ([out,retval] BSTR* DoDeviceFunction)",
    "func ReviewDevice id=69 ([out,retval] BSTR* ReviewDevice)",
    "func CaptureDevice id=70 ([out,retval] BSTR* CaptureDevice)",
    "func ParseFileName id=71 ([in,out] VARIANT* sFileNameStructure, [in,out] BSTR* MoveToPath, [out,retval] BSTR* "
    "ParseFileName)",
    "func GetPraxoDBPath id=72 ([out,retval] BSTR* GetPraxoDBPath)",
    "func fun_sFixString id=73 ([in,out] BSTR* sString, [out,retval] BSTR* fun_sFixString)",
    "propget DataIsSaved id=74 ([out,retval] VARIANT_BOOL* DataIsSaved)",
    "propput DataIsSaved id=74 ([in,out] VARIANT_BOOL* -)",
    "func ShouldWriteToLog id=75 ([out,retval] VARIANT_BOOL* ShouldWriteToLog)",
    "func WriteToLog id=76 ([in,out] BSTR* WhatDoing)",
};

std::string Narrow(const wchar_t* text) {
    std::string result;
    for (; text && *text; ++text) result += static_cast<char>(*text);
    return result;
}

std::string Name(ITypeInfo* info, MEMBERID id) {
    BSTR name = nullptr;
    if (FAILED(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr))) return "?";
    std::string result = Narrow(name);
    SysFreeString(name);
    return result;
}

std::string TypeName(ITypeInfo* info, const TYPEDESC& type) {
    switch (type.vt) {
        case VT_PTR:
            return TypeName(info, *type.lptdesc) + "*";
        case VT_BSTR:
            return "BSTR";
        case VT_BOOL:
            return "VARIANT_BOOL";
        case VT_I4:
            return "long";
        case VT_I2:
            return "short";
        case VT_DISPATCH:
            return "IDispatch*";
        case VT_UNKNOWN:
            return "IUnknown*";
        case VT_VARIANT:
            return "VARIANT";
        case VT_HRESULT:
            return "HRESULT";
        case VT_VOID:
            return "void";
        case VT_USERDEFINED: {
            ITypeInfo* referenced = nullptr;
            if (FAILED(info->GetRefTypeInfo(type.hreftype, &referenced))) return "?";
            std::string name = Name(referenced, MEMBERID_NIL);
            referenced->Release();
            return name;
        }
        default:
            return "vt" + std::to_string(type.vt);
    }
}

std::string Flags(USHORT flags) {
    std::string result;
    auto add = [&](USHORT flag, const char* word) {
        if (!(flags & flag)) return;
        if (!result.empty()) result += ",";
        result += word;
    };
    add(PARAMFLAG_FIN, "in");
    add(PARAMFLAG_FOUT, "out");
    add(PARAMFLAG_FRETVAL, "retval");
    add(PARAMFLAG_FOPT, "optional");
    return "[" + result + "]";
}

// "access name id=n ([flags] type name, ...)" of one function of a vtable interface. GetNames gives one set of
// parameter names per property, the getter's, and a type library keeps no name for a setter's value (the
// DeviceName setter's strOrvanta lives in the IDL and the generated header only): a setter's value shows as "-".
std::string Describe(ITypeInfo* info, UINT index, std::string* problem) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(index, &func))) return "?";
    std::vector<BSTR> names(func->cParams + 1, nullptr);
    UINT count = 0;
    info->GetNames(func->memid, names.data(), static_cast<UINT>(names.size()), &count);
    std::string access = func->invkind == INVOKE_PROPERTYGET      ? "propget"
                         : func->invkind == INVOKE_PROPERTYPUT    ? "propput"
                         : func->invkind == INVOKE_PROPERTYPUTREF ? "propputref"
                                                                  : "func";
    std::string text = access + " " + Narrow(names[0]) + " id=" + std::to_string(func->memid) + " (";
    for (SHORT i = 0; i < func->cParams; ++i) {
        const ELEMDESC& param = func->lprgelemdescParam[i];
        if (i > 0) text += ", ";
        bool setter = func->invkind == INVOKE_PROPERTYPUT || func->invkind == INVOKE_PROPERTYPUTREF;
        std::string paramName = setter ? "-" : static_cast<UINT>(i + 1) < count ? Narrow(names[i + 1]) : "?";
        text += Flags(param.paramdesc.wParamFlags) + " " + TypeName(info, param.tdesc) + " " + paramName;
    }
    text += ")";
    if (func->elemdescFunc.tdesc.vt != VT_HRESULT) *problem += " returns " + TypeName(info, func->elemdescFunc.tdesc);
    if (func->funckind != FUNC_PUREVIRTUAL && func->funckind != FUNC_DISPATCH) *problem += " not virtual";
    if (func->callconv != CC_STDCALL) *problem += " not stdcall";
    for (BSTR name : names) SysFreeString(name);
    info->ReleaseFuncDesc(func);
    return text;
}

class TypeLibrary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(DllPath().c_str(), REGKIND_NONE, &library_)); }
    void TearDown() override {
        if (library_) library_->Release();
    }

    ITypeInfo* Find(const GUID& guid) {
        ITypeInfo* info = nullptr;
        return SUCCEEDED(library_->GetTypeInfoOfGuid(guid, &info)) ? info : nullptr;
    }

    // The vtable side of a dual interface, or null.
    static ITypeInfo* VtableOf(ITypeInfo* dispatch) {
        HREFTYPE reference = 0;
        ITypeInfo* vtable = nullptr;
        if (FAILED(dispatch->GetRefTypeOfImplType(-1, &reference)) ||
            FAILED(dispatch->GetRefTypeInfo(reference, &vtable)))
            return nullptr;
        return vtable;
    }

    ITypeLib* library_ = nullptr;
};

const GUID kLibrary = {0xEA3E15A2, 0x1AD0, 0x426B, {0x84, 0x81, 0xC5, 0xE9, 0x15, 0xE5, 0x6E, 0xE7}};
const GUID kInterface = {0xB79558F2, 0xBBF3, 0x45AF, {0xA4, 0xE9, 0x49, 0x70, 0xCD, 0x94, 0x95, 0xD5}};
const GUID kClass = {0xBD3AAF59, 0x38AB, 0x46D8, {0xA1, 0x9B, 0x93, 0xA9, 0xA1, 0x7D, 0x2B, 0x55}};
const GUID kEyeSide = {0xE7FA7E00, 0x00FF, 0x4DE2, {0x8D, 0x2F, 0x05, 0xBF, 0x10, 0x72, 0x3E, 0xB1}};
const GUID kCollection = {0xA4C46780, 0x499F, 0x101B, {0xBB, 0x78, 0x00, 0xAA, 0x00, 0x38, 0x3C, 0xBB}};

TEST_F(TypeLibrary, IsOrvantaVersionOneForUsEnglishWithThreeTypes) {
    TLIBATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library_->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(attributes->guid, kLibrary));
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    EXPECT_EQ(attributes->lcid, 1033u);
    library_->ReleaseTLibAttr(attributes);
    BSTR name = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library_->GetDocumentation(-1, &name, nullptr, nullptr, nullptr));
    EXPECT_EQ(Narrow(name), "Orvanta");
    SysFreeString(name);
    // The class, its interface and EyeSide; the automation runtime's collection interface is not published here.
    EXPECT_EQ(library_->GetTypeInfoCount(), 3u);
    EXPECT_EQ(Find(kCollection), nullptr);
}

TEST_F(TypeLibrary, ClassIsCreatableWithTheDualInterfaceAsDefault) {
    ITypeInfo* coclass = Find(kClass);
    ASSERT_NE(coclass, nullptr);
    EXPECT_EQ(Name(coclass, MEMBERID_NIL), "clsOrvanta");
    TYPEATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetTypeAttr(&attributes));
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FCANCREATE);
    EXPECT_EQ(attributes->cImplTypes, 1);
    coclass->ReleaseTypeAttr(attributes);
    INT flags = 0;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetImplTypeFlags(0, &flags));
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE reference = 0;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeOfImplType(0, &reference));
    ITypeInfo* defaultInterface = nullptr;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeInfo(reference, &defaultInterface));
    ASSERT_HRESULT_SUCCEEDED(defaultInterface->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(attributes->guid, kInterface));
    defaultInterface->ReleaseTypeAttr(attributes);
    defaultInterface->Release();
    coclass->Release();
}

TEST_F(TypeLibrary, InterfaceIsHiddenDualNonextensibleAndAutomationCompatible) {
    ITypeInfo* dispatch = Find(kInterface);
    ASSERT_NE(dispatch, nullptr);
    EXPECT_EQ(Name(dispatch, MEMBERID_NIL), "_clsOrvanta");
    TYPEATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(dispatch->GetTypeAttr(&attributes));
    EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
    // Automation compatibility is a flag of the vtable side (checked with the members).
    WORD wanted = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
    EXPECT_EQ(attributes->wTypeFlags & wanted, wanted);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    dispatch->ReleaseTypeAttr(attributes);
    dispatch->Release();
}

TEST_F(TypeLibrary, EveryMemberInInterfaceOrderWithItsAccessIdAndParameters) {
    ITypeInfo* dispatch = Find(kInterface);
    ASSERT_NE(dispatch, nullptr);
    ITypeInfo* vtable = VtableOf(dispatch);
    ASSERT_NE(vtable, nullptr);
    TYPEATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(vtable->GetTypeAttr(&attributes));
    EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
    UINT count = attributes->cFuncs;
    // IUnknown and IDispatch come first in the table of operations.
    EXPECT_EQ(attributes->cbSizeVft, (7 + kMembers.size()) * sizeof(void*));
    vtable->ReleaseTypeAttr(attributes);
    ASSERT_EQ(count, kMembers.size());
    for (UINT i = 0; i < count; ++i) {
        std::string problem;
        EXPECT_EQ(Describe(vtable, i, &problem), kMembers[i]) << "function " << i;
        EXPECT_EQ(problem, "") << kMembers[i];
    }
    vtable->Release();
    dispatch->Release();
}

// Every member of a vtable interface with its access as the README's member table writes it: get, let and set
// for the property getter, setter and reference setter, call for a method, joined by "/".
std::map<std::string, std::string> MemberAccess(ITypeInfo* vtable) {
    TYPEATTR* attributes = nullptr;
    if (FAILED(vtable->GetTypeAttr(&attributes))) return {};
    UINT count = attributes->cFuncs;
    vtable->ReleaseTypeAttr(attributes);
    std::map<std::string, unsigned> kinds;
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* func = nullptr;
        if (FAILED(vtable->GetFuncDesc(i, &func))) continue;
        unsigned kind = func->invkind == INVOKE_PROPERTYGET      ? 1
                        : func->invkind == INVOKE_PROPERTYPUT    ? 2
                        : func->invkind == INVOKE_PROPERTYPUTREF ? 4
                                                                 : 8;
        kinds[Name(vtable, func->memid)] |= kind;
        vtable->ReleaseFuncDesc(func);
    }
    const char* words[] = {"get", "let", "set", "call"};
    std::map<std::string, std::string> access;
    for (const auto& [name, bits] : kinds) {
        std::string text;
        for (unsigned b = 0; b < 4; ++b) {
            if (!(bits & (1u << b))) continue;
            if (!text.empty()) text += '/';
            text += words[b];
        }
        access[name] = text;
    }
    return access;
}

std::string Trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The README's member table: the rows of the section "### Members of ..." up to the next heading of its level or
// above. A row's first cell names members in backticks, its third cell gives their access. A name written twice is
// added to *repeated.
std::map<std::string, std::string> DocumentedAccess(std::istream& in, std::vector<std::string>* repeated) {
    std::map<std::string, std::string> access;
    bool inside = false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("### Members of", 0) == 0) {
            inside = true;
            continue;
        }
        if (inside && (line.rfind("## ", 0) == 0 || line.rfind("### ", 0) == 0)) break;
        if (!inside || line.rfind("| `", 0) != 0) continue;
        std::vector<std::string> cells;
        std::size_t start = 1;
        for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
            cells.push_back(line.substr(start, bar - start));
        if (cells.size() < 3) continue;
        const std::string& names = cells[0];
        for (std::size_t open = names.find('`'); open != std::string::npos; open = names.find('`', open)) {
            std::size_t close = names.find('`', open + 1);
            if (close == std::string::npos) break;
            std::string name = names.substr(open + 1, close - open - 1);
            if (access.count(name)) repeated->push_back(name);
            access[name] = Trimmed(cells[2]);
            open = close + 1;
        }
    }
    return access;
}

TEST_F(TypeLibrary, ReadmeMemberTableNamesEveryMemberWithItsAccess) {
    ASSERT_FALSE(DocumentPath().empty()) << "the README's path is the second argument";
    std::ifstream readme(DocumentPath());
    ASSERT_TRUE(readme.is_open()) << DocumentPath();
    std::vector<std::string> repeated;
    std::map<std::string, std::string> documented = DocumentedAccess(readme, &repeated);
    ITypeInfo* dispatch = Find(kInterface);
    ASSERT_NE(dispatch, nullptr);
    ITypeInfo* vtable = VtableOf(dispatch);
    ASSERT_NE(vtable, nullptr);
    std::map<std::string, std::string> actual = MemberAccess(vtable);
    vtable->Release();
    dispatch->Release();
    EXPECT_EQ(actual.size(), 76u);
    std::vector<std::string> differences;
    for (const auto& [name, access] : actual) {
        auto row = documented.find(name);
        if (row == documented.end())
            differences.push_back("missing: " + name + " (" + access + ")");
        else if (row->second != access)
            differences.push_back(name + ": the table says " + row->second + ", the type library " + access);
    }
    for (const auto& entry : documented)
        if (!actual.count(entry.first)) differences.push_back("not a member: " + entry.first);
    EXPECT_EQ(differences, std::vector<std::string>{});
    EXPECT_EQ(repeated, std::vector<std::string>{});
}

TEST_F(TypeLibrary, DispatchNamesResolveToTheFixedIds) {
    ITypeInfo* dispatch = Find(kInterface);
    ASSERT_NE(dispatch, nullptr);
    struct {
        const wchar_t* name;
        MEMBERID id;
    } names[] = {{L"mobjPatient", 1}, {L"IrisCatagory", 47},   {L"HaveRM_PD_Data", 32}, {L"DeviceNames", 62},
                 {L"DeviceName", 65}, {L"fun_sFixString", 73}, {L"patientid", 39},      {L"WriteToLog", 76}};
    for (const auto& entry : names) {
        LPOLESTR name = const_cast<LPOLESTR>(entry.name);
        MEMBERID id = 0;
        EXPECT_HRESULT_SUCCEEDED(dispatch->GetIDsOfNames(&name, 1, &id)) << Narrow(entry.name);
        EXPECT_EQ(id, entry.id) << Narrow(entry.name);
    }
    LPOLESTR misspelt = const_cast<LPOLESTR>(L"IrisCategory");
    MEMBERID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(&misspelt, 1, &id), DISP_E_UNKNOWNNAME);
    dispatch->Release();
}

TEST_F(TypeLibrary, EyeSideEnumeratesTheThreeSides) {
    ITypeInfo* eyeSide = Find(kEyeSide);
    ASSERT_NE(eyeSide, nullptr);
    EXPECT_EQ(Name(eyeSide, MEMBERID_NIL), "EyeSide");
    TYPEATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(eyeSide->GetTypeAttr(&attributes));
    EXPECT_EQ(attributes->typekind, TKIND_ENUM);
    ASSERT_EQ(attributes->cVars, 3);
    eyeSide->ReleaseTypeAttr(attributes);
    const char* expected[] = {"RightOD", "LeftOS", "BothOU"};
    for (UINT i = 0; i < 3; ++i) {
        VARDESC* var = nullptr;
        ASSERT_HRESULT_SUCCEEDED(eyeSide->GetVarDesc(i, &var));
        EXPECT_EQ(Name(eyeSide, var->memid), expected[i]);
        EXPECT_EQ(V_I4(var->lpvarValue), static_cast<LONG>(i));
        eyeSide->ReleaseVarDesc(var);
    }
    eyeSide->Release();
}

std::string VersionString(const std::vector<BYTE>& data, const wchar_t* name) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), path.c_str(), &value, &length)) return "<missing>";
    return Narrow(static_cast<const wchar_t*>(value));
}

TEST(VersionResource, NamesTheProductItsVersionAndSelfRegistration) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(DllPath().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(DllPath().c_str(), 0, size, data.data()));
    EXPECT_EQ(VersionString(data, L"ProductName"), "Orvanta");
    EXPECT_EQ(VersionString(data, L"FileVersion"), "12.00.0003");
    EXPECT_EQ(VersionString(data, L"ProductVersion"), "12.00.0003");
    EXPECT_EQ(VersionString(data, L"OLESelfRegister"), "");
}

}  // namespace

}  // namespace orvanta::test
