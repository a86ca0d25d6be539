#include "platform/fake/MemoryFileSystem.h"

#include <algorithm>
#include <cctype>
#include <new>

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

bool MemoryFileSystem::Fail(std::uint32_t error) {
    lastError = error;
    return false;
}

void MemoryFileSystem::Name(const std::string& key, const std::string& path) {
    if (names_.count(key)) return;
    std::string normal = path;
    for (char& c : normal)
        if (c == '/') c = '\\';
    while (normal.size() > 3 && normal.back() == '\\') normal.pop_back();
    auto slash = normal.rfind('\\');
    names_[key] = Named{slash == std::string::npos ? normal : normal.substr(slash + 1), ++created_};
}

std::optional<FileStatus> MemoryFileSystem::Status(const std::string& written) {
    std::string path = Absolute(written);
    std::string key = Key(path);
    if (IsDriveRoot(key) || folders_.count(key)) return FileStatus{true, false, 0};
    auto it = files_.find(key);
    if (it == files_.end()) {
        Fail(ParentExists(key) ? error::kFileNotFound : error::kPathNotFound);
        return std::nullopt;
    }
    return FileStatus{false, it->second.readOnly, it->second.content.size()};
}

bool MemoryFileSystem::MakeDirectory(const std::string& written) {
    std::string path = Absolute(written);
    std::string key = Key(path);
    if (key.empty() || !ParentExists(key)) return Fail(error::kPathNotFound);
    if (IsDriveRoot(key) || folders_.count(key) || files_.count(key)) return Fail(error::kAlreadyExists);
    folders_.insert(key);
    Name(key, path);
    return true;
}

bool MemoryFileSystem::RemoveFile(const std::string& written) {
    std::string path = Absolute(written);
    std::string key = Key(path);
    auto it = files_.find(key);
    if (folders_.count(key)) return Fail(error::kAccessDenied);
    if (it == files_.end()) return Fail(ParentExists(key) ? error::kFileNotFound : error::kPathNotFound);
    if (it->second.readOnly) return Fail(error::kAccessDenied);
    if (undeletable.count(key)) return Fail(error::kSharingViolation);
    files_.erase(it);
    names_.erase(key);
    return true;
}

bool MemoryFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
    std::string sourceKey = Key(Absolute(from));
    auto source = files_.find(sourceKey);
    std::string targetPath = Absolute(to);
    std::string target = Key(targetPath);
    if (source == files_.end()) return Fail(ParentExists(sourceKey) ? error::kFileNotFound : error::kPathNotFound);
    if (!ParentExists(target)) return Fail(error::kPathNotFound);
    if (folders_.count(target) || failingCopies.count(target)) return Fail(error::kAccessDenied);
    auto existing = files_.find(target);
    if (existing != files_.end() && failIfExists) return Fail(error::kFileExists);
    if (existing != files_.end() && existing->second.readOnly) return Fail(error::kAccessDenied);
    File copy = source->second;
    if (shortCopies.count(target)) copy.content.resize(copy.content.size() / 2);
    files_[target] = std::move(copy);
    Name(target, targetPath);
    return true;
}

bool MemoryFileSystem::SetWritable(const std::string& written, bool writable) {
    std::string path = Absolute(written);
    std::string key = Key(path);
    auto it = files_.find(key);
    if (it != files_.end()) {
        it->second.readOnly = !writable;
        return true;
    }
    if (IsDriveRoot(key) || folders_.count(key)) return true;
    return Fail(ParentExists(key) ? error::kFileNotFound : error::kPathNotFound);
}

bool MemoryFileSystem::WriteText(const std::string& written, std::string_view data, WriteMode mode) {
    std::string path = Absolute(written);
    std::string key = Key(path);
    if (!ParentExists(key)) return Fail(error::kPathNotFound);
    if (writesFail || folders_.count(key)) return Fail(error::kAccessDenied);
    auto it = files_.find(key);
    if (it != files_.end() && it->second.readOnly) return Fail(error::kAccessDenied);
    Name(key, path);
    File& file = files_[key];
    if (mode == WriteMode::Truncate) file.content.clear();
    file.content.append(data);
    return true;
}

void MemoryFileSystem::AddFolder(const std::string& written) {
    std::string path = Absolute(written);
    std::string key = Key(path);
    if (IsDriveRoot(key)) return;
    AddFolder(path.substr(0, path.rfind('\\')));
    folders_.insert(key);
    Name(key, path);
}

void MemoryFileSystem::AddFile(const std::string& written, std::string content, bool readOnly) {
    std::string path = Absolute(written);
    std::string key = Key(path);
    AddFolder(path.substr(0, path.rfind('\\')));
    files_[key] = File{std::move(content), readOnly};
    Name(key, path);
}

bool MemoryFileSystem::HasFile(const std::string& path) const { return files_.count(Key(Absolute(path))) > 0; }

bool MemoryFileSystem::HasFolder(const std::string& path) const { return folders_.count(Key(Absolute(path))) > 0; }

const MemoryFileSystem::File* MemoryFileSystem::Find(const std::string& path) const {
    auto it = files_.find(Key(Absolute(path)));
    return it == files_.end() ? nullptr : &it->second;
}

std::string MemoryFileSystem::Content(const std::string& path) const {
    const File* file = Find(path);
    return file ? file->content : std::string();
}

void MemoryFileSystem::Forget(const std::string& path) {
    std::string key = Key(Absolute(path));
    files_.erase(key);
    folders_.erase(key);
    names_.erase(key);
}

