// The readers take file names: each fuzz run writes its input to one file of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quarbel::fuzz {

// Writes the input over this process's scratch file (in TMPDIR or /tmp, named with the
// process id and the suffix) and returns its name. The file is removed at exit.
const std::string& writeInputFile(const std::uint8_t* data, std::size_t size,
                                  const std::string& suffix);

}  // namespace quarbel::fuzz
