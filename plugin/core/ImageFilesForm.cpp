#include "plugin/core/ImageFilesForm.h"

#include "plugin/core/FileLauncher.h"
#include "plugin/core/ReviewFolder.h"
#include "plugin/core/Text.h"
#include "plugin/core/Trap.h"

namespace orvanta {

void ImageFilesForm::Load() {
    lblInstructions = u"Double-click a row to display the " + imageKind + u" image.";
    lblSortInstructions = u"Click on a column header to sort by that column.";
    loaded_ = true;
    SetGrid();
}

void ImageFilesForm::Unload() {
    listing_.reset();
    loaded_ = false;
    rows_.Reset({}, {});
    activeRow = 0;
}

void ImageFilesForm::SetGrid() {
    Trap trap = Trap::Reporting(services_, [](int) { return std::u16string(u"SetGrid"); });
    trap.Run([&] {
        rows_.Reset({}, {});
        activeRow = 0;
    });
}

namespace {

std::u16string LoadGridContext(int marker) { return u"LoadGridWithFiles4PatID=" + Decimal(marker); }

}  // namespace

bool ImageFilesForm::LoadGridWithFiles4PatID(std::u16string_view patId, std::u16string_view folder) {
    StartLoadGrid(patId, folder);
    FinishLoadGrid();
    return false;
}

void ImageFilesForm::StartLoadGrid(std::u16string_view patId, std::u16string_view folder) {
    listing_.reset();
    loadError_.reset();
    Trap trap = Trap::Reporting(services_, LoadGridContext);
    trap.Run([&] {
        trap.Step(1);
        if (!loaded_) Load();
        trap.Step(10);
        rows_.Reset(patId, folder);
        activeRow = 0;
        trap.Step(11);
        listing_ = std::make_unique<ReviewListing>(services_, PatientFilePattern(folder, patId));
    });
}

bool ImageFilesForm::CompleteLoadGrid() {
    if (!listing_) return true;
    int marker = 11;
    auto error = CatchVbError([&] {
        std::vector<std::u16string> names;
        while (listing_->Next(names)) {
            for (std::u16string& name : names) {
                marker = 25;
                rows_.Add(std::move(name), services_.dates);
            }
            marker = 11;
        }
        std::exception_ptr raised = listing_->Raised();
        if (raised || !listing_->Listed()) {  // batches of a listing that failed: no names
            std::u16string key = rows_.Key(), folder = rows_.Folder();
            rows_.Reset(key, folder);
        }
        listing_.reset();
        if (raised) std::rethrow_exception(raised);
        if (rows_.Count() < 1) {
            marker = 57;
            Unload();
            return;
        }
        marker = 60;
        rows_.SortNewestFirst();
        activeRow = 0;
    });
    listing_.reset();
    if (error) loadError_ = Trapped{std::move(*error), marker};
    return !error;
}

void ImageFilesForm::ReportLoadGridError() {
    if (!loadError_) return;
    Trapped trapped = std::move(*loadError_);
    loadError_.reset();
    Trap trap = Trap::Reporting(services_, LoadGridContext);
    trap.Step(trapped.marker);
    trap.Run([&] { throw trapped.error; });
}

void ImageFilesForm::FinishLoadGrid() {
    if (!CompleteLoadGrid()) ReportLoadGridError();
}

bool ImageFilesForm::HeaderClick(int column) { return rows_.HeaderClick(column); }

void ImageFilesForm::RowDoubleClick(std::size_t row, platform::WindowHandle window) {
    if (row >= rows_.Count()) return;
    activeRow = row;
    std::u16string path = rows_.Path(row);
    if (path == u"\\") return;
    std::u16string result = LaunchFile(services_, path, window);
    if (result != kWasOk)
        services_.boxes.Show(services_.locale.ToAnsi(result), services_.locale.ToAnsi(kOpenFailedTitle),
                             {platform::MsgButtons::Ok, platform::MsgIcon::Critical});
}

}  // namespace orvanta
