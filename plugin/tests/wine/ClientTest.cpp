// An early-bound client of Orvanta.dll through the widl-generated header: the class object from the library's
// own DllGetClassObject, the vtable of _clsOrvanta, DeviceNames through _Collection, errors and registration.
#include <gtest/gtest.h>
#include <windows.h>

// The COM headers build on windows.h.
#include <oleauto.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"
#include "Orvanta_h.h"
#include "platform/win32/Handles.h"
#include "platform/win32/testing/BoxWatch.h"

namespace orvanta::test {

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
using InstallFn = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);

// An export of the library as the function type it has.
template <class Fn>
Fn Export(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The host settings a quiet load needs: a programs folder and a data folder, so that no box comes up.
class HostFiles {
public:
    HostFiles() {
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        path_ = std::string(windows) + "\\praxo32.ini";
        saved_ = path_ + ".client-test";
        hadFile_ = MoveFileExA(path_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        WritePrivateProfileStringA("System", "PgmsDir", "C:\\Host\\Pgms", "praxo32.ini");
        WritePrivateProfileStringA("System", "DataDir", "C:\\Host\\Data", "praxo32.ini");
        // A server connection whose data-access component is not registered: each run of the library's start
        // routine leaves one record in Orvanta.log.
        WritePrivateProfileStringA("ADOConnection", "ConnectThru", "SQL", "praxo32.ini");
        WritePrivateProfileStringA("ADOConnection", "DataSource", "SRV01", "praxo32.ini");
    }
    ~HostFiles() {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "praxo32.ini");
        DeleteFileA(path_.c_str());
        if (hadFile_) MoveFileExA(saved_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }

private:
    std::string path_, saved_;
    bool hadFile_ = false;
};

class Client : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host_ = new HostFiles();
        library_ = LoadLibraryW(DllPath().c_str());
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(library_, nullptr);
        auto getClassObject = Export<GetClassObjectFn>(library_, "DllGetClassObject");
        ASSERT_NE(getClassObject, nullptr);
        IClassFactory* factory = nullptr;
        ASSERT_HRESULT_SUCCEEDED(
            getClassObject(CLSID_clsOrvanta, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
        ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID__clsOrvanta, reinterpret_cast<void**>(&object_)));
        factory->Release();
    }
    void TearDown() override {
        if (object_) object_->Release();
    }

    _Collection* Names() {
        IDispatch* dispatch = nullptr;
        EXPECT_HRESULT_SUCCEEDED(object_->get_DeviceNames(&dispatch));
        if (!dispatch) return nullptr;
        _Collection* collection = nullptr;
        EXPECT_HRESULT_SUCCEEDED(dispatch->QueryInterface(IID__Collection, reinterpret_cast<void**>(&collection)));
        dispatch->Release();
        return collection;
    }

    static std::wstring ItemText(_Collection* collection, LONG index) {
        VARIANT position, item;
        VariantInit(&item);
        V_VT(&position) = VT_I4;
        V_I4(&position) = index;
        if (FAILED(collection->Item(&position, &item)) || V_VT(&item) != VT_BSTR) return L"<none>";
        std::wstring text(V_BSTR(&item));
        VariantClear(&item);
        return text;
    }

    static std::wstring ErrorDescription() {
        IErrorInfo* info = nullptr;
        if (GetErrorInfo(0, &info) != S_OK || !info) return L"<no error info>";
        Bstr description;
        info->GetDescription(description.Out());
        info->Release();
        return description.str();
    }

    static inline HostFiles* host_ = nullptr;
    static inline HMODULE library_ = nullptr;
    _clsOrvanta* object_ = nullptr;
};

TEST_F(Client, FreshObjectHasItsDefaultsAndConstants) {
    Bstr text;
    ASSERT_HRESULT_SUCCEEDED(object_->get_ConnectStringParams(text.Out()));
    EXPECT_EQ(text.str(), L"me");
    ASSERT_HRESULT_SUCCEEDED(object_->get_Handshaking(text.Out()));
    EXPECT_EQ(text.str(), L"");
    ASSERT_HRESULT_SUCCEEDED(object_->get_PATIENTID(text.Out()));
    EXPECT_EQ(text.str(), L"");
    VARIANT_BOOL flag = VARIANT_TRUE;
    ASSERT_HRESULT_SUCCEEDED(object_->get_gblnShouldWriteToLog(&flag));
    EXPECT_EQ(flag, VARIANT_FALSE);
    SHORT segments = -1;
    ASSERT_HRESULT_SUCCEEDED(object_->get_NumDataSegments(&segments));
    EXPECT_EQ(segments, 0);
    IDispatch* patient = reinterpret_cast<IDispatch*>(1);
    ASSERT_HRESULT_SUCCEEDED(object_->get_mobjPatient(&patient));
    EXPECT_EQ(patient, nullptr);
}

