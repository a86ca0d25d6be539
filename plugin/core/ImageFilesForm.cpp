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

bool ImageFilesForm::LoadGridWithFiles4PatID(std::u16string_view patId, std::u16string_view folder) {
    Trap trap = Trap::Reporting(services_, [](int marker) { return u"LoadGridWithFiles4PatID=" + Decimal(marker); });
    trap.Run([&] {
        trap.Step(1);
        if (!loaded_) Load();
        trap.Step(10);
        rows_.Reset(patId, folder);
        activeRow = 0;
        trap.Step(11);
        auto listed = ListReviewEntries(services_, PatientFilePattern(folder, patId));
        rows_.Reserve(listed.size());
        for (std::u16string& name : listed) {
            trap.Step(25);
            rows_.Add(std::move(name), services_.dates);
        }
        if (rows_.Count() < 1) {
            trap.Step(57);
            Unload();
            return;
        }
        trap.Step(60);
        rows_.SortNewestFirst();
        activeRow = 0;
    });
    return false;
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
