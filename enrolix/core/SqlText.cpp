#include "enrolix/core/SqlText.h"

namespace enrolix {

std::string SqlText(std::string_view value) {
    std::string quoted;
    quoted.reserve(value.size());
    for (char c : value) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted;
}

}  // namespace enrolix
