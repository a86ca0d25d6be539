#include "RemoteList.h"

#include <commctrl.h>

#include <cstring>
#include <utility>

namespace tools {

namespace {

constexpr UINT kTimeoutMs = 5000;
// Layout of the remote block: a structure, a RECT, then a text buffer.
constexpr std::size_t kStructOffset = 0;
constexpr std::size_t kStructSize = 256;
constexpr std::size_t kRectOffset = kStructSize;
constexpr std::size_t kTextOffset = kRectOffset + 64;
constexpr std::size_t kTextChars = 2048;
constexpr std::size_t kBlockSize = kTextOffset + kTextChars * sizeof(wchar_t);

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result)) return -1;
    return static_cast<LRESULT>(result);
}

BOOL CALLBACK FindListView(HWND child, LPARAM param) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, WC_LISTVIEWW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

// Whether a process runs with 64-bit pointers.
bool Is64BitProcess(HANDLE process) {
    BOOL targetWow = FALSE, selfWow = FALSE;
    IsWow64Process(process, &targetWow);
    if (targetWow) return false;
    if (sizeof(void*) == 8) return true;
    IsWow64Process(GetCurrentProcess(), &selfWow);
    return selfWow != FALSE;  // a 32-bit helper on a 64-bit system facing a native process
}

void PostClick(HWND window, int x, int y, bool twice) {
    LPARAM at = MAKELPARAM(x, y);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    if (!twice) return;
    PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

}  // namespace

std::optional<RemoteList> RemoteList::Find(HWND window) {
    HWND list = nullptr;
    EnumChildWindows(window, FindListView, reinterpret_cast<LPARAM>(&list));
    if (!list) return std::nullopt;
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) return std::nullopt;
    bool wide64 = Is64BitProcess(process);
    if (wide64 && sizeof(void*) == 4) {
        CloseHandle(process);  // a 32-bit helper cannot place pointers for a 64-bit process
        return std::nullopt;
    }
    void* remote = VirtualAllocEx(process, nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) {
        CloseHandle(process);
        return std::nullopt;
    }
    return RemoteList(list, process, wide64, remote);
}

RemoteList::RemoteList(HWND list, HANDLE process, bool wide64, void* remote)
    : list_(list), process_(process), wide64_(wide64), remote_(remote) {}

RemoteList::RemoteList(RemoteList&& other) noexcept
    : list_(other.list_),
      process_(std::exchange(other.process_, nullptr)),
      wide64_(other.wide64_),
      remote_(std::exchange(other.remote_, nullptr)) {}

RemoteList::~RemoteList() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

unsigned long long RemoteList::Address(std::size_t offset) const {
    return reinterpret_cast<unsigned long long>(remote_) + offset;
}

bool RemoteList::Write(std::size_t offset, const void* data, std::size_t size) const {
    SIZE_T written = 0;
    return WriteProcessMemory(process_, static_cast<char*>(remote_) + offset, data, size, &written) && written == size;
}

bool RemoteList::Read(std::size_t offset, void* data, std::size_t size) const {
    SIZE_T read = 0;
    return ReadProcessMemory(process_, static_cast<char*>(remote_) + offset, data, size, &read) && read == size;
}

std::wstring RemoteList::ReadText(std::size_t offset, std::size_t chars) const {
    std::wstring text(chars, L'\0');
    if (chars && !Read(offset, text.data(), chars * sizeof(wchar_t))) return {};
    text.resize(wcsnlen(text.c_str(), chars));
    return text;
}

