#include "inputfile.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace quarbel::fuzz {

namespace {

std::string scratchName;

void removeScratchFile() {
    std::remove(scratchName.c_str());
}

}  // namespace

const std::string& writeInputFile(const std::uint8_t* data, std::size_t size,
                                  const std::string& suffix) {
    if (scratchName.empty()) {
        scratchName = (std::filesystem::temp_directory_path() /
                       ("quarbel-fuzz-" + std::to_string(::getpid()) + suffix))
                          .string();
        std::atexit(removeScratchFile);
    }
    std::FILE* file = std::fopen(scratchName.c_str(), "wb");
    // A scratch file that cannot be written makes every later run meaningless.
    if (!file) throw std::runtime_error("cannot write " + scratchName);
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + scratchName);
    return scratchName;
}

}  // namespace quarbel::fuzz
