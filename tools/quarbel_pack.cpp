// quarbel-pack: makes level packs from text, reads them back, and proves levels solvable.
#include <unistd.h>
#include <iostream>

#include "core/files.h"
#include "tools/packtool.h"

int main(int argc, char** argv) {
    std::string out;
    std::string err;
    int status = quarbel::runPackTool(std::vector<std::string>(argv + 1, argv + argc), out, err);
    try {
        quarbel::writeStream(STDOUT_FILENO, out, "the standard output");
    } catch (const quarbel::FileError& failure) {
        err += "quarbel-pack: " + std::string(failure.what()) + "\n";
        status = 1;
    }
    std::cerr << err;
    return status;
}
