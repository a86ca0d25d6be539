// GoogleTest entry of the Windows tests: the first argument left after GoogleTest's own is the DLL's path.
#include <gtest/gtest.h>
#include <objbase.h>

#include "TestSupport.h"

namespace orvanta::test {

namespace {
std::wstring g_dllPath;
}

const std::wstring& DllPath() { return g_dllPath; }

void SetDllPath(const char* argument) {
    std::string path(argument);
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    g_dllPath.assign(path.begin(), path.end());
}

}  // namespace orvanta::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: %s PATH-OF-Orvanta.dll\n", argv[0]);
        return 2;
    }
    orvanta::test::SetDllPath(argv[1]);
    if (FAILED(CoInitialize(nullptr))) return 2;
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
