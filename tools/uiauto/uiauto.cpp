// uiauto: finds top-level windows of any process on the desktop, reads their controls and presses buttons.
//
//   uiauto list [--all]
//       Prints the visible (with --all: every) top-level window: handle, process id, class, title.
//   uiauto wait-box --title T [--class C] [--timeout-ms N] [--click BUTTON] [--text-out FILE]
//       Waits for a message box (class "#32770" unless --class says otherwise) titled exactly T, prints its
//       message text and writes it, as it stands, to FILE. With --click it presses BUTTON (OK, Cancel,
//       Yes, No, ... by caption, with or without "&"; "#1" by control id, whatever the language) and waits until
//       the box has closed.
//   uiauto wait-window --title T [--class C] [--timeout-ms N]
//       Waits for a visible top-level window titled exactly T.
//   uiauto wait-gone --title T [--class C] [--timeout-ms N]
//       Waits until no visible top-level window is titled T.
//   uiauto click --title T --button BUTTON [--class C] [--timeout-ms N]
//       Presses a button of a window (waiting for both to appear); does not wait for the window to close.
//   uiauto close --title T [--class C] [--timeout-ms N]
//       Asks the window to close (WM_CLOSE) and waits until it has gone.
//   uiauto dump --title T [--class C] [--timeout-ms N]
//       Prints the window's child controls: handle, class, control id, enabled state, text.
//   uiauto read-list --title T [--class C] [--timeout-ms N]
//       Prints the window's ListView as tab-separated lines (UTF-8): "header" and the header texts, "width"
//       and the column widths in pixels, "needed" and the widths the longest text of each column (header
//       included) needs, one "row" line per row with its cells, and "active" with the active row (1-based,
//       0 for none) and "top" with the first row in view (1-based).
//   uiauto click-header --title T --column N      posts a click on the header of column N (1-based)
//   uiauto dblclick-row --title T --row N         scrolls row N (1-based) into view and double-clicks it
//   uiauto key --title T --key down|up|home|end|return|escape
//       Posts the key to the window's ListView, as if it had the focus.
//   uiauto rect --title T    prints the window's screen rectangle: left top width height
//
// The default timeout is 10000 ms. Exit code 0 on success; 1 with a message on stderr when the window or
// button did not turn up (or the window did not close) in time; 2 for a usage error.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "RemoteList.h"
#include "tools/common/UnixPath.h"

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kMessageTimeoutMs = 2000;
constexpr int kMessageTextId = 0xFFFF;

struct Options {
    std::string command;
    std::optional<std::string> title;
    std::optional<std::string> windowClass;
    std::optional<std::string> button;
    std::optional<std::string> textOut;
    std::optional<std::string> key;
    int column = 0;
    int row = 0;
    DWORD timeoutMs = 10000;
    bool all = false;
};

void Fail(const std::string& message) { std::fprintf(stderr, "uiauto: %s\n", message.c_str()); }

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A caption as the user reads it: "&&" is "&", a single "&" marks the accelerator and is dropped.
std::string WithoutAccelerators(const std::string& caption) {
    std::string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue;
        }
        plain += caption[i];
    }
    return plain;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// The window's text, asked of the window itself so that controls of other processes answer too.
std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length)) length = 0;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 2, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied)) {
        int got = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
        copied = got > 0 ? static_cast<DWORD_PTR>(got) : 0;
    }
    if (copied >= buffer.size()) copied = buffer.size() - 1;
    return std::string(buffer.data(), static_cast<std::size_t>(copied));
}

// Lambdas do not convert to stdcall pointers on 32-bit builds.
BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindWindowTitled(const std::string& title, const std::optional<std::string>& windowClass) {
    for (HWND window : TopLevelWindows()) {
        if (!IsWindowVisible(window)) continue;
        if (windowClass && !SameText(ClassOf(window), *windowClass)) continue;
        if (TextOf(window) == title) return window;
    }
    return nullptr;
}

class Deadline {
public:
    explicit Deadline(DWORD ms) : start_(GetTickCount64()), ms_(ms) {}
    bool Passed() const { return GetTickCount64() - start_ >= ms_; }
    DWORD Remaining() const {
        ULONGLONG spent = GetTickCount64() - start_;
        return spent >= ms_ ? 0 : static_cast<DWORD>(ms_ - spent);
    }

private:
    ULONGLONG start_;
    ULONGLONG ms_;
};

HWND WaitForWindow(const Options& options, const Deadline& deadline) {
    for (;;) {
        if (HWND window = FindWindowTitled(*options.title, options.windowClass)) return window;
        if (deadline.Passed()) return nullptr;
        Sleep(kPollMs);
    }
}

bool WaitUntilGone(HWND window, const Deadline& deadline) {
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (deadline.Passed()) return false;
        Sleep(kPollMs);
    }
    return true;
}

HWND FindButton(HWND window, const std::string& caption) {
    std::string wanted = WithoutAccelerators(caption);
    bool byId = caption.size() > 1 && caption[0] == '#';
    for (HWND child : ChildWindows(window)) {
        if (!SameText(ClassOf(child), "Button") || !IsWindowVisible(child)) continue;
        if (byId ? std::to_string(GetDlgCtrlID(child)) == caption.substr(1)
                 : SameText(WithoutAccelerators(TextOf(child)), wanted))
            return child;
    }
    return nullptr;
}

