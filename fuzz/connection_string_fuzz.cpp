// Connection strings built from the site files: read by ODBC's rules they hold exactly the tool's keys, in
// order, each with the value the tool read (no value adds or changes a key), and the password switch after a
// refused login changes the built-in password inside the password value and nothing else.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FuzzInput.h"
#include "enrolix/core/Connect.h"
#include "enrolix/core/SiteConfig.h"
#include "platform/ConnectionString.h"
#include "platform/fake/FakePlatform.h"

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

// key=value pairs separated by ";"; a value that starts with "{" runs to the "}" that is not doubled, and a
// doubled "}" inside it stands for one. False when the text does not read as a connection string.
bool ParseConnectionString(const std::string& text, Attributes& attributes) {
    attributes.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t equals = text.find('=', i);
        if (equals == std::string::npos) return false;
        std::string key = text.substr(i, equals - i);
        if (key.find(';') != std::string::npos) return false;
        std::string value;
        i = equals + 1;
        if (i < text.size() && text[i] == '{') {
            for (++i;; ++i) {
                if (i >= text.size()) return false;
                if (text[i] == '}') {
                    if (i + 1 < text.size() && text[i + 1] == '}') {
                        value += '}';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i];
            }
            if (i < text.size() && text[i] != ';') return false;
        } else {
            const std::size_t end = std::min(text.find(';', i), text.size());
            value = text.substr(i, end - i);
            i = end;
        }
        attributes.emplace_back(std::move(key), std::move(value));
        if (i < text.size()) ++i;  // the ";"
    }
    return true;
}

std::string Describe(const Attributes& attributes) {
    std::string out;
    for (const auto& [k, v] : attributes) out += "<" + k + "> = <" + v + ">; ";
    return out;
}

void CheckAttributes(const std::string& text, const Attributes& expected, const char* property) {
    Attributes got;
    fuzz::Check(ParseConnectionString(text, got), "the connection string reads by ODBC's rules", text);
    fuzz::Check(got == expected, property, Describe(got), Describe(expected));
    // The tool's own reader finds every value.
    for (const auto& [key, value] : expected) {
        const auto field = platform::FindConnectField(text, key);
        fuzz::Check(field && field->value == value, "the tool reads the value back", field ? field->value : "(none)",
                    value);
    }
}

// A driver whose first open is a refused login and whose second open succeeds.
class RefusingOnce : public platform::IDbDriver, public platform::IDbConnection {
public:
    std::unique_ptr<platform::IDbConnection> NewConnection() override {
        struct Forward : platform::IDbConnection {
            RefusingOnce& driver;
            explicit Forward(RefusingOnce& d) : driver(d) {}
            bool Open(const std::string& s) override { return driver.Open(s); }
            bool IsOpen() const override { return driver.IsOpen(); }
            void Close() override { driver.Close(); }
            void Execute(const std::string& sql) override { driver.Execute(sql); }
            std::vector<std::string> QueryFirstColumn(const std::string& sql) override {
                return driver.QueryFirstColumn(sql);
            }
        };
        return std::make_unique<Forward>(*this);
    }
    bool Open(const std::string&) override {
        if (opens_++ == 0) throw platform::DbError("[Microsoft][ODBC SQL Server Driver][SQL Server]Login failed");
        open_ = true;
        return true;
    }
    bool IsOpen() const override { return open_; }
    void Close() override { open_ = false; }
    void Execute(const std::string&) override {}
    std::vector<std::string> QueryFirstColumn(const std::string&) override { return {}; }

private:
    int opens_ = 0;
    bool open_ = false;
};

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> fields = fuzz::Fields(data, size);
    fields.resize(4);
    const std::string server = fields[2];
    const std::string databaseFile = fields[3];

    platform::fake::FakePlatform fake;
    RefusingOnce driver;
    enrolix::Tool tool{fake.profile, fake.files, fake.boxes, fake.clock, fake.system, driver};
    fake.files.AddFolder("C:\\Orvanta\\Database");
    if (!fields[0].empty()) fake.profile.Write(enrolix::kSqlInstallIni, "Options", "SAPWD", OneLine(fields[0]));
    if (!fields[1].empty()) fake.profile.Write(enrolix::kSqlInstallIni, "Options", "INSTANCENAME", OneLine(fields[1]));
    // The values as the tool reads them: 127 and 15 characters at most.
    const std::string password =
        fake.profile.Read(enrolix::kSqlInstallIni, "Options", "SAPWD", enrolix::kPlainPassword, 128);
    const std::string instance =
        fake.profile.Read(enrolix::kSqlInstallIni, "Options", "INSTANCENAME", enrolix::kDefaultInstance, 16);

    std::string probe = enrolix::BuildSQLConnectString(tool, enrolix::kServerDatabase, server);
    std::string companion = enrolix::BuildSQLConnectString(tool, enrolix::kImagingDatabaseName, server);
    auto sqlAttributes = [&](const std::string& database, const std::string& pwd) {
        return Attributes{{"Driver", enrolix::kSqlServerDriver},
                          {"Server", server + "\\" + instance},
                          {"Database", database},
                          {"Uid", "sa"},
                          {"Pwd", pwd}};
    };
    CheckAttributes(probe, sqlAttributes(enrolix::kServerDatabase, password), "the server string holds the values");
    CheckAttributes(companion, sqlAttributes(enrolix::kImagingDatabaseName, password),
                    "the database string holds the values");
    CheckAttributes(enrolix::BuildIBConnectString(server, databaseFile).substr(5),
                    Attributes{{"DRIVER", enrolix::kInterBaseDriver},
                               {"SERVER", server},
                               {"DATABASE", databaseFile},
                               {"UID", "SYSDBA"},
                               {"PWD", enrolix::kPlainPassword}},
                    "the InterBase string holds the values");

    // A refused login switches the built-in password within the password value (the policy one first); a
    // value that holds neither is left alone.
    std::string switched = password;
    auto replaceAll = [&](std::string_view from, std::string_view to) {
        for (std::size_t at = 0; (at = switched.find(from, at)) != std::string::npos; at += to.size())
            switched.replace(at, from.size(), to);
    };
    if (password.find(enrolix::kPolicyPassword) != std::string::npos)
        replaceAll(enrolix::kPolicyPassword, enrolix::kPlainPassword);
    else if (password.find(enrolix::kPlainPassword) != std::string::npos)
        replaceAll(enrolix::kPlainPassword, enrolix::kPolicyPassword);
    const int opened = enrolix::ProbeConnection(tool, probe, companion);
    fuzz::Check(opened == (switched != password ? 1 : 0), "only a built-in password is switched", password);
    CheckAttributes(probe, sqlAttributes(enrolix::kServerDatabase, switched),
                    "the switch changes the server string's password only");
    CheckAttributes(companion, sqlAttributes(enrolix::kImagingDatabaseName, switched),
                    "the switch changes the database string's password only");
    return 0;
}
