// What the plug-in's logic reaches of the platform, bundled for one loaded library.
#pragma once

#include <string>

#include "platform/DateFormat.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace orvanta {

class IImageFilesWindow;

struct Services {
    platform::IProfile& profile;
    // Paths and names in UTF-8 (ToUtf8, FromUtf8), so that names outside the ANSI code page work.
    platform::IFileSystem& files;
    platform::IMessageBox& boxes;
    platform::IClock& clock;
    platform::ILocale& locale;
    platform::IShell& shell;
    platform::IDateFormat& dates;
    // Shows the image file list of a review.
    IImageFilesWindow& imageFilesWindow;
    // The folder of the plug-in library file, without a trailing backslash.
    std::u16string pluginFolder;
};

}  // namespace orvanta
