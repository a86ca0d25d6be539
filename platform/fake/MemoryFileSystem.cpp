#include "platform/fake/MemoryFileSystem.h"

#include <cctype>

namespace platform::fake {

std::string MemoryFileSystem::Key(const std::string& path) {
    std::string key;
    for (char c : path) {
        char u = c == '/' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (u == '\\' && !key.empty() && key.back() == '\\') continue;
        key += u;
    }
    while (key.size() > 3 && key.back() == '\\') key.pop_back();
    return key;
}

std::string MemoryFileSystem::Parent(const std::string& key) {
    auto slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

static bool IsDriveRoot(const std::string& key) {
    return (key.size() == 2 || (key.size() == 3 && key[2] == '\\')) && key[1] == ':';
}

bool MemoryFileSystem::ParentExists(const std::string& key) const {
    std::string parent = Parent(key);
    return IsDriveRoot(parent) || folders_.count(parent) > 0;
}

std::optional<FileStatus> MemoryFileSystem::Status(const std::string& path) {
    std::string key = Key(path);
    if (IsDriveRoot(key) || folders_.count(key)) return FileStatus{true, false, 0};
    auto it = files_.find(key);
    if (it == files_.end()) return std::nullopt;
    return FileStatus{false, it->second.readOnly, it->second.content.size()};
}

bool MemoryFileSystem::MakeDirectory(const std::string& path) {
    std::string key = Key(path);
    if (IsDriveRoot(key) || folders_.count(key) || files_.count(key) || !ParentExists(key)) return false;
    folders_.insert(key);
    return true;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
    std::string key = Key(path);
    auto it = files_.find(key);
    if (it == files_.end() || it->second.readOnly || undeletable.count(key)) return false;
    files_.erase(it);
    return true;
}

bool MemoryFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
    auto source = files_.find(Key(from));
    std::string target = Key(to);
    if (source == files_.end() || folders_.count(target) || !ParentExists(target)) return false;
    if (failingCopies.count(target)) return false;
    auto existing = files_.find(target);
    if (existing != files_.end() && (failIfExists || existing->second.readOnly)) return false;
    files_[target] = source->second;
    return true;
}

bool MemoryFileSystem::SetWritable(const std::string& path, bool writable) {
    std::string key = Key(path);
    auto it = files_.find(key);
    if (it != files_.end()) {
        it->second.readOnly = !writable;
        return true;
    }
    return folders_.count(key) > 0;
}

bool MemoryFileSystem::WriteText(const std::string& path, std::string_view data, WriteMode mode) {
    std::string key = Key(path);
    if (writesFail || folders_.count(key) || !ParentExists(key)) return false;
    auto it = files_.find(key);
    if (it != files_.end() && it->second.readOnly) return false;
    File& file = files_[key];
    if (mode == WriteMode::Truncate) file.content.clear();
    file.content.append(data);
    return true;
}

void MemoryFileSystem::AddFolder(const std::string& path) {
    std::string key = Key(path);
    while (!key.empty() && !IsDriveRoot(key)) {
        folders_.insert(key);
        key = Parent(key);
    }
}

void MemoryFileSystem::AddFile(const std::string& path, std::string content, bool readOnly) {
    std::string key = Key(path);
    AddFolder(Parent(key));
    files_[key] = File{std::move(content), readOnly};
}

bool MemoryFileSystem::HasFile(const std::string& path) const { return files_.count(Key(path)) > 0; }

bool MemoryFileSystem::HasFolder(const std::string& path) const { return folders_.count(Key(path)) > 0; }

const MemoryFileSystem::File* MemoryFileSystem::Find(const std::string& path) const {
    auto it = files_.find(Key(path));
    return it == files_.end() ? nullptr : &it->second;
}

std::string MemoryFileSystem::Content(const std::string& path) const {
    const File* file = Find(path);
    return file ? file->content : std::string();
}

void MemoryFileSystem::Forget(const std::string& path) {
    std::string key = Key(path);
    files_.erase(key);
    folders_.erase(key);
}

}  // namespace platform::fake