MemoryFileSystem::File* MemoryFileSystem::FindMutable(const std::string& path) {
    auto it = files_.find(Key(Absolute(path)));
    return it == files_.end() ? nullptr : &it->second;
}

bool MemoryFileSystem::ChangeCurrentDirectory(const std::string& written) {
    std::string path = Absolute(written);
    std::string key = Key(path);
    if (!IsDriveRoot(key) && !folders_.count(key)) return Fail(error::kPathNotFound);
    currentDirectory = path;  // full, without a final separator but a root's
    return true;
}

bool MemoryFileSystem::Matches(const std::string& pattern, const std::string& name) {
    auto upper = [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); };
    // Classic backtracking match of * and ?.
    auto match = [&](const std::string& p, const std::string& n) {
        std::size_t pi = 0, ni = 0, star = std::string::npos, resume = 0;
        while (ni < n.size()) {
            if (pi < p.size() && (p[pi] == '?' || upper(p[pi]) == upper(n[ni]))) {
                ++pi, ++ni;
            } else if (pi < p.size() && p[pi] == '*') {
                star = pi++;
                resume = ni;
            } else if (star != std::string::npos) {
                pi = star + 1;
                ni = ++resume;
            } else {
                return false;
            }
        }
        while (pi < p.size() && p[pi] == '*') ++pi;
        return pi == p.size();
    };
    if (match(pattern, name)) return true;
    return pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
           name.find('.') == std::string::npos && match(pattern, name + ".");
}

std::string MemoryFileSystem::FolderKeyOf(const std::string& pattern, std::string& namePattern) const {
    std::string normal = pattern;
    for (char& c : normal)
        if (c == '/') c = '\\';
    auto slash = normal.rfind('\\');
    std::string folder = slash == std::string::npos ? currentDirectory : normal.substr(0, slash);
    namePattern = slash == std::string::npos ? normal : normal.substr(slash + 1);
    return Key(Absolute(folder.empty() ? std::string("\\") : folder));
}

std::optional<std::vector<DirEntry>> MemoryFileSystem::List(const std::string& pattern) {
    std::string namePattern;
    std::string folderKey = FolderKeyOf(pattern, namePattern);
    if (!IsDriveRoot(folderKey) && !folders_.count(folderKey)) {
        Fail(error::kPathNotFound);
        return std::nullopt;
    }
    if (failingLists.count(folderKey)) {
        Fail(error::kAccessDenied);
        return std::nullopt;
    }
    std::vector<std::pair<std::uint64_t, DirEntry>> found;
    for (const auto& [key, named] : names_) {
        if (Parent(key) != folderKey && !(IsDriveRoot(folderKey) && Parent(key) + "\\" == folderKey)) continue;
        if (!Matches(namePattern, named.name)) continue;
        DirEntry entry;
        entry.name = named.name;
        if (auto file = files_.find(key); file != files_.end()) {
            entry.size = file->second.content.size();
            entry.hidden = file->second.hidden;
            entry.system = file->second.system;
        } else {
            entry.isDirectory = true;
        }
        found.emplace_back(named.created, std::move(entry));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<DirEntry> entries;
    for (auto& [created, entry] : found) entries.push_back(std::move(entry));
    return entries;
}

bool MemoryFileSystem::ListInBatches(const std::string& pattern,
                                     const std::function<void(std::vector<DirEntry>&)>& take) {
    auto entries = List(pattern);
    if (!entries) return false;
    for (DirEntry& entry : *entries) {
        std::vector<DirEntry> batch{std::move(entry)};
        take(batch);
    }
    std::string namePattern, folderKey = FolderKeyOf(pattern, namePattern);
    if (raisingLists.count(folderKey)) throw std::bad_alloc();
    if (breakingLists.count(folderKey)) return Fail(error::kAccessDenied);
    return true;
}

std::vector<std::string> MemoryFileSystem::Names(const std::string& folder) {
    std::vector<std::string> names;
    if (auto entries = List(folder + "\\*"))
        for (const auto& entry : *entries) names.push_back(entry.name);
    return names;
}

std::vector<std::string> MemoryFileSystem::Parts(const std::string& path, std::string& root) const {
    std::string normal = path;
    for (char& c : normal)
        if (c == '/') c = '\\';
    bool hasDrive = normal.size() >= 2 && normal[1] == ':';
    if (!hasDrive) {
        std::string base = currentDirectory;
        if (!normal.empty() && normal[0] == '\\') base = base.substr(0, 2);  // rooted: the current drive
        normal = base + "\\" + normal;
    }
    root = normal.substr(0, 2);
    std::vector<std::string> parts;
    std::size_t start = 2;
    while (start <= normal.size()) {
        std::size_t end = normal.find('\\', start);
        if (end == std::string::npos) end = normal.size();
        std::string part = normal.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    return parts;
}

std::string MemoryFileSystem::Absolute(const std::string& path) const {
    std::string root;
    std::string full;
    for (const auto& part : Parts(path, root)) full += "\\" + part;
    return root + (full.empty() ? "\\" : full);
}

std::optional<std::string> MemoryFileSystem::FullPath(const std::string& path) {
    if (path.empty()) {
        Fail(error::kInvalidName);
        return std::nullopt;
    }
    std::string root;
    std::string full;
    for (const auto& part : Parts(path, root)) {
        auto longName = shortNames.find(part);
        full += "\\" + (longName == shortNames.end() ? part : longName->second);
    }
    return root + (full.empty() ? "\\" : full);
}

}  // namespace platform::fake
