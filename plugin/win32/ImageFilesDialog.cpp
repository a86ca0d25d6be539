#include "plugin/win32/ImageFilesDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/HostModal.h"
#include "plugin/core/VbError.h"

namespace orvanta::win32 {

namespace {

constexpr int kInstructionsId = 101;
constexpr int kSortInstructionsId = 102;
constexpr int kGridId = 103;
constexpr WORD kFontPoints = 8;
constexpr int kMargin = 10;
constexpr int kVisibleRows = 16;
// Room the list and its header leave around a text.
constexpr int kCellPadding = 16;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
// The dialog's result when the fill it finished trapped an error.
constexpr INT_PTR kFillTrapped = 100;

using UniqueMemoryDc = platform::Unique<HDC, &DeleteDC>;

// An in-memory DLGTEMPLATEEX: header, font, then items, each aligned to 4 bytes.
class DialogTemplate {
public:
    void Header(DWORD style, const wchar_t* title, const wchar_t* font, WORD points, WORD items) {
        Word(1);       // dlgVer
        Word(0xFFFF);  // signature
        Dword(0);      // helpID
        Dword(0);      // exStyle
        Dword(style);
        Word(items);
        for (int i = 0; i < 4; ++i) Word(0);  // x, y, cx, cy: laid out at initialisation
        Word(0);                              // no menu
        Word(0);                              // the dialog class
        Text(title);
        Word(points);
        Word(FW_NORMAL);
        Word(0);  // italic, charset
        Text(font);
    }
    void Item(DWORD style, int id, const wchar_t* windowClass, const wchar_t* text) {
        while (words_.size() % 2) Word(0);
        Dword(0);  // helpID
        Dword(0);  // exStyle
        Dword(style | WS_CHILD | WS_VISIBLE);
        for (int i = 0; i < 4; ++i) Word(0);
        Dword(static_cast<DWORD>(id));
        Text(windowClass);
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    std::vector<WORD> words_;
};

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// Pixel widths of texts in one font, from the advance widths of their characters.
class TextWidths {
public:
    TextWidths(HWND window, HFONT font) : dc_(GetDC(window)) {
        old_ = SelectObject(dc_.get(), font);
        widths_.assign(0x10000, -1);
    }
    ~TextWidths() { SelectObject(dc_.get(), old_); }
    TextWidths(const TextWidths&) = delete;
    TextWidths& operator=(const TextWidths&) = delete;

