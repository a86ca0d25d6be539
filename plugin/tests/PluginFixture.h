// A plug-in environment in memory: host files in the Windows folder, the plug-in in C:\Plugin.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeLocale.h"
#include "Services.h"
#include "VbError.h"
#include "platform/fake/MemoryFileSystem.h"
#include "platform/fake/MemoryProfile.h"
#include "platform/fake/Scripted.h"

namespace orvanta::test {

class PluginFixture : public ::testing::Test {
protected:
    PluginFixture() { files.AddFolder("C:\\Plugin"); }

    void Praxo(const std::string& content) { files.AddFile("praxo32.ini", content); }
    void Equip(const std::string& content) { files.AddFile("PXEquip.ini", content); }
    std::string PluginFile(const std::string& name) { return files.Content("C:\\Plugin\\" + name); }
    bool HasPluginFile(const std::string& name) { return files.HasFile("C:\\Plugin\\" + name); }

    platform::fake::MemoryFileSystem files;
    platform::fake::MemoryProfile profile{files};
    platform::fake::ScriptedMessageBox boxes;
    platform::fake::FixedClock clock;  // 02-05-2015 11:48:30 PM
    FakeLocale locale;
    platform::fake::RecordingShell shell;
    Services services{profile, files, boxes, clock, locale, shell, u"C:\\Plugin"};
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
