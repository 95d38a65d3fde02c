#include "tools/commandline.h"

namespace quarbel {

std::optional<std::string> helpOrVersion(const std::vector<std::string>& arguments,
                                         std::string_view command, std::string_view usage) {
    if (arguments.size() != 1) return std::nullopt;
    if (arguments[0] == "--help") {
        return std::string(usage) +
               "\n"
               "  --help     show this help and exit\n"
               "  --version  show the version and the licence and exit\n";
    }
    if (arguments[0] == "--version") {
        return std::string(command) + " (QUARBEL 98) " QUARBEL_VERSION
                                      "\n"
                                      "Copyright (C) " QUARBEL_COPYRIGHT_YEAR
                                      " The QUARBEL 98 developers\n"
                                      "License GPLv3+: GNU GPL version 3 or later "
                                      "<https://gnu.org/licenses/gpl.html>.\n"
                                      "This is free software: you are free to change and "
                                      "redistribute it.\n"
                                      "There is NO WARRANTY, to the extent permitted by law.\n";
    }
    return std::nullopt;
}

}  // namespace quarbel
