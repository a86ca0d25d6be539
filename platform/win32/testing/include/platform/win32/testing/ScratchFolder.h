// A test fixture with a scratch folder of its own under the temporary folder, removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace platform::win32::testing {

class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::string(temp) + "orvanta-" + std::to_string(GetCurrentProcessId()) + "-" + info->name();
        std::filesystem::remove_all(dir_);
        ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
    }
    void TearDown() override {
        // Read-only files would stop the removal.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_))
            SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(dir_);
    }

    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }

    static void Write(const std::string& path, const std::string& content, bool readOnly = false) {
        {
            std::ofstream out(path, std::ios::binary);
            out << content;
        }
        if (readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    static std::string Content(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static bool IsReadOnly(const std::string& path) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    }
    static bool IsFolder(const std::string& path) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string dir_;
};

}  // namespace platform::win32::testing
