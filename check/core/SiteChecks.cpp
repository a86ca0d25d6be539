#include "check/core/SiteChecks.h"

#include "enrolix/core/Maintenance.h"

namespace orvanta::check {

bool IsFolder(Site& site, const std::string& path) {
    auto status = site.tool.files.Status(path);
    return status && status->isDirectory;
}

bool IsFile(Site& site, const std::string& path) { return enrolix::ExistsAsFile(site.tool, path); }

void CheckWritableFile(Site& site, CheckReport& report, std::string_view area, std::string name,
                       const std::string& path, const std::string& advice) {
    if (IsFile(site, path)) {
        if (site.probe.CanAppend(path))
            report.Add(area, std::move(name), State::Ok, path + " writable");
        else
            report.Add(area, std::move(name), State::Fail, path + " cannot be written", advice);
        return;
    }
    const std::string folder = enrolix::GetFolderOfPath(path);
    if (!IsFolder(site, folder)) {
        report.Add(area, std::move(name), State::Fail, "folder " + folder + " missing", advice);
    } else if (site.probe.CanAddFiles(folder)) {
        report.Add(area, std::move(name), State::Ok, path + " not written yet; its folder takes new files");
    } else {
        report.Add(area, std::move(name), State::Fail, "no file can be created in " + folder, advice);
    }
}

}  // namespace orvanta::check
