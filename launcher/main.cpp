// quarbel98, the installed command: prepares the player's game folder and runs the game
// there, since the game opens every file by its name in its working folder.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "launcher/playerfolder.h"
#include "tools/commandline.h"

namespace fs = std::filesystem;

namespace {

int fail(const std::string& why) {
    std::cerr << "quarbel98: " << why << '\n';
    return 1;
}

const char* const Usage =
    "Usage: quarbel98\n"
    "Plays QUARBEL 98 in your own game folder, $XDG_DATA_HOME/quarbel98\n"
    "(~/.local/share/quarbel98 when XDG_DATA_HOME is not set), which it first\n"
    "supplies with the shipped levels, pictures, sounds and help. Put level packs\n"
    "(*.dat) there to play them.\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto answer = quarbel::helpOrVersion(arguments, "quarbel98", Usage)) {
        std::cout << *answer;
        return 0;
    }
    // The game takes no arguments.
    if (!arguments.empty()) return fail("unknown argument " + arguments[0] + "\n" + Usage);

    // The game and its files are found from where this command was installed, so that
    // any prefix, and a package unpacked anywhere, works alike.
    std::error_code error;
    const fs::path installedAt = fs::canonical("/proc/self/exe", error).parent_path();
    if (error) return fail("cannot find where it is installed: " + error.message());
    const fs::path shippedFolder = (installedAt / QUARBEL_SHIPPED_FILES).lexically_normal();
    const fs::path game = (installedAt / QUARBEL_GAME_PROGRAM).lexically_normal();

    try {
        const fs::path folder =
            quarbel::playerFolderFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
        quarbel::preparePlayerFolder(shippedFolder, folder);
        fs::current_path(folder, error);
        if (error)
            return fail("cannot enter the game folder " + folder.string() + ": " + error.message());
    } catch (const std::exception& failure) {
        return fail(failure.what());
    }
    execv(game.c_str(), argv);
    return fail("cannot start " + game.string() + ": " + std::strerror(errno));
}