TEST_F(Client, SettersCopyTheirArgumentAndGettersHandOutCopies) {
    Bstr name(L"O'Brien");
    ASSERT_HRESULT_SUCCEEDED(object_->put_LastName(&name));
    EXPECT_EQ(name.str(), L"O'Brien");
    Bstr read;
    ASSERT_HRESULT_SUCCEEDED(object_->get_LastName(read.Out()));
    EXPECT_EQ(read.str(), L"O'Brien");
    EXPECT_NE(read.get(), name.get());
    Bstr company(L"Clinic");
    ASSERT_HRESULT_SUCCEEDED(object_->put_CompanyName(company.get()));
    ASSERT_HRESULT_SUCCEEDED(object_->get_CompanyName(read.Out()));
    EXPECT_EQ(read.str(), L"Clinic");
    LONG exam = -42;
    ASSERT_HRESULT_SUCCEEDED(object_->put_ExamRecNum(&exam));
    exam = 0;
    ASSERT_HRESULT_SUCCEEDED(object_->get_ExamRecNum(&exam));
    EXPECT_EQ(exam, -42);
    VARIANT_BOOL on = VARIANT_TRUE;
    ASSERT_HRESULT_SUCCEEDED(object_->put_HaveRM_PD_Data(&on));
    on = VARIANT_FALSE;
    ASSERT_HRESULT_SUCCEEDED(object_->get_HaveRM_PD_Data(&on));
    EXPECT_EQ(on, VARIANT_TRUE);
    Bstr quoted;
    Bstr input(L"a''b");
    ASSERT_HRESULT_SUCCEEDED(object_->fun_sFixString(&input, quoted.Out()));
    EXPECT_EQ(quoted.str(), L"a''''b");
    EXPECT_EQ(input.str(), L"a''b");
    EXPECT_EQ(object_->get_LastName(nullptr), E_POINTER);
}

// A host object that counts its references.
class Counted : public IDispatch {
public:
    LONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
};

TEST_F(Client, ObjectFieldsHoldOneReferenceAndReleaseIt) {
    Counted first, second;
    ASSERT_HRESULT_SUCCEEDED(object_->putref_mobjLMDataObject(&first));
    EXPECT_EQ(first.references, 2);
    IDispatch* read = nullptr;
    ASSERT_HRESULT_SUCCEEDED(object_->get_mobjLMDataObject(&read));
    EXPECT_EQ(read, &first);
    read->Release();
    ASSERT_HRESULT_SUCCEEDED(object_->putref_mobjLMDataObject(&second));
    EXPECT_EQ(first.references, 1);
    ASSERT_HRESULT_SUCCEEDED(object_->putref_mobjPatient(&first));
    object_->Release();
    object_ = nullptr;
    EXPECT_EQ(first.references, 1);
    EXPECT_EQ(second.references, 1);
}

