#include "check/core/ReadOnly.h"

namespace orvanta::check {

namespace {

class ReadOnlyConnection : public platform::IDbConnection {
public:
    ReadOnlyConnection(std::unique_ptr<platform::IDbConnection> inner, std::vector<std::string>& withheld)
        : inner_(std::move(inner)), withheld_(withheld) {}
    bool Open(const std::string& connectString) override { return inner_->Open(connectString); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    void Close() override { inner_->Close(); }
    void Execute(const std::string& sql) override {
        withheld_.push_back(sql);
        throw platform::DbError("The site check sends no statement that changes the database.");
    }
    std::vector<std::string> QueryFirstColumn(const std::string& sql) override { return inner_->QueryFirstColumn(sql); }

private:
    std::unique_ptr<platform::IDbConnection> inner_;
    std::vector<std::string>& withheld_;
};

class KeptDataSource : public IHostDataAccess {
public:
    void SetDataSource(const std::u16string&) override {}
};

}  // namespace

std::optional<platform::FileStatus> ReadOnlyFileSystem::Status(const std::string& path) { return inner_.Status(path); }

std::optional<std::vector<platform::DirEntry>> ReadOnlyFileSystem::List(const std::string& pattern) {
    return inner_.List(pattern);
}

bool ReadOnlyFileSystem::Withhold(std::string what) {
    withheld.push_back(std::move(what));
    return true;
}

std::unique_ptr<platform::IDbConnection> ReadOnlyDriver::NewConnection() {
    return std::make_unique<ReadOnlyConnection>(inner_.NewConnection(), withheld);
}

std::unique_ptr<IHostDataAccess> NoHostDataAccess::Create() { return std::make_unique<KeptDataSource>(); }

}  // namespace orvanta::check
