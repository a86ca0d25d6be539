// Speed of the review against what the system itself needs for the same work.
//
//   review_bench COUNT_DEVICE COUNT_KEY COUNT_FOLDER {LIST_DEVICE LIST_KEY LIST_FOLDER LIST_LABEL}...
//
// Creates the registered Orvanta.clsOrvanta and prints comparisons, each of the medians of several
// alternating runs:
// NumPatientImageFiles (device COUNT_DEVICE, patient COUNT_KEY, whose review folder PXEquip.ini names as
// COUNT_FOLDER) against a bare wildcard enumeration of the same pattern; and for each LIST_* group,
// ReviewDevice with the list window loaded, sorted and drawn once, against the enumeration plus a plain sort of
// the names, the figure named by LIST_LABEL. The window is closed as soon as its list has been painted.
#include <windows.h>

// The COM headers build on windows.h.
#include <oleauto.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Orvanta_h.h"

namespace {

constexpr int kRuns = 7;

std::wstring Wide(const char* text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), size);
    result.resize(wcslen(result.c_str()));
    return result;
}

struct Medians {
    double work, baseline;
};

// The median times of work and of baseline in milliseconds, the runs alternating so that a change of load on
// the machine falls on both.
Medians Milliseconds(const std::function<void()>& work, const std::function<void()>& baseline) {
    auto time = [](const std::function<void()>& run) {
        auto start = std::chrono::steady_clock::now();
        run();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    std::vector<double> workTimes, baselineTimes;
    for (int i = 0; i < kRuns; ++i) {
        workTimes.push_back(time(work));
        baselineTimes.push_back(time(baseline));
    }
    auto median = [](std::vector<double>& times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    return {median(workTimes), median(baselineTimes)};
}

std::vector<std::string> Enumerate(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names.emplace_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

class Text {
public:
    explicit Text(const std::wstring& text) : b_(SysAllocString(text.c_str())) {}
    ~Text() { SysFreeString(b_); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    BSTR* operator&() { return &b_; }

private:
    BSTR b_;
};

void Select(_clsOrvanta* orvanta, const char* device, const char* key) {
    Text name(Wide(device)), patient(Wide(key));
    orvanta->put_DeviceName(&name);
    orvanta->put_PATIENTID(&patient);
}

// Closes the list window once its list has been painted: the close is posted when the list's paint message is
// taken from the queue, so it is handled after that paint.
HHOOK g_hook = nullptr;
LRESULT CALLBACK OnMessage(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_PAINT) {
        wchar_t name[64] = {};
        GetClassNameW(message->hwnd, name, 64);
        if (lstrcmpiW(name, L"SysListView32") == 0) PostMessageW(GetParent(message->hwnd), WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 8 || (argc - 4) % 4 != 0) {
        std::fputs(
            "usage: review_bench COUNT_DEVICE COUNT_KEY COUNT_FOLDER "
            "{LIST_DEVICE LIST_KEY LIST_FOLDER LIST_LABEL}...\n",
            stderr);
        return 2;
    }
    if (FAILED(CoInitialize(nullptr))) return 1;
    _clsOrvanta* orvanta = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_clsOrvanta, nullptr, CLSCTX_INPROC_SERVER, IID__clsOrvanta,
                                  reinterpret_cast<void**>(&orvanta));
    if (FAILED(hr)) {
        std::fprintf(stderr, "cannot create Orvanta.clsOrvanta: 0x%08lx\n", static_cast<unsigned long>(hr));
        return 1;
    }

    std::string countPattern = std::string(argv[3]) + "\\" + argv[2] + "_*.*";
    Select(orvanta, argv[1], argv[2]);
    LONG count = 0;
    std::size_t entries = 0;
    Medians counting =
        Milliseconds([&] { orvanta->NumPatientImageFiles(&count); }, [&] { entries = Enumerate(countPattern).size(); });
    std::printf(
        "NumPatientImageFiles: %ld of %zu matching entries in %.1f ms; bare enumeration %.1f ms; "
        "ratio %.2f (goal at most 1.2)\n",
        static_cast<long>(count), entries, counting.work, counting.baseline, counting.work / counting.baseline);

    g_hook = SetWindowsHookExW(WH_GETMESSAGE, OnMessage, nullptr, GetCurrentThreadId());
    for (int group = 4; group + 3 < argc; group += 4) {
        std::string listPattern = std::string(argv[group + 2]) + "\\" + argv[group + 1] + "_*.*";
        Select(orvanta, argv[group], argv[group + 1]);
        std::size_t rows = 0;
        Medians listing = Milliseconds(
            [&] {
                BSTR result = nullptr;
                orvanta->ReviewDevice(&result);
                SysFreeString(result);
            },
            [&] {
                std::vector<std::string> names = Enumerate(listPattern);
                std::sort(names.begin(), names.end());
                rows = names.size();
            });
        std::printf(
            "List window (%s): %zu rows loaded, sorted and shown in %.1f ms; enumeration and sort of the names "
            "%.1f ms; ratio %.2f (goal at most 1.5)\n",
            argv[group + 3], rows, listing.work, listing.baseline, listing.work / listing.baseline);
    }
    UnhookWindowsHookEx(g_hook);

    orvanta->Release();
    CoUninitialize();
    return 0;
}