TEST_F(Client, DeviceNamesThroughCollectionAreFreshOnEveryRead) {
    _Collection* names = Names();
    ASSERT_NE(names, nullptr);
    LONG count = 0;
    ASSERT_HRESULT_SUCCEEDED(names->Count(&count));
    EXPECT_EQ(count, 16);
    EXPECT_EQ(ItemText(names, 1), L"Capture VexaFyndra");
    EXPECT_EQ(ItemText(names, 16), L"Review Pendro");

    VARIANT extra, missing;
    V_VT(&extra) = VT_BSTR;
    V_BSTR(&extra) = SysAllocString(L"Capture Other");
    V_VT(&missing) = VT_ERROR;
    V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
    ASSERT_HRESULT_SUCCEEDED(names->Add(&extra, &missing, &missing, &missing));
    VariantClear(&extra);
    VARIANT first;
    V_VT(&first) = VT_I4;
    V_I4(&first) = 1;
    ASSERT_HRESULT_SUCCEEDED(names->Remove(&first));
    ASSERT_HRESULT_SUCCEEDED(names->Count(&count));
    EXPECT_EQ(count, 16);
    EXPECT_EQ(ItemText(names, 1), L"Review VexaFyndra");
    EXPECT_EQ(ItemText(names, 16), L"Capture Other");

    _Collection* again = Names();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, names);
    EXPECT_EQ(ItemText(again, 1), L"Capture VexaFyndra");

    // Enumeration in catalogue order.
    IUnknown* unknown = nullptr;
    ASSERT_HRESULT_SUCCEEDED(again->_NewEnum(&unknown));
    IEnumVARIANT* items = nullptr;
    ASSERT_HRESULT_SUCCEEDED(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)));
    unknown->Release();
    VARIANT item;
    ULONG fetched = 0, seen = 0;
    std::wstring third;
    IEnumVARIANT* copy = nullptr;
    while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        if (++seen == 3) third = V_BSTR(&item);
        if (seen == 2) items->Clone(&copy);  // checked below
        VariantClear(&item);
    }
    items->Release();
    EXPECT_EQ(seen, 16u);
    EXPECT_EQ(third, L"Capture Sorvane");
    // A clone goes on from where the original stood; a short fetch says so.
    ASSERT_NE(copy, nullptr);
    VARIANT rest[16];
    EXPECT_EQ(copy->Next(16, rest, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 14u);
    EXPECT_EQ(std::wstring(V_BSTR(&rest[0])), L"Capture Sorvane");
    for (ULONG i = 0; i < fetched; ++i) VariantClear(&rest[i]);
    EXPECT_EQ(copy->Clone(nullptr), E_POINTER);
    copy->Release();

    // No keys: a text finds nothing.
    VARIANT key, result;
    VariantInit(&result);
    V_VT(&key) = VT_BSTR;
    V_BSTR(&key) = SysAllocString(L"Capture Sorvane");
    EXPECT_EQ(again->Item(&key, &result), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5));
    VariantClear(&key);
    V_VT(&first) = VT_I4;
    V_I4(&first) = 17;
    EXPECT_EQ(again->Item(&first, &result), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 9));
    EXPECT_EQ(ErrorDescription(), L"Subscript out of range");
    again->Release();
    names->Release();
}

TEST_F(Client, UntrappedErrorFailsWithControlFacilityAndErrorInfo) {
    ISupportErrorInfo* support = nullptr;
    ASSERT_HRESULT_SUCCEEDED(object_->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)));
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__clsOrvanta), S_OK);
    support->Release();
    // A file name that is no text: ParseFileName has no trap.
    Bstr result, folder(L"C:\\Review");
    VARIANT name;
    V_VT(&name) = VT_ARRAY | VT_I4;
    V_ARRAY(&name) = SafeArrayCreateVector(VT_I4, 0, 2);
    HRESULT hr = object_->ParseFileName(&name, &folder, result.Out());
    VariantClear(&name);
    EXPECT_EQ(hr, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 13));
    EXPECT_EQ(result.get(), nullptr);
    EXPECT_EQ(ErrorDescription(), L"Type mismatch");
}

TEST_F(Client, LateBoundCallsGoThroughTheTypeLibrary) {
    LPOLESTR name = const_cast<LPOLESTR>(L"FUN_SFIXSTRING");
    DISPID id = 0;
    ASSERT_HRESULT_SUCCEEDED(object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(id, 73);
    // A by-reference text argument given as such.
    Bstr text(L"O'Brien");
    VARIANT argument, result;
    V_VT(&argument) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&argument) = &text;
    VariantInit(&result);
    DISPPARAMS params{&argument, nullptr, 1, 0};
    ASSERT_HRESULT_SUCCEEDED(
        object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr));
    ASSERT_EQ(V_VT(&result), VT_BSTR);
    EXPECT_STREQ(V_BSTR(&result), L"O''Brien");
    VariantClear(&result);

    // A failing member reports its error as an exception of the call: ParseFileName of a name that is no text.
    name = const_cast<LPOLESTR>(L"ParseFileName");
    ASSERT_HRESULT_SUCCEEDED(object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    Bstr folder(L"C:\\Review");
    VARIANT arguments[2];
    V_VT(&arguments[0]) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&arguments[0]) = &folder;
    V_VT(&arguments[1]) = VT_ARRAY | VT_I4;
    V_ARRAY(&arguments[1]) = SafeArrayCreateVector(VT_I4, 0, 2);
    DISPPARAMS both{arguments, nullptr, 2, 0};
    EXCEPINFO exception{};
    EXPECT_EQ(object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &both, &result, &exception, nullptr),
              DISP_E_EXCEPTION);
    VariantClear(&arguments[1]);
    EXPECT_EQ(exception.scode, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 13));
    if (exception.bstrDescription) {
        EXPECT_STREQ(exception.bstrDescription, L"Type mismatch");
    }
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
}

