// The Debian package as `cpack -G DEB` builds it: what it installs, what it needs, and that
// it leaves nothing behind on removal.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

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

// The package built once for all the tests here.
class DebianPackage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        scratch.emplace();
        built = run("'" + std::string(QUARBEL_CPACK_COMMAND) + "' --config '" + QUARBEL_BUILD_DIR +
                    "/CPackConfig.cmake' -G DEB -B '" + scratch->path().string() + "'");
        for (const auto& entry : fs::directory_iterator(scratch->path())) {
            if (entry.path().extension() == ".deb") deb = entry.path();
        }
    }
    static void TearDownTestSuite() { scratch.reset(); }
    void SetUp() override {
        ASSERT_EQ(built.status, 0) << built.output;
        ASSERT_FALSE(deb.empty()) << built.output;
    }

    static inline std::optional<ScratchFolder> scratch;
    static inline CommandResult built{-1, {}};
    static inline fs::path deb;
};

TEST_F(DebianPackage, InstallsTheGameInTheGamesFoldersAndNamesWhatItNeeds) {
    EXPECT_TRUE(deb.filename().string().starts_with("quarbel98_1.0_")) << deb;
    EXPECT_EQ(field(deb, "Package"), "quarbel98");
    EXPECT_EQ(field(deb, "Section"), "games");
    // Computed from the programs: the Qt libraries the game links, the C++ runtime; and
    // the font the panels are measured in.
    const std::string depends = field(deb, "Depends");
    for (const char* library : {"libqt6widgets6", "libqt6gui6", "libqt6multimedia6", "libqt6core6",
                                "libstdc++6", "libc6"}) {
        EXPECT_NE(depends.find(std::string(library) + " (>= "), std::string::npos)
            << library << " in " << depends;
    }
    EXPECT_NE(depends.find("fonts-liberation2"), std::string::npos) << depends;

    const std::string contents = run("dpkg-deb -c '" + deb.string() + "'").output;
    const std::string programs = "./usr/" QUARBEL_INSTALL_PROGRAMS_DIR "/";
    const std::string files = "./usr/" QUARBEL_INSTALL_FILES_DIR "/";
    for (const std::string& path : std::vector<std::string>{
             programs + "quarbel98", programs + "quarbel-pack", programs + "quarbel-editor",
             "./usr/" QUARBEL_INSTALL_GAME_DIR "/quarbel98",
             "./usr/" QUARBEL_INSTALL_GAME_DIR "/quarbel98-sound.so", files + "playal8n.bmp",
             files + "lessons.dat", files + "month.html", files + "month01.png",
             "./usr/share/applications/quarbel98.desktop",
             "./usr/share/icons/hicolor/16x16/apps/quarbel98.png",
             "./usr/share/icons/hicolor/256x256/apps/quarbel98.png",
             "./usr/share/metainfo/example.quarbel98.quarbel98.metainfo.xml",
             "./usr/share/man/man6/quarbel98.6.gz", "./usr/share/man/man6/quarbel-pack.6.gz",
             "./usr/share/doc/quarbel98/copyright", "./usr/share/doc/quarbel98/changelog.gz"}) {
        EXPECT_NE(contents.find(path + "\n"), std::string::npos) << path;
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

// What Debian's own checker finds: no error and no warning.
TEST_F(DebianPackage, LintianFindsNoErrorOrWarning) {
    if (QUARBEL_SANITIZED_BUILD) GTEST_SKIP() << "lintian judges the package of a plain build";
    const CommandResult lintian =
        run("'" QUARBEL_LINTIAN "' --fail-on error,warning --no-cfg '" + deb.string() + "'");
    EXPECT_EQ(lintian.status, 0) << lintian.output;
}

}  // namespace
}  // namespace quarbel::testing
