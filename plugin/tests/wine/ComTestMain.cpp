// GoogleTest entry of the Windows tests: the first argument left after GoogleTest's own is the DLL's path.
#include <gtest/gtest.h>
#include <objbase.h>

#include "ComTestSupport.h"

namespace orvanta::test {

namespace {
std::wstring g_dllPath;
std::string g_documentPath;

std::string WindowsPath(const char* argument) {
    std::string path(argument);
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    return path;
}
}  // namespace

const std::wstring& DllPath() { return g_dllPath; }

void SetDllPath(const char* argument) {
    std::string path = WindowsPath(argument);
    g_dllPath.assign(path.begin(), path.end());
}

const std::string& DocumentPath() { return g_documentPath; }

void SetDocumentPath(const char* argument) { g_documentPath = WindowsPath(argument); }

}  // namespace orvanta::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: %s PATH-OF-Orvanta.dll [DOCUMENT]\n", argv[0]);
        return 2;
    }
    orvanta::test::SetDllPath(argv[1]);
    if (argc > 2) orvanta::test::SetDocumentPath(argv[2]);
    if (FAILED(CoInitialize(nullptr))) return 2;
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