    int Of(std::u16string_view text) {
        int width = 0;
        for (char16_t c : text) {
            int& w = widths_[c];
            if (w < 0) {
                INT advance = 0;
                w = GetCharWidth32W(dc_.get(), c, c, &advance) ? advance : 0;
            }
            width += w;
        }
        return width;
    }
    // The average character width of the font, as dialog units reckon it.
    int Average() {
        SIZE size{};
        GetTextExtentPoint32W(dc_.get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
        return (size.cx / 26 + 1) / 2;
    }
    int Height() {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_.get(), &metrics);
        return metrics.tmHeight;
    }

private:
    platform::win32::UniqueWindowDc dc_;
    HGDIOBJ old_;
    std::vector<int> widths_;
};

struct DialogState {
    ImageFilesForm* form;
    bool filling;  // the form's fill is finished at initialisation
    HWND list = nullptr;
};

HWND Grid(HWND dialog) { return GetDlgItem(dialog, kGridId); }

void Activate(HWND list, std::size_t row) {
    const UINT states = LVIS_FOCUSED | LVIS_SELECTED;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, static_cast<int>(row), states, states);
    ListView_EnsureVisible(list, static_cast<int>(row), FALSE);
}

void Place(HWND control, int x, int y, int width, int height) {
    SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Columns as wide as their width in characters, or as their header or longest cell needs; then the controls
// around the list and the window around them, centred on its owner.
void Layout(HWND dialog, const ImageFilesForm& form) {
    HWND list = Grid(dialog);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    TextWidths widths(dialog, font);
    int average = widths.Average(), textHeight = widths.Height();
    const ImageList& rows = form.Rows();
    int listWidth = 0;
    for (int column = 1; column <= kImageColumnCount; ++column) {
        const ImageColumnInfo& info = ColumnInfo(static_cast<ImageColumn>(column));
        int width = std::max(info.widthChars * average, widths.Of(info.header) + kCellPadding);
        int longest = 0;
        rows.EachDistinctCell(column, [&](std::u16string_view text) { longest = std::max(longest, widths.Of(text)); });
        width = std::max(width, longest + kCellPadding);
        ListView_SetColumnWidth(list, column - 1, width);
        listWidth += width;
    }
    listWidth += GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 2;

    RECT header{};
    GetWindowRect(ListView_GetHeader(list), &header);
    int rowHeight = textHeight + 4;
    RECT item{};
    if (rows.Count() > 0 && ListView_GetItemRect(list, 0, &item, LVIR_BOUNDS)) rowHeight = item.bottom - item.top;
    int listHeight = (header.bottom - header.top) + kVisibleRows * rowHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 2;

    int labelHeight = textHeight + 2;
    int width = std::max(listWidth, 2 * kMargin + 40 * average);
    int y = kMargin;
    Place(GetDlgItem(dialog, kInstructionsId), kMargin, y, width, labelHeight);
    y += labelHeight + 2;
    Place(GetDlgItem(dialog, kSortInstructionsId), kMargin, y, width, labelHeight);
    y += labelHeight + kMargin / 2;
    Place(list, kMargin, y, width, listHeight);
    y += listHeight + kMargin;
    Place(GetDlgItem(dialog, IDCANCEL), kMargin + width - kButtonWidth, y, kButtonWidth, kButtonHeight);
    y += kButtonHeight + kMargin;

    RECT frame{0, 0, width + 2 * kMargin, y};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT around = area;
    if (HWND owner = GetWindow(dialog, GW_OWNER)) GetWindowRect(owner, &around);
    auto centred = [](LONG from, LONG to, LONG areaFrom, LONG areaTo, int size) {
        int lowest = static_cast<int>(areaFrom);
        int highest = std::max(lowest, static_cast<int>(areaTo) - size);
        return std::clamp(static_cast<int>(from + to - size) / 2, lowest, highest);
    };
    int x = centred(around.left, around.right, area.left, area.right, frameWidth);
    int top = centred(around.top, around.bottom, area.top, area.bottom, frameHeight);
    SetWindowPos(dialog, nullptr, x, top, frameWidth, frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

// What does not depend on the rows: made while they may still be coming.
void Prepare(HWND dialog, DialogState& state) {
    HWND list = state.list = Grid(dialog);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (int column = 1; column <= kImageColumnCount; ++column) {
        std::wstring header = Wide(ColumnInfo(static_cast<ImageColumn>(column)).header);
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        info.fmt = LVCFMT_LEFT;
        info.cx = 60;
        info.pszText = header.data();
        info.iSubItem = column - 1;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column - 1), reinterpret_cast<LPARAM>(&info));
    }
}

// The list works out its item metrics and scroll bars when it first paints. Painted once into a one-pixel memory
// surface while the window is hidden, it does that now rather than drawing its scroll bars anew on the screen.
void Measure(HWND list) {
    UniqueMemoryDc surface(CreateCompatibleDC(nullptr));
    if (surface) SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.get()), PRF_CLIENT);
}

void Initialise(HWND dialog, DialogState& state) {
    ImageFilesForm& form = *state.form;
    SetWindowTextW(dialog, Wide(ImageFilesForm::kTitle).c_str());
    SetDlgItemTextW(dialog, kInstructionsId, Wide(form.lblInstructions).c_str());
    SetDlgItemTextW(dialog, kSortInstructionsId, Wide(form.lblSortInstructions).c_str());
    HWND list = state.list;
    std::size_t count = form.Rows().Count();
    ListView_SetItemCountEx(list, static_cast<int>(std::min<std::size_t>(count, INT_MAX)), 0);
    Layout(dialog, form);
    if (count > 0) Activate(list, std::min(form.activeRow, count - 1));
    SetFocus(list);
    Measure(list);
}

void Open(HWND dialog, DialogState& state, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= state.form->Rows().Count()) return;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    state.form->RowDoubleClick(static_cast<std::size_t>(row), reinterpret_cast<platform::WindowHandle>(dialog));
    Activate(state.list, state.form->activeRow);
    SetCursor(previous);
}

