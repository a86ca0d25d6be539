// frmImageFiles: the image file list window's content and behaviour, apart from the window that shows it.
//
// ReviewDevice creates a form, fills it with LoadGridWithFiles4PatID and shows it modally through an
// IImageFilesWindow. The window asks the form for its labels and rows and passes header clicks and row
// double-clicks on to it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "plugin/core/ImageList.h"
#include "plugin/core/Services.h"

namespace orvanta {

class ImageFilesForm {
public:
    static constexpr std::u16string_view kTitle = u"Orvanta Images";
    static constexpr std::u16string_view kFont = u"Tahoma";
    static constexpr std::u16string_view kExitCaption = u"Exit";
    // The title of the box that shows why a file could not be opened.
    static constexpr std::u16string_view kOpenFailedTitle = u"Orvanta Interface";

    // services must outlive the form.
    explicit ImageFilesForm(Services& services) : services_(services) {}

    // The window load: labels and an empty grid. The fill and the modal show load the form when it is not.
    void Load();
    bool IsLoaded() const { return loaded_; }
    // Closing the window: the rows are gone; a later show loads the form afresh.
    void Unload();

    // Empties the grid. A failure is reported with the context "SetGrid".
    void SetGrid();
    // Lists the files of folder whose first field is patId, newest first, the first row active. With no such
    // file the form unloads itself. A failure is reported with "LoadGridWithFiles4PatID=" and the step under
    // way; the rows listed so far stay. Always false.
    bool LoadGridWithFiles4PatID(std::u16string_view patId, std::u16string_view folder);

    // The header of column (1 to 5) was clicked: true when the rows were sorted anew.
    bool HeaderClick(int column);
    // Row (0-based) was double-clicked: opens its file in the program associated with its type, owned by
    // window; shows why when that failed. Makes the row the active one.
    void RowDoubleClick(std::size_t row, platform::WindowHandle window);

    // The word between "the " and " image." in the instructions.
    std::u16string imageKind = u"selected";
    std::u16string lblInstructions;
    std::u16string lblSortInstructions;
    const ImageList& Rows() const { return rows_; }
    // The active (highlighted) row, 0-based; meaningful only when there are rows.
    std::size_t activeRow = 0;

private:
    Services& services_;
    bool loaded_ = false;
    ImageList rows_;
};

// The platform's window for a form.
class IImageFilesWindow {
public:
    virtual ~IImageFilesWindow() = default;
    // Loads the form when it is not loaded, shows it modally on the calling thread, owned by the caller's
    // active window, and returns when the user has closed it; the form is then unloaded. Raises when the
    // window cannot be created.
    virtual void ShowModal(ImageFilesForm& form) = 0;
};

}  // namespace orvanta
