// The image file list window as a modal dialog of the plug-in library: a report-view ListView over the form's
// rows (owner data), drawn by version 6 of the common controls through the library's own manifest.
#pragma once

#include <windows.h>

#include "platform/win32/Handles.h"
#include "plugin/core/ImageFilesForm.h"

namespace orvanta::win32 {

class ImageFilesDialog : public IImageFilesWindow {
public:
    // module: the library whose manifest (resource 2) selects the common controls.
    explicit ImageFilesDialog(HINSTANCE module) : module_(module) {}
    ImageFilesDialog(const ImageFilesDialog&) = delete;
    ImageFilesDialog& operator=(const ImageFilesDialog&) = delete;

    void ShowModal(ImageFilesForm& form) override;
    // The fill is finished while the window is made, before it shows; when it traps an error the window ends
    // unseen, the error is reported and the window is made again.
    void ShowModalFilling(ImageFilesForm& form) override;

private:
    // False when the fill trapped an error, the window then ended before it showed.
    bool Show(ImageFilesForm& form, bool filling);

    HINSTANCE module_;
    platform::win32::UniqueActivationContext context_;  // of the manifest, made on first use
};

}  // namespace orvanta::win32
