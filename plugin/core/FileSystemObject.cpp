#include "plugin/core/FileSystemObject.h"

namespace orvanta {

VbError FileError(std::uint32_t windowsError) {
    namespace e = platform::error;
    switch (windowsError) {
        case e::kFileNotFound:
            return VbError(vb::kFileNotFound);
        case e::kPathNotFound:
        case e::kBadNetPath:
        case e::kBadNetName:
            return VbError(vb::kPathNotFound);
        case e::kTooManyOpenFiles:
            return VbError(vb::kTooManyFiles);
        case e::kAccessDenied:
        case e::kWriteProtect:
        case e::kSharingViolation:
        case e::kLockViolation:
            return VbError(vb::kPermissionDenied);
        case e::kNotSameDevice:
            return VbError(vb::kRenameAcrossDrives);
        case e::kNotReady:
            return VbError(vb::kDiskNotReady);
        case e::kHandleDiskFull:
        case e::kDiskFull:
            return VbError(vb::kDiskFull);
        case e::kFileExists:
        case e::kAlreadyExists:
            return VbError(vb::kFileAlreadyExists);
        case e::kInvalidName:
        case e::kBadPathName:
        case e::kFilenameTooLong:
            return VbError(vb::kBadFileNameOrNumber);
        default:
            return VbError(vb::kPathFileAccessError);
    }
}

bool FileSystemObject::FolderExists(std::u16string_view path) {
    if (path.empty()) return false;
    auto status = services_.files.Status(Path(path));
    return status && status->isDirectory;
}

bool FileSystemObject::FileExists(std::u16string_view path) {
    if (path.empty()) return false;
    auto status = services_.files.Status(Path(path));
    return status && !status->isDirectory;
}

void FileSystemObject::CreateFolder(std::u16string_view path) {
    if (path.empty()) throw VbError(vb::kPathNotFound);
    if (!services_.files.MakeDirectory(Path(path))) Raise();
}

void FileSystemObject::CopyOneFile(std::u16string_view from, std::u16string_view to, bool overwrite) {
    if (!FileExists(from)) throw VbError(vb::kFileNotFound);
    if (!services_.files.Copy(Path(from), Path(to), !overwrite)) Raise();
}

void FileSystemObject::DeleteOneFile(std::u16string_view path) {
    auto status = path.empty() ? std::nullopt : services_.files.Status(Path(path));
    if (!status || status->isDirectory) throw VbError(vb::kFileNotFound);
    if (status->readOnly) throw VbError(vb::kPermissionDenied);
    if (!services_.files.RemoveFile(Path(path))) Raise();
}

std::uint64_t FileSystemObject::FileSize(std::u16string_view path) {
    auto status = path.empty() ? std::nullopt : services_.files.Status(Path(path));
    if (!status || status->isDirectory) throw VbError(vb::kFileNotFound);
    return status->size;
}

std::vector<std::u16string> FileSystemObject::FileNames(std::u16string_view folder) {
    if (!FolderExists(folder)) throw VbError(vb::kPathNotFound);
    std::u16string pattern(folder);
    if (pattern.back() != u'\\') pattern += u'\\';
    pattern += u'*';
    std::vector<std::u16string> names;
    for (const auto& entry : Entries(pattern))
        if (!entry.isDirectory) names.push_back(FromUtf8(entry.name));
    return names;
}

std::vector<platform::DirEntry> FileSystemObject::Entries(std::u16string_view pattern) {
    auto entries = services_.files.List(Path(pattern));
    if (!entries) Raise();
    return std::move(*entries);
}

void FileSystemObject::SetWorkingFolder(std::u16string_view path) {
    if (!services_.files.ChangeCurrentDirectory(Path(path))) Raise();
}

}  // namespace orvanta
