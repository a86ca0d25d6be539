// The in-memory file system and profile held to the ports' contracts.
#include "platform/fake/MemoryFileSystem.h"
#include "platform/fake/MemoryProfile.h"
#include "platform/testing/FileSystemContract.h"
#include "platform/testing/ProfileContract.h"

namespace {

using platform::fake::MemoryFileSystem;

struct MemoryPort {
    static constexpr bool kWindows = false;
    MemoryPort() { files.AddFolder(Root()); }
    platform::IFileSystem& Files() { return files; }
    platform::IProfile& Profile() { return profile; }
    std::string Root() const { return "C:\\Orvanta\\Contract"; }
    void MarkHiddenSystem(const std::string& path) {
        MemoryFileSystem::File* file = files.FindMutable(path);
        ASSERT_NE(file, nullptr) << path;
        file->hidden = file->system = true;
    }
    void HoldOpen(const std::string& path) { files.undeletable.insert(MemoryFileSystem::Key(path)); }
    void LetGo() { files.undeletable.clear(); }
    std::string Content(const std::string& path) const { return files.Content(path); }
    bool ReadOnlyStopsWrites() const { return true; }

    MemoryFileSystem files;
    platform::fake::MemoryProfile profile{files};
};

}  // namespace

namespace platform::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FileSystemContract, MemoryPort);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ProfileContract, MemoryPort);
}  // namespace platform::contract