// Presses the button as a click would: its parent receives BN_CLICKED from it.
bool Press(HWND button) {
    HWND parent = GetParent(button);
    if (!parent || !IsWindowEnabled(button)) return false;
    WPARAM command = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(button)), BN_CLICKED);
    return PostMessageA(parent, WM_COMMAND, command, reinterpret_cast<LPARAM>(button)) != FALSE;
}

// The message text of a box: the static control with id 0xFFFF, or else every static text in order.
std::string MessageText(HWND box) {
    HWND text = GetDlgItem(box, kMessageTextId);
    if (text && SameText(ClassOf(text), "Static")) return TextOf(text);
    std::string joined;
    for (HWND child : ChildWindows(box)) {
        if (!SameText(ClassOf(child), "Static")) continue;
        std::string part = TextOf(child);
        if (part.empty()) continue;
        if (!joined.empty()) joined += "\n";
        joined += part;
    }
    return joined;
}

bool WriteFile(const std::string& path, const std::string& data) {
    std::FILE* file = std::fopen(tools::ToWindowsPath(path).c_str(), "wb");
    if (!file) return false;
    bool written = data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return std::fclose(file) == 0 && written;
}

std::string Quoted(const std::string& title) { return "\"" + title + "\""; }

int PressButton(HWND window, const Options& options, const Deadline& deadline) {
    for (;;) {
        HWND button = FindButton(window, *options.button);
        if (button && Press(button)) return 0;
        if (!IsWindow(window)) {
            Fail("window " + Quoted(*options.title) + " closed before its button could be pressed");
            return 1;
        }
        if (deadline.Passed()) {
            Fail("no enabled button " + Quoted(*options.button) + " in window " + Quoted(*options.title));
            return 1;
        }
        Sleep(kPollMs);
    }
}

int WaitBox(const Options& options) {
    Deadline deadline(options.timeoutMs);
    HWND box = WaitForWindow(options, deadline);
    if (!box) {
        Fail("no message box " + Quoted(*options.title) + " within " + std::to_string(options.timeoutMs) + " ms");
        return 1;
    }
    std::string text = MessageText(box);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (options.textOut && !WriteFile(*options.textOut, text)) {
        Fail("cannot write " + *options.textOut);
        return 1;
    }
    if (!options.button) return 0;
    if (int rc = PressButton(box, options, deadline); rc != 0) return rc;
    // Closing must not eat the whole budget of a box that turned up late.
    Deadline closing(deadline.Remaining() > 5000 ? deadline.Remaining() : 5000);
    if (!WaitUntilGone(box, closing)) {
        Fail("message box " + Quoted(*options.title) + " did not close after " + Quoted(*options.button));
        return 1;
    }
    return 0;
}

int List(const Options& options) {
    for (HWND window : TopLevelWindows()) {
        bool visible = IsWindowVisible(window) != FALSE;
        if (!visible && !options.all) continue;
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        std::printf("%p pid=%lu%s class=\"%s\" title=\"%s\"\n", static_cast<void*>(window), pid,
                    visible ? "" : " hidden", ClassOf(window).c_str(), TextOf(window).c_str());
    }
    return 0;
}

int Dump(HWND window) {
    for (HWND child : ChildWindows(window)) {
        std::printf("%p class=\"%s\" id=%d%s text=\"%s\"\n", static_cast<void*>(child), ClassOf(child).c_str(),
                    GetDlgCtrlID(child), IsWindowEnabled(child) ? "" : " disabled", TextOf(child).c_str());
    }
    return 0;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                            nullptr);
    return result;
}

// Room a report-view cell leaves around its text, as the list draws it.
constexpr int kCellPadding = 12;

int ReadList(const tools::RemoteList& list) {
    int columns = list.ColumnCount(), rows = list.RowCount();
    std::vector<int> needed(static_cast<std::size_t>(columns > 0 ? columns : 0), 0);
    auto need = [&](int column, const std::wstring& text) {
        int width = list.TextWidth(text) + kCellPadding;
        if (width > needed[column]) needed[column] = width;
    };
    std::string header = "header", widths = "width", lines;
    for (int c = 0; c < columns; ++c) {
        std::wstring text = list.Header(c);
        header += '\t';
        header += Utf8(text);
        widths += '\t';
        widths += std::to_string(list.ColumnWidth(c));
        need(c, text);
    }
    for (int r = 0; r < rows; ++r) {
        lines += "row";
        for (int c = 0; c < columns; ++c) {
            std::wstring text = list.Cell(r, c);
            lines += '\t';
            lines += Utf8(text);
            need(c, text);
        }
        lines += "\n";
    }
    std::string neededLine = "needed";
    for (int width : needed) {
        neededLine += '\t';
        neededLine += std::to_string(width);
    }
    std::printf("%s\n%s\n%s\n%sactive\t%d\ntop\t%d\n", header.c_str(), widths.c_str(), neededLine.c_str(),
                lines.c_str(), list.ActiveRow() + 1, list.TopRow() + 1);
    return 0;
}

