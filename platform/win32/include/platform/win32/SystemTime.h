// A broken-down local time as the SYSTEMTIME of the Windows time functions.
#pragma once

#include <windows.h>

#include <ctime>

namespace platform::win32 {

inline SYSTEMTIME SystemTimeOf(const std::tm& time) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(time.tm_year + 1900);
    st.wMonth = static_cast<WORD>(time.tm_mon + 1);
    st.wDay = static_cast<WORD>(time.tm_mday);
    st.wDayOfWeek = static_cast<WORD>(time.tm_wday);
    st.wHour = static_cast<WORD>(time.tm_hour);
    st.wMinute = static_cast<WORD>(time.tm_min);
    st.wSecond = static_cast<WORD>(time.tm_sec);
    return st;
}

}  // namespace platform::win32
