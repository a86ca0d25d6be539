// frmImageFiles: the image file list window's content and behaviour, apart from the window that shows it.
//
// ReviewDevice creates a form, starts its fill (StartLoadGrid) and shows it modally through an
// IImageFilesWindow, which finishes the fill while its window is being made. The window asks the form for its
// labels and rows and passes header clicks and row double-clicks on to it.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/core/ImageList.h"
#include "plugin/core/ReviewFolder.h"
#include "plugin/core/Services.h"
#include "plugin/core/VbError.h"

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
    // LoadGridWithFiles4PatID in halves, so that a window can be made while the folder is read. StartLoadGrid
    // takes the steps up to the listing, reporting a failure at once, and starts the listing on a thread of
    // its own. CompleteLoadGrid adds the rows as the names come and sorts them; false when it trapped an
    // error, which ReportLoadGridError then reports as LoadGridWithFiles4PatID does. Without a fill under way
    // they do nothing.
    void StartLoadGrid(std::u16string_view patId, std::u16string_view folder);
    bool CompleteLoadGrid();
    void ReportLoadGridError();
    // CompleteLoadGrid, then ReportLoadGridError.
    void FinishLoadGrid();

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
    struct Trapped {
        VbError error;
        int marker;
    };

    Services& services_;
    bool loaded_ = false;
    ImageList rows_;
    std::unique_ptr<ReviewListing> listing_;  // of the fill under way
    std::optional<Trapped> loadError_;        // not reported yet
};

// The platform's window for a form.
class IImageFilesWindow {
public:
    virtual ~IImageFilesWindow() = default;
    // Loads the form when it is not loaded, shows it modally on the calling thread, owned by the caller's
    // active window, and returns when the user has closed it; the form is then unloaded. Raises when the
    // window cannot be created.
    virtual void ShowModal(ImageFilesForm& form) = 0;
    // ShowModal of a form whose fill is under way (StartLoadGrid). This one finishes the fill first; a window
    // may finish it while it is being made, reporting a failure before it shows.
    virtual void ShowModalFilling(ImageFilesForm& form) {
        form.FinishLoadGrid();
        ShowModal(form);
    }
};

}  // namespace orvanta