INT_PTR OnNotify(HWND dialog, DialogState& state, NMHDR* header) {
    if (header->idFrom != kGridId) return FALSE;
    switch (header->code) {
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
            const ImageList& rows = state.form->Rows();
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
                item.pszText[0] = L'\0';
                if (item.iItem >= 0 && static_cast<std::size_t>(item.iItem) < rows.Count()) {
                    const std::u16string& text = rows.Cell(static_cast<std::size_t>(item.iItem), item.iSubItem + 1);
                    std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
                    std::copy_n(text.begin(), n, item.pszText);
                    item.pszText[n] = L'\0';
                }
            }
            return TRUE;
        }
        case LVN_COLUMNCLICK:
            if (state.form->HeaderClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem + 1))
                InvalidateRect(state.list, nullptr, FALSE);
            return TRUE;
        case NM_DBLCLK:
            Open(dialog, state, reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            auto& initial = *reinterpret_cast<DialogState*>(lParam);
            Prepare(dialog, initial);
            if (initial.filling) {
                if (!initial.form->CompleteLoadGrid()) {
                    EndDialog(dialog, kFillTrapped);  // before the window shows
                    return FALSE;
                }
                if (!initial.form->IsLoaded()) initial.form->Load();
            }
            Initialise(dialog, initial);
            return FALSE;  // the focus is set
        }
        case WM_NOTIFY:
            if (!state) return FALSE;
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
            return OnNotify(dialog, *state, reinterpret_cast<NMHDR*>(lParam));
        case WM_COMMAND:
            if (!state) return FALSE;
            if (LOWORD(wParam) == IDCANCEL) {  // Exit, Esc and the close box
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            if (LOWORD(wParam) == IDOK) {  // Enter
                if (GetFocus() == state->list)
                    Open(dialog, *state, ListView_GetNextItem(state->list, -1, LVNI_FOCUSED));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void ImageFilesDialog::ShowModal(ImageFilesForm& form) { Show(form, false); }

void ImageFilesDialog::ShowModalFilling(ImageFilesForm& form) {
    if (Show(form, true)) return;
    form.ReportLoadGridError();
    Show(form, false);
}

bool ImageFilesDialog::Show(ImageFilesForm& form, bool filling) {
    if (!filling && !form.IsLoaded()) form.Load();
    if (!context_) {
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = module_;
        request.lpResourceName = MAKEINTRESOURCEW(2);
        context_.reset(CreateActCtxW(&request));  // without it the list is drawn by the older controls
    }
    // The common controls of the library's manifest, active until the window has gone.
    platform::win32::UniqueActivation active;
    if (context_ && !ActivateActCtx(context_.get(), active.put())) active.release();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    DialogTemplate dialog;
    std::wstring font = Wide(ImageFilesForm::kFont), exit = Wide(ImageFilesForm::kExitCaption);
    std::wstring title = Wide(ImageFilesForm::kTitle);
    dialog.Header(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, title.c_str(), font.c_str(),
                  kFontPoints, 4);
    dialog.Item(SS_LEFT | SS_NOPREFIX, kInstructionsId, L"Static", L"");
    dialog.Item(SS_LEFT | SS_NOPREFIX, kSortInstructionsId, L"Static", L"");
    dialog.Item(WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kGridId,
                WC_LISTVIEWW, L"");
    dialog.Item(WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, L"Button", exit.c_str());

    DialogState state{&form, filling};
    platform::win32::HostModal modal;
    INT_PTR result =
        DialogBoxIndirectParamW(module_, dialog.Get(), modal.Owner(), DialogProc, reinterpret_cast<LPARAM>(&state));
    if (result == kFillTrapped) return false;
    if (result == -1 && filling) form.FinishLoadGrid();  // no window: the fill ends as it would before one
    form.Unload();
    if (result == -1) throw VbError(vb::kOutOfMemory);
    return true;
}

}  // namespace orvanta::win32