// The member names of a type and of those it inherits.
void AddMemberNames(ITypeInfo* info, std::vector<std::wstring>& names) {
    TYPEATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
    UINT functions = attributes->cFuncs, inherited = attributes->cImplTypes;
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* function = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(i, &function));
        Bstr name;
        UINT count = 0;
        EXPECT_HRESULT_SUCCEEDED(info->GetNames(function->memid, name.Out(), 1, &count));
        info->ReleaseFuncDesc(function);
        names.push_back(name.str());
    }
    HREFTYPE reference = 0;
    ITypeInfo* base = nullptr;
    if (inherited == 0 || FAILED(info->GetRefTypeOfImplType(0, &reference)) ||
        FAILED(info->GetRefTypeInfo(reference, &base)))
        return;
    AddMemberNames(base, names);
    base->Release();
}

TEST_F(Client, LateBoundNamesAreAnsweredAsTheTypeInformationAnswersThem) {
    ITypeInfo* info = nullptr;
    ASSERT_HRESULT_SUCCEEDED(object_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    std::vector<std::wstring> members;
    AddMemberNames(info, members);
    EXPECT_GT(members.size(), 76u);
    auto cased = [](std::wstring name, bool upper) {
        for (wchar_t& c : name) c = upper ? towupper(c) : towlower(c);
        return name;
    };
    std::vector<std::vector<std::wstring>> cases;
    for (const std::wstring& member : members)
        cases.insert(cases.end(), {{member}, {cased(member, true)}, {cased(member, false)}});
    cases.insert(cases.end(), {
                                  {L"IrisCategory"},
                                  {L""},
                                  {L"Patient ID"},
                                  {L"PATIENTID", L"PATIENTID"},
                                  {L"ParseFileName", L"MoveToPath", L"sFileNameStructure"},
                                  {L"parsefilename", L"MOVETOPATH"},
                                  {L"ParseFileName", L"FileName"},
                                  {L"GetIDFromEquipFName", L"fname", L"DeviceName"},
                              });
    for (const auto& names : cases) {
        std::vector<LPOLESTR> given;
        std::wstring shown;
        for (const std::wstring& name : names) {
            given.push_back(const_cast<LPOLESTR>(name.c_str()));
            shown += L"[" + name + L"]";
        }
        UINT count = static_cast<UINT>(given.size());
        std::vector<DISPID> expected(count, 12345), actual(count, 12345);
        HRESULT wanted = info->GetIDsOfNames(given.data(), count, expected.data());
        EXPECT_EQ(object_->GetIDsOfNames(IID_NULL, given.data(), count, LOCALE_USER_DEFAULT, actual.data()), wanted)
            << shown;
        EXPECT_EQ(actual, expected) << shown;
    }
    LPOLESTR unknown = const_cast<LPOLESTR>(L"IrisCategory");
    DISPID id = 0;
    EXPECT_EQ(object_->GetIDsOfNames(IID_NULL, &unknown, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    info->Release();
}

TEST_F(Client, DoDeviceFunctionWithoutNameIsEmptyAndLoadEquipPropsIsExact) {
    Bstr result;
    ASSERT_HRESULT_SUCCEEDED(object_->DoDeviceFunction(result.Out()));
    EXPECT_EQ(result.str(), L"");
    Bstr lower(L"capture Sorvane");
    ASSERT_HRESULT_SUCCEEDED(object_->LoadEquipProps(&lower));
    ASSERT_HRESULT_SUCCEEDED(object_->get_EquipProgPathFName(result.Out()));
    EXPECT_EQ(result.str(), L"");
    Bstr name(L"Review Sorvane");
    ASSERT_HRESULT_SUCCEEDED(object_->LoadEquipProps(&name));
    ASSERT_HRESULT_SUCCEEDED(object_->get_EquipProgPathFName(result.Out()));
    EXPECT_EQ(result.str(), L"C:\\SCANSUITE\\bin\\Enrolix.exe");
    ASSERT_HRESULT_SUCCEEDED(object_->get_EquipDataPath(result.Out()));
    EXPECT_EQ(result.str(), L"C:\\Host\\Pgms");
}

// The records of the library's start routine in Orvanta.log beside the library.
int LibraryStartRecords() {
    std::wstring log = DllPath().substr(0, DllPath().find_last_of(L"\\/") + 1) + L"Orvanta.log";
    platform::win32::UniqueFile file(
        CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return 0;
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    int records = 0;
    for (std::size_t at = 0; (at = text.find(" LibraryStart, Err Number: 429", at)) != std::string::npos; ++at)
        ++records;
    return records;
}

TEST_F(Client, LibraryCannotUnloadWhileAnObjectLivesAndStartsOncePerLoad) {
    int started = LibraryStartRecords();
    EXPECT_GE(started, 1);
    auto canUnload = Export<CanUnloadFn>(library_, "DllCanUnloadNow");
    ASSERT_NE(canUnload, nullptr);
    EXPECT_EQ(canUnload(), S_FALSE);
    object_->Release();
    object_ = nullptr;
    EXPECT_EQ(canUnload(), S_OK);

    // The host carries on without unloading: the next class object does not start the library again.
    SetUp();
    ASSERT_NE(object_, nullptr);
    Bstr result;
    EXPECT_HRESULT_SUCCEEDED(object_->get_EquipDataPath(result.Out()));
    EXPECT_EQ(LibraryStartRecords(), started);
}

// PXEquip.ini for one test, the file that was there put back afterwards.
class EquipFile {
public:
    EquipFile() {
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        path_ = std::string(windows) + "\\PXEquip.ini";
        saved_ = path_ + ".client-test";
        hadFile_ = MoveFileExA(path_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    }
    EquipFile(const EquipFile&) = delete;
    EquipFile& operator=(const EquipFile&) = delete;
    ~EquipFile() {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "PXEquip.ini");
        DeleteFileA(path_.c_str());
        if (hadFile_) MoveFileExA(saved_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    void Set(const char* section, const char* key, const std::string& value) {
        WritePrivateProfileStringA(section, key, value.c_str(), "PXEquip.ini");
    }

private:
    std::string path_, saved_;
    bool hadFile_ = false;
};

// The capture's boxes belong to the host's window: it stays disabled while one is up.
TEST_F(Client, CaptureBoxIsModalOnTheHostsWindow) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string images = std::string(temp) + "orvanta-client-images";
    CreateDirectoryA(images.c_str(), nullptr);
    EquipFile equip;
    equip.Set("Equipment", "Number", "1");
    equip.Set("Equipment", "1", "5:x:Orvanta:Capture Sorvane");
    equip.Set("5", "EquipProgPathFName", "C:\\Missing\\Registration.exe");
    equip.Set("5", "EquipDataPath", images);

    platform::win32::testing::HostWindow host(true);
    ASSERT_EQ(GetActiveWindow(), host.get());
    Bstr name(L"Capture Sorvane"), result;
    ASSERT_HRESULT_SUCCEEDED(object_->put_DeviceName(&name));
    auto seen = platform::win32::testing::WatchBox(
        "Attention", host.get(), [&] { EXPECT_HRESULT_SUCCEEDED(object_->CaptureDevice(result.Out())); });
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, host.get());
    EXPECT_FALSE(seen.hostEnabled);
    EXPECT_TRUE(IsWindowEnabled(host.get()));
    EXPECT_EQ(result.str(), L"");  // the program is missing
    RemoveDirectoryA((images + "\\Data").c_str());
    RemoveDirectoryA(images.c_str());
}

// Without an active window the list window still keeps the host out: the thread's enabled windows are disabled
// while it is up, and exactly those are enabled again.
TEST_F(Client, ListWindowKeepsAHostWithoutActiveWindowOut) {
    platform::win32::testing::HostWindow host(false), disabledBefore(false);
    EnableWindow(disabledBefore.get(), FALSE);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    Bstr name(L"Review Sorvane"), result;
    ASSERT_HRESULT_SUCCEEDED(object_->put_DeviceName(&name));
    auto seen = platform::win32::testing::WatchBox(
        "Orvanta Images", host.get(), [&] { EXPECT_HRESULT_SUCCEEDED(object_->ReviewDevice(result.Out())); }, IDCANCEL);
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_FALSE(seen.hostEnabled);
    EXPECT_TRUE(IsWindowEnabled(host.get()));
    EXPECT_FALSE(IsWindowEnabled(disabledBefore.get()));
    EXPECT_EQ(result.str(), L"Was OK");
}

bool KeyExists(HKEY root, const std::wstring& key) {
    platform::win32::UniqueKey handle;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, handle.put()) == ERROR_SUCCESS;
}

std::wstring DefaultValue(HKEY root, const std::wstring& key) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<none>";
    return buffer;
}

TEST(Registration, PerUserInstallWritesTheClassKeysAndUninstallRemovesThem) {
    platform::win32::UniqueModule library(LoadLibraryW(DllPath().c_str()));
    ASSERT_TRUE(library);
    auto install = Export<InstallFn>(library.get(), "DllInstall");
    ASSERT_NE(install, nullptr);
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring clsid = classes + L"CLSID\\{BD3AAF59-38AB-46D8-A19B-93A9A17D2B55}";
    const std::wstring typelib = classes + L"TypeLib\\{EA3E15A2-1AD0-426B-8481-C5E915E56EE7}";
    const std::wstring iface = classes + L"Interface\\{B79558F2-BBF3-45AF-A4E9-4970CD9495D5}";
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, clsid));

    ASSERT_HRESULT_SUCCEEDED(install(TRUE, L"user"));
    EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, classes + L"Orvanta.clsOrvanta\\CLSID"),
              L"{BD3AAF59-38AB-46D8-A19B-93A9A17D2B55}");
    std::wstring server = DefaultValue(HKEY_CURRENT_USER, clsid + L"\\InprocServer32");
    EXPECT_EQ(lstrcmpiW(server.c_str(), DllPath().c_str()), 0) << std::string(server.begin(), server.end());
    EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, clsid + L"\\ProgID"), L"Orvanta.clsOrvanta");
    EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, typelib + L"\\1.0"), L"Orvanta");
    EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, iface), L"_clsOrvanta");
    // Nothing for the machine.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, clsid));

    ASSERT_HRESULT_SUCCEEDED(install(FALSE, L"user"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, classes + L"Orvanta.clsOrvanta"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, clsid));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, typelib));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, iface));
    // Unregistering what is not registered is no failure.
    EXPECT_HRESULT_SUCCEEDED(install(FALSE, L"user"));
}

