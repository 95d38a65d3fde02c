// The two arguments every installed command answers, without a display and before any
// other work: --help and --version.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarbel {

// When `arguments` (those after the program's name) are just "--help" or "--version":
// the text for standard output, `usage` followed by these two options, or the version
// and licence. Nothing for any other arguments.
std::optional<std::string> helpOrVersion(const std::vector<std::string>& arguments,
                                         std::string_view command, std::string_view usage);

}  // namespace quarbel
