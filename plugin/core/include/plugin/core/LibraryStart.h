// The host database settings, read once when the library is loaded.
#pragma once

#include <memory>
#include <string>

#include "plugin/core/Services.h"

namespace orvanta {

// The host's data-access component for server database connections. The COM shell implements it with an object
// of class {5823B60C-12BF-40EA-B39D-E8578914AB8E} through interface {EAD157A1-E717-4B40-A8D9-832AE8995BD3}.
class IHostDataAccess {
public:
    virtual ~IHostDataAccess() = default;
    // Hands over the data source through the interface's eighth operation after the IDispatch ones (vtable slot
    // 14 from 0), a BSTR by value; raises a VbError when its result is a failure.
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

// LibraryStart as the library loader runs it, once per load before the first object is initialised. An error
// (no component, a refused data source) leaves the library and its objects working; it is written to
// Orvanta.log as " LibraryStart, Err Number: n Err Description: d". Never raises.
void RunLibraryStart(Services& services, IHostDataAccessFactory& factory, HostDatabaseSettings& settings) noexcept;

}  // namespace orvanta
