#include "plugin/core/ReviewFolder.h"

#include <system_error>

#include "plugin/core/FileSystemObject.h"
#include "plugin/core/HostConfig.h"
#include "plugin/core/Text.h"

namespace orvanta {

std::optional<std::u16string> EquipmentValue(Services& services, std::u16string_view deviceName,
                                             std::u16string_view key) {
    std::u16string entry(kEquipmentKeyPrefix);
    entry += deviceName;
    return ReadHostValue(services, kEquipIni, Decimal(FindEquipmentNumber(services, entry)), key);
}

bool FolderExists(Services& services, std::u16string_view path) {
    return FileSystemObject(services).FolderExists(path);
}

namespace {

void AddShown(std::vector<std::u16string>& names, const std::vector<platform::DirEntry>& entries) {
    for (const platform::DirEntry& entry : entries)
        if (!entry.hidden && !entry.system) names.push_back(FromUtf8(entry.name));
}

}  // namespace

std::vector<std::u16string> ListReviewEntries(Services& services, std::u16string_view pattern) {
    std::vector<std::u16string> names;
    auto entries = services.files.List(ToUtf8(pattern));
    if (!entries) return names;
    names.reserve(entries->size());
    AddShown(names, *entries);
    return names;
}

ReviewListing::ReviewListing(Services& services, std::u16string pattern)
    : services_(services), pattern_(std::move(pattern)) {
    try {
        thread_ = std::thread([this] { List(); });
    } catch (const std::system_error&) {
        List();
    }
}

ReviewListing::~ReviewListing() { Join(); }

void ReviewListing::Join() noexcept {
    if (thread_.joinable()) thread_.join();
}

void ReviewListing::List() noexcept {
    bool listed = false;
    std::exception_ptr raised;
    try {
        listed = services_.files.ListInBatches(ToUtf8(pattern_), [&](std::vector<platform::DirEntry>& entries) {
            std::vector<std::u16string> names;
            names.reserve(entries.size());
            AddShown(names, entries);
            std::lock_guard lock(mutex_);
            batches_.push_back(std::move(names));
            changed_.notify_one();
        });
    } catch (...) {
        raised = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    ended_ = true;
    listed_ = listed;
    raised_ = raised;
    changed_.notify_one();
}

bool ReviewListing::Next(std::vector<std::u16string>& names) {
    names.clear();
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return ended_ || !batches_.empty(); });
        if (!batches_.empty()) {
            names = std::move(batches_.front());
            batches_.pop_front();
            return true;
        }
    }
    Join();
    return false;
}

}  // namespace orvanta
