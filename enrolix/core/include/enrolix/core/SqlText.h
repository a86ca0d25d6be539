// Values placed inside N'...' literals of the tool's SQL texts.
#pragma once

#include <string>
#include <string_view>

namespace enrolix {

// The value with every apostrophe doubled, so that N'<result>' stands for exactly the value.
std::string SqlText(std::string_view value);

}  // namespace enrolix