int RemoteList::ColumnCount() const {
    HWND header = reinterpret_cast<HWND>(Ask(list_, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(Ask(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int RemoteList::RowCount() const { return static_cast<int>(Ask(list_, LVM_GETITEMCOUNT, 0, 0)); }

int RemoteList::ColumnWidth(int column) const { return static_cast<int>(Ask(list_, LVM_GETCOLUMNWIDTH, column, 0)); }

int RemoteList::ActiveRow() const {
    return static_cast<int>(Ask(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

int RemoteList::TopRow() const { return static_cast<int>(Ask(list_, LVM_GETTOPINDEX, 0, 0)); }

// The structures differ between 32- and 64-bit processes only in the size and alignment of their pointers, so
// they are laid out by hand: HDITEMW and LVITEMW up to cchTextMax.
std::wstring RemoteList::Header(int column) const {
    HWND header = reinterpret_cast<HWND>(Ask(list_, LVM_GETHEADER, 0, 0));
    unsigned char item[kStructSize] = {};
    UINT mask = HDI_TEXT;
    int chars = static_cast<int>(kTextChars);
    unsigned long long text = Address(kTextOffset);
    std::memcpy(item, &mask, 4);
    if (wide64_) {
        std::memcpy(item + 8, &text, 8);
        std::memcpy(item + 24, &chars, 4);
    } else {
        auto text32 = static_cast<unsigned>(text);
        std::memcpy(item + 8, &text32, 4);
        std::memcpy(item + 16, &chars, 4);
    }
    wchar_t none = 0;
    if (!header || !Write(kStructOffset, item, sizeof item) || !Write(kTextOffset, &none, sizeof none)) return {};
    if (Ask(header, HDM_GETITEMW, column, static_cast<LPARAM>(Address(kStructOffset))) <= 0) return {};
    return ReadText(kTextOffset, kTextChars);
}

std::wstring RemoteList::Cell(int row, int column) const {
    unsigned char item[kStructSize] = {};
    UINT mask = LVIF_TEXT;
    int chars = static_cast<int>(kTextChars);
    unsigned long long text = Address(kTextOffset);
    std::memcpy(item, &mask, 4);
    std::memcpy(item + 4, &row, 4);
    std::memcpy(item + 8, &column, 4);
    if (wide64_) {
        std::memcpy(item + 24, &text, 8);
        std::memcpy(item + 32, &chars, 4);
    } else {
        auto text32 = static_cast<unsigned>(text);
        std::memcpy(item + 20, &text32, 4);
        std::memcpy(item + 24, &chars, 4);
    }
    if (!Write(kStructOffset, item, sizeof item)) return {};
    LRESULT length = Ask(list_, LVM_GETITEMTEXTW, row, static_cast<LPARAM>(Address(kStructOffset)));
    if (length <= 0) return {};
    return ReadText(kTextOffset, static_cast<std::size_t>(length) < kTextChars ? length : kTextChars);
}

int RemoteList::TextWidth(const std::wstring& text) const {
    std::wstring copy = text.substr(0, kTextChars - 1);
    copy.push_back(L'\0');
    if (!Write(kTextOffset, copy.data(), copy.size() * sizeof(wchar_t))) return -1;
    return static_cast<int>(Ask(list_, LVM_GETSTRINGWIDTHW, 0, static_cast<LPARAM>(Address(kTextOffset))));
}

std::optional<RECT> RemoteList::HeaderRect(int column) const {
    HWND header = reinterpret_cast<HWND>(Ask(list_, LVM_GETHEADER, 0, 0));
    RECT rect{};
    if (!header || !Write(kRectOffset, &rect, sizeof rect)) return std::nullopt;
    if (Ask(header, HDM_GETITEMRECT, column, static_cast<LPARAM>(Address(kRectOffset))) <= 0) return std::nullopt;
    if (!Read(kRectOffset, &rect, sizeof rect)) return std::nullopt;
    return rect;
}

std::optional<RECT> RemoteList::RowRect(int row) const {
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!Write(kRectOffset, &rect, sizeof rect)) return std::nullopt;
    if (Ask(list_, LVM_GETITEMRECT, row, static_cast<LPARAM>(Address(kRectOffset))) <= 0) return std::nullopt;
    if (!Read(kRectOffset, &rect, sizeof rect)) return std::nullopt;
    return rect;
}

bool RemoteList::ClickHeader(int column) const {
    HWND header = reinterpret_cast<HWND>(Ask(list_, LVM_GETHEADER, 0, 0));
    std::optional<RECT> rect = HeaderRect(column);
    if (!header || !rect) return false;
    PostClick(header, (rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2, false);
    return true;
}

bool RemoteList::DoubleClickRow(int row) const {
    Ask(list_, LVM_ENSUREVISIBLE, row, FALSE);
    std::optional<RECT> rect = RowRect(row);
    if (!rect) return false;
    // Inside the first column, where every row has text.
    int width = ColumnWidth(0);
    int x = rect->left + (width > 8 ? width / 2 : 4);
    PostClick(list_, x, (rect->top + rect->bottom) / 2, true);
    return true;
}

}  // namespace tools
