// holdfile: holds a file open, shared for reading only, so that other processes can read and copy it but can
// neither delete nor write it, until told to stop.
//
//   holdfile FILE STOP_FILE
//
// Opens FILE (which must exist) without sharing it for writing or deleting, prints "held" on a line of its own, then
// waits until STOP_FILE exists and exits with 0, closing FILE. Paths may be host paths ("/..."). Exits with 1 when FILE
// cannot be opened, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/Handles.h"
#include "tools/common/UnixPath.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: holdfile FILE STOP_FILE\n");
        return 2;
    }
    std::string file = tools::ToWindowsPath(argv[1]);
    std::string stop = tools::ToWindowsPath(argv[2]);
    platform::win32::UniqueFile held(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held) {
        std::fprintf(stderr, "holdfile: cannot open %s (error %lu)\n", file.c_str(), GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    while (GetFileAttributesA(stop.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(50);
    return 0;
}
