// A plug-in environment in memory: host files in the Windows folder, the plug-in in C:\Plugin.
#pragma once

#include <gtest/gtest.h>

#include "FakeLocale.h"
#include "Services.h"
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
    Services services{profile, files, boxes, clock, locale, u"C:\\Plugin"};
};

// ASCII test text as UTF-16.
inline std::u16string U(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace orvanta::test
