#include "plugin/core/LibraryStart.h"

#include "plugin/core/HostConfig.h"
#include "plugin/core/Trap.h"
#include "plugin/core/VbError.h"

namespace orvanta {

void LibraryStart(Services& services, IHostDataAccessFactory& factory, HostDatabaseSettings& settings) {
    settings.connectionKind = ReadHostValue(services, kPraxoIni, u"ADOConnection", u"ConnectThru").value_or(u"JET");
    if (settings.connectionKind != u"MSDE" && settings.connectionKind != u"SQL") {
        settings.databaseLocation = GetPraxoDBPathOfExistingDatabase(services) + u"\\praxo.mdb";
        return;
    }
    settings.dataSource = ReadHostValue(services, kPraxoIni, u"ADOConnection", u"DataSource").value_or(u"");
    auto dataAccess = factory.Create();
    if (!dataAccess) throw VbError(vb::kCannotCreateObject);
    dataAccess->SetDataSource(settings.dataSource);
    settings.dataAccess = std::move(dataAccess);
    settings.serverConnection = true;
    settings.databaseLocation =
        ReadHostValue(services, kPraxoIni, u"ADOConnection", u"Databasename").value_or(u"PRAXO");
}

void RunLibraryStart(Services& services, IHostDataAccessFactory& factory, HostDatabaseSettings& settings) noexcept {
    Trap::Operation(services, u"LibraryStart", false, Trap::Action::Log).Run([&] {
        LibraryStart(services, factory, settings);
    });
}

}  // namespace orvanta
