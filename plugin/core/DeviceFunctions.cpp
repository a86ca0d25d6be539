#include "plugin/core/DeviceFunctions.h"

#include <algorithm>

namespace orvanta {

bool IsDeviceFunction(std::u16string_view name) {
    return std::find(kDeviceFunctions.begin(), kDeviceFunctions.end(), name) != kDeviceFunctions.end();
}

}  // namespace orvanta
