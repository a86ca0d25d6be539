// The host's data-access component, reached through COM for LibraryStart.
#pragma once

#include <memory>

#include "plugin/core/LibraryStart.h"

namespace orvanta::com {

// Creates the component's class {5823B60C-12BF-40EA-B39D-E8578914AB8E} and hands it the data source through the
// eighth operation of its interface {EAD157A1-E717-4B40-A8D9-832AE8995BD3} after the dispatch operations.
class ComHostDataAccessFactory : public IHostDataAccessFactory {
public:
    std::unique_ptr<IHostDataAccess> Create() override;
};

}  // namespace orvanta::com
