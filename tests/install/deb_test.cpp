// The Debian package as `cpack -G DEB` builds it: what it installs, what it needs, and that
// it leaves nothing behind on removal.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "programs.h"
#include "support/packbuilder.h"

namespace quarbel::testing {
namespace {

namespace fs = std::filesystem;

std::string field(const fs::path& deb, const std::string& name) {
    std::string value = run("dpkg-deb -f '" + deb.string() + "' " + name).output;
    while (!value.empty() && value.back() == '\n')
        value.pop_back();
    return value;
}

TEST(DebianPackage, InstallsTheGameUnderUsrAndNamesTheLibrariesItNeeds) {
    ScratchFolder scratch;
    const CommandResult built =
        run("'" + std::string(QUARBEL_CPACK_COMMAND) + "' --config '" + QUARBEL_BUILD_DIR +
            "/CPackConfig.cmake' -G DEB -B '" + scratch.path().string() + "'");
    ASSERT_EQ(built.status, 0) << built.output;
    fs::path deb;
    for (const auto& entry : fs::directory_iterator(scratch.path())) {
        if (entry.path().extension() == ".deb") deb = entry.path();
    }
    ASSERT_FALSE(deb.empty()) << built.output;
    EXPECT_TRUE(deb.filename().string().starts_with("quarbel98_1.0_")) << deb;

    EXPECT_EQ(field(deb, "Package"), "quarbel98");
    EXPECT_EQ(field(deb, "Section"), "games");
    // Computed from the programs: the Qt libraries the game links, the C++ runtime.
    const std::string depends = field(deb, "Depends");
    for (const char* library : {"libqt6widgets6", "libqt6gui6", "libqt6multimedia6", "libqt6core6",
                                "libstdc++6", "libc6"}) {
        EXPECT_NE(depends.find(std::string(library) + " (>= "), std::string::npos)
            << library << " in " << depends;
    }

    const std::string contents = run("dpkg-deb -c '" + deb.string() + "'").output;
    for (const char* path :
         {"./usr/bin/quarbel98", "./usr/bin/quarbel-pack", "./usr/libexec/quarbel98/quarbel98",
          "./usr/libexec/quarbel98/quarbel98-sound.so", "./usr/share/quarbel98/playal8n.bmp",
          "./usr/share/quarbel98/lessons.dat", "./usr/share/quarbel98/month.html",
          "./usr/share/applications/quarbel98.desktop",
          "./usr/share/icons/hicolor/16x16/apps/quarbel98.png",
          "./usr/share/icons/hicolor/256x256/apps/quarbel98.png",
          "./usr/share/metainfo/example.quarbel98.quarbel98.metainfo.xml",
          "./usr/share/man/man6/quarbel98.6.gz", "./usr/share/man/man6/quarbel-pack.6.gz"}) {
        EXPECT_NE(contents.find(std::string(path) + "\n"), std::string::npos) << path;
    }
    // Everything lies under /usr, and no script runs at install or removal, so removing
    // the package removes every file it brought.
    std::istringstream listing(contents);
    for (std::string line; std::getline(listing, line);) {
        const std::string path = line.substr(line.find(" ./") + 1);
        EXPECT_TRUE(path == "./" || path.starts_with("./usr/")) << line;
    }
    const std::string control = run("dpkg-deb -I '" + deb.string() + "'").output;
    for (const char* script : {"preinst", "postinst", "prerm", "postrm"})
        EXPECT_EQ(control.find(script), std::string::npos) << control;
}

}  // namespace
}  // namespace quarbel::testing
