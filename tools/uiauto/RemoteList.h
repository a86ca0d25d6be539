// A report-view ListView of another process: its headers, cells, column widths and rows, read through
// memory allocated in that process, and clicks posted to its header and rows.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tools {

class RemoteList {
public:
    // The first ListView among the window's descendants; nullopt when there is none or its process cannot be
    // opened for reading and writing memory.
    static std::optional<RemoteList> Find(HWND window);
    RemoteList(RemoteList&& other) noexcept;
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;
    ~RemoteList();

    HWND Handle() const { return list_; }
    int ColumnCount() const;
    int RowCount() const;
    std::wstring Header(int column) const;
    std::wstring Cell(int row, int column) const;
    int ColumnWidth(int column) const;
    // Pixels the list needs to show text in a cell without cutting it.
    int TextWidth(const std::wstring& text) const;
    // The row with the focus (the active row), -1 when none.
    int ActiveRow() const;
    // Index of the first row in view and the number of rows a page shows.
    int TopRow() const;
    // Posts a click on a column's header item.
    bool ClickHeader(int column) const;
    // Scrolls the row into view and posts a double-click on it.
    bool DoubleClickRow(int row) const;

private:
    RemoteList(HWND list, HANDLE process, bool wide64, void* remote);
    bool Write(std::size_t offset, const void* data, std::size_t size) const;
    bool Read(std::size_t offset, void* data, std::size_t size) const;
    std::wstring ReadText(std::size_t offset, std::size_t chars) const;
    std::optional<RECT> HeaderRect(int column) const;
    std::optional<RECT> RowRect(int row) const;
    // The address of a place in the remote block.
    unsigned long long Address(std::size_t offset) const;

    HWND list_ = nullptr;
    HANDLE process_ = nullptr;
    bool wide64_ = false;  // the target's pointers are 64 bits wide
    void* remote_ = nullptr;
};

}  // namespace tools