int PostKey(HWND list, const std::string& name) {
    static const struct {
        const char* name;
        WPARAM key;
    } kKeys[] = {{"down", VK_DOWN}, {"up", VK_UP},         {"home", VK_HOME},
                 {"end", VK_END},   {"return", VK_RETURN}, {"escape", VK_ESCAPE}};
    for (const auto& key : kKeys) {
        if (!SameText(name, key.name)) continue;
        PostMessageA(list, WM_KEYDOWN, key.key, 1);
        PostMessageA(list, WM_KEYUP, key.key, static_cast<LPARAM>(0xC0000001u));
        return 0;
    }
    Fail("unknown key " + name);
    return 2;
}

int OnList(HWND window, const Options& options) {
    std::optional<tools::RemoteList> list = tools::RemoteList::Find(window);
    if (!list) {
        Fail("no readable ListView in window " + Quoted(*options.title));
        return 1;
    }
    if (options.command == "read-list") return ReadList(*list);
    if (options.command == "key") return PostKey(list->Handle(), *options.key);
    bool done = options.command == "click-header" ? list->ClickHeader(options.column - 1)
                                                  : list->DoubleClickRow(options.row - 1);
    if (!done) {
        Fail("no such header or row in window " + Quoted(*options.title));
        return 1;
    }
    return 0;
}

int Run(const Options& options) {
    if (options.command == "list") return List(options);
    if (options.command == "wait-box") {
        Options box = options;
        if (!box.windowClass) box.windowClass = "#32770";
        return WaitBox(box);
    }
    Deadline deadline(options.timeoutMs);
    if (options.command == "wait-gone") {
        for (;;) {
            HWND window = FindWindowTitled(*options.title, options.windowClass);
            if (!window) return 0;
            if (!WaitUntilGone(window, deadline)) {
                Fail("window " + Quoted(*options.title) + " still open");
                return 1;
            }
        }
    }
    HWND window = WaitForWindow(options, deadline);
    if (!window) {
        Fail("no window " + Quoted(*options.title) + " within " + std::to_string(options.timeoutMs) + " ms");
        return 1;
    }
    if (options.command == "wait-window") return 0;
    if (options.command == "dump") return Dump(window);
    if (options.command == "rect") {
        RECT rect{};
        GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        return 0;
    }
    if (options.command == "read-list" || options.command == "click-header" || options.command == "dblclick-row" ||
        options.command == "key")
        return OnList(window, options);
    if (options.command == "click") return PressButton(window, options, deadline);
    // close
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!WaitUntilGone(window, deadline)) {
        Fail("window " + Quoted(*options.title) + " did not close");
        return 1;
    }
    return 0;
}

void Usage() {
    std::fputs(
        "usage: uiauto list [--all]\n"
        "       uiauto wait-box --title T [--class C] [--timeout-ms N] [--click BUTTON] [--text-out FILE]\n"
        "       uiauto wait-window|wait-gone|close|dump --title T [--class C] [--timeout-ms N]\n"
        "       uiauto click --title T --button BUTTON [--class C] [--timeout-ms N]\n"
        "       uiauto read-list|rect --title T [--class C] [--timeout-ms N]\n"
        "       uiauto click-header --title T --column N | dblclick-row --title T --row N\n"
        "       uiauto key --title T --key down|up|home|end|return|escape\n",
        stderr);
}

std::optional<Options> Parse(int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    Options options;
    options.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--all") {
            options.all = true;
            continue;
        }
        if (i + 1 >= argc) return std::nullopt;
        std::string value = argv[++i];
        if (name == "--title") {
            options.title = value;
        } else if (name == "--class") {
            options.windowClass = value;
        } else if (name == "--click" || name == "--button") {
            options.button = value;
        } else if (name == "--column" || name == "--row") {
            int number = std::atoi(value.c_str());
            if (number < 1) return std::nullopt;
            (name == "--column" ? options.column : options.row) = number;
        } else if (name == "--key") {
            options.key = value;
        } else if (name == "--text-out") {
            options.textOut = value;
        } else if (name == "--timeout-ms") {
            char* end = nullptr;
            unsigned long ms = std::strtoul(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0') return std::nullopt;
            options.timeoutMs = static_cast<DWORD>(ms);
        } else {
            return std::nullopt;
        }
    }
    const std::string& c = options.command;
    if (c == "list") return options;
    bool known = c == "wait-box" || c == "wait-window" || c == "wait-gone" || c == "click" || c == "close" ||
                 c == "dump" || c == "rect" || c == "read-list" || c == "click-header" || c == "dblclick-row" ||
                 c == "key";
    if (!known || !options.title) return std::nullopt;
    if (c == "click" && !options.button) return std::nullopt;
    if ((c == "click-header" && !options.column) || (c == "dblclick-row" && !options.row) ||
        (c == "key" && !options.key))
        return std::nullopt;
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    std::optional<Options> options = Parse(argc, argv);
    if (!options) {
        Usage();
        return 2;
    }
    return Run(*options);
}
