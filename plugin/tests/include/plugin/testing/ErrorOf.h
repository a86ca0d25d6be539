// The runtime error number a call raises, 0 when it raises none.
#pragma once

#include "plugin/core/VbError.h"

namespace orvanta::test {

int ErrorOf(auto&& call) {
    try {
        call();
    } catch (const VbError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace orvanta::test
