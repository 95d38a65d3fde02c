// A count with its noun: "1 push", "2 pushes".
#pragma once

#include <cstddef>
#include <string>

namespace quarbel {

inline std::string counted(std::size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace quarbel
