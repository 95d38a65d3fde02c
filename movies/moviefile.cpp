#include "moviefile.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "core/gameerror.h"

namespace quarbel {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// errno after a failed call, and a plain I/O error where the call left none behind.
int lastError() {
    return errno ? errno : EIO;
}

}  // namespace

std::string movieFileName(std::string_view packName, std::string_view levelText) {
    std::string name(packName);
    name += "/ZORP";
    if (levelText.size() < 4) name.append(4 - levelText.size(), '0');
    name += levelText;
    name += ".MOV";
    return name;
}

std::optional<std::vector<std::uint16_t>> readMovieFile(const std::string& fileName,
                                                        std::size_t maxCodes) {
    File file(std::fopen(fileName.c_str(), "rb"));
    if (!file) return std::nullopt;
    std::vector<std::uint16_t> codes;
    unsigned char buffer[4096];
    errno = 0;
    while (codes.size() < maxCodes) {
        const std::size_t wanted = std::min(sizeof buffer, maxCodes - codes.size());
        const std::size_t got = std::fread(buffer, 1, wanted, file.get());
        for (std::size_t i = 0; i < got; ++i) {
            codes.push_back(static_cast<std::uint16_t>(buffer[i] - 48));
        }
        if (got < wanted) break;
    }
    if (std::ferror(file.get())) throw IoError(lastError());
    return codes;
}

std::int64_t movieFileSize(const std::string& fileName) {
    // A stored movie counts only when it can be opened for reading and writing.
    File file(std::fopen(fileName.c_str(), "r+b"));
    if (!file) return 0;
    std::error_code error;
    const auto size = std::filesystem::file_size(fileName, error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

void writeMovieFile(const std::string& fileName, std::span<const std::uint16_t> codes) {
    const std::string partName = fileName + ".new";
    errno = 0;
    File file(std::fopen(partName.c_str(), "wb"));
    if (!file) throw IoError(lastError());
    std::string digits;
    digits.reserve(codes.size());
    for (std::uint16_t code : codes)
        digits += std::to_string(code);
    const bool written =
        std::fwrite(digits.data(), 1, digits.size(), file.get()) == digits.size() &&
        std::fflush(file.get()) == 0 && ::fsync(::fileno(file.get())) == 0;
    const int writeError = lastError();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed || std::rename(partName.c_str(), fileName.c_str()) != 0) {
        const int error = !written ? writeError : lastError();
        std::remove(partName.c_str());
        throw IoError(error);
    }
}

}  // namespace quarbel
