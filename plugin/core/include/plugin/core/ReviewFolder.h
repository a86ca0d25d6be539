// The review folder: where PXEquip.ini puts a device function's files, and what lies there.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "plugin/core/Services.h"

namespace orvanta {

// A setting of the equipment entry of a device function: key in the section named by the equipment number of
// "Orvanta:" + deviceName (section "0" when there is none); nullopt when not found.
std::optional<std::u16string> EquipmentValue(Services& services, std::u16string_view deviceName,
                                             std::u16string_view key);
// Whether path names an existing folder.
bool FolderExists(Services& services, std::u16string_view path);
// The names of the entries, files and folders, that match a wildcard pattern, in the order the system lists
// them; entries marked hidden or system are left out. None when the folder does not exist.
std::vector<std::u16string> ListReviewEntries(Services& services, std::u16string_view pattern);

// ListReviewEntries on a thread of its own, its names handed over in batches as the system returns them, so
// that the caller can work on them while the rest is read. The thread reaches only services.files, and only
// until Next has answered false or the listing is destroyed, which both wait for it.
class ReviewListing {
public:
    // Starts the listing; where no thread can be had, lists at once.
    ReviewListing(Services& services, std::u16string pattern);
    ~ReviewListing();
    ReviewListing(const ReviewListing&) = delete;
    ReviewListing& operator=(const ReviewListing&) = delete;

    // Waits for the next names and moves them into names; false, names empty, when the listing has ended.
    bool Next(std::vector<std::u16string>& names);
    // After Next answered false: whether the names were a listing, rather than batches of one that failed (for
    // which ListReviewEntries lists nothing), and what the listing raised.
    bool Listed() const { return listed_; }
    std::exception_ptr Raised() const { return raised_; }

private:
    void List() noexcept;
    void Join() noexcept;

    Services& services_;
    std::u16string pattern_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<std::u16string>> batches_;  // under mutex_, as are the three below
    bool ended_ = false, listed_ = false;
    std::exception_ptr raised_;
    std::thread thread_;
};

}  // namespace orvanta
