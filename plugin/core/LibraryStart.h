// The host database settings, read once when the library is loaded.
#pragma once

#include <memory>
#include <string>

#include "Services.h"

namespace orvanta {

// The host's data-access component for server database connections.
class IHostDataAccess {
public:
    virtual ~IHostDataAccess() = default;
    // Hands over the data source; raises a VbError when the component refuses it.
    virtual void SetDataSource(const std::u16string& dataSource) = 0;
};

class IHostDataAccessFactory {
public:
    virtual ~IHostDataAccessFactory() = default;
    // A new component object; raises "ActiveX component can't create object" when there is none.
    virtual std::unique_ptr<IHostDataAccess> Create() = 0;
};

struct HostDatabaseSettings {
    std::u16string connectionKind;
    bool serverConnection = false;
    std::u16string dataSource;
    std::u16string databaseLocation;
    std::unique_ptr<IHostDataAccess> dataAccess;
};

// Fills settings from praxo32.ini; a server connection ("MSDE" or "SQL") creates the data-access component and
// hands it the data source. Errors pass to the caller with settings filled as far as it got.
void LibraryStart(Services& services, IHostDataAccessFactory& factory, HostDatabaseSettings& settings);

}  // namespace orvanta
