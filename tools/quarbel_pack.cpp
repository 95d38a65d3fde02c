// quarbel-pack: makes level packs from text, reads them back, and proves levels solvable.
#include <iostream>

#include "tools/packtool.h"

int main(int argc, char** argv) {
    std::string out;
    std::string err;
    const int status =
        quarbel::runPackTool(std::vector<std::string>(argv + 1, argv + argc), out, err);
    std::cout << out;
    std::cerr << err;
    return status;
}