// What a host of this pointer size finds through the registry once the DLL given is registered for it. Run by
// the registration scenarios (--gtest_also_run_disabled_tests), not on its own.
TEST(Registered, DISABLED_ProgIdCreatesTheClassAndItsTypeLibraryLoads) {
    CLSID clsid = {};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Orvanta.clsOrvanta", &clsid));
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_clsOrvanta));
    _clsOrvanta* object = nullptr;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID__clsOrvanta, reinterpret_cast<void**>(&object)));
    IDispatch* names = nullptr;
    EXPECT_HRESULT_SUCCEEDED(object->get_DeviceNames(&names));
    _Collection* collection = nullptr;
    if (names) names->QueryInterface(IID__Collection, reinterpret_cast<void**>(&collection));
    LONG count = 0;
    if (collection) {
        EXPECT_HRESULT_SUCCEEDED(collection->Count(&count));
    }
    EXPECT_EQ(count, 16);
    if (collection) collection->Release();
    if (names) names->Release();
    object->Release();

    // Its own entry of the type library, not the other pointer size's.
    Bstr path;
    ASSERT_HRESULT_SUCCEEDED(QueryPathOfRegTypeLib(LIBID_Orvanta, 1, 0, 0, path.Out()));
    const std::wstring found = path.str();
    EXPECT_EQ(lstrcmpiW(found.c_str(), DllPath().c_str()), 0) << std::string(found.begin(), found.end());
    ITypeLib* library = nullptr;
    ASSERT_HRESULT_SUCCEEDED(LoadRegTypeLib(LIBID_Orvanta, 1, 0, 0, &library));
    ITypeInfo* info = nullptr;
    EXPECT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(IID__clsOrvanta, &info));
    if (info) info->Release();
    library->Release();
}

}  // namespace

}  // namespace orvanta::test
