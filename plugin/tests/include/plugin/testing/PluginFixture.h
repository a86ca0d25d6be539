// A plug-in environment in memory: host files in the Windows folder, the plug-in in C:\Plugin.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/fake/FakePlatform.h"
#include "plugin/core/ImageFilesForm.h"
#include "plugin/core/Services.h"
#include "plugin/core/VbError.h"

namespace orvanta::test {

// An image file list window that draws nothing: it notes what the form held when shown and lets a test act on
// the form while it is "open".
class RecordingImageFilesWindow : public IImageFilesWindow {
public:
    void ShowModal(ImageFilesForm& form) override {
        if (!form.IsLoaded()) form.Load();
        ++shown;
        instructions = form.lblInstructions;
        sortInstructions = form.lblSortInstructions;
        folder = form.Rows().Folder();
        exams.clear();
        for (std::size_t i = 0; i < form.Rows().Count(); ++i) exams.push_back(form.Rows().Cell(i, 2));
        if (whileShown) whileShown(form);
        form.Unload();
    }

    int shown = 0;
    std::u16string instructions, sortInstructions, folder;
    std::vector<std::u16string> exams;  // the exam column, top to bottom
    std::function<void(ImageFilesForm&)> whileShown;
};

class PluginFixture : public ::testing::Test, protected platform::fake::FakePlatform {
protected:
    PluginFixture() { files.AddFolder("C:\\Plugin"); }

    void Praxo(const std::string& content) { files.AddFile("C:\\Windows\\praxo32.ini", content); }
    void Equip(const std::string& content) { files.AddFile("C:\\Windows\\PXEquip.ini", content); }
    std::string PluginFile(const std::string& name) { return files.Content("C:\\Plugin\\" + name); }
    bool HasPluginFile(const std::string& name) { return files.HasFile("C:\\Plugin\\" + name); }

    RecordingImageFilesWindow imageFilesWindow;
    Services services{profile, files, boxes, clock, locale, shell, dates, imageFilesWindow, u"C:\\Plugin"};
};

// The lines of a file written with CRLF line ends; a final line end adds no line. A bare LF is left in its line,
// so a wrong line end shows up as a wrong line.
inline std::vector<std::string> CrLfLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(content.substr(start, end - start));
    if (start < content.size()) lines.push_back(content.substr(start));
    return lines;
}

// The error call raised; number 0 when it raised none.
inline VbError RaisedError(auto&& call) {
    try {
        call();
    } catch (const VbError& e) {
        return e;
    }
    return VbError(0, u"");
}
inline int ErrorNumberOf(auto&& call) { return RaisedError(call).Number(); }

// ASCII test text as UTF-16.
inline std::u16string U(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace orvanta::test
