// The game installed into a scratch prefix: every file in its place, and the installed
// command, started with a scratch home from another folder, keeping the player's folder.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/levelpack.h"
#include "programs.h"
#include "tools/solver.h"
#include "ui/windowfixture.h"

namespace quarbel::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path Prefix = QUARBEL_INSTALLED_PREFIX;
const fs::path Command = fs::path(QUARBEL_INSTALL_PROGRAMS_DIR) / "quarbel98";
const fs::path Game = fs::path(QUARBEL_INSTALL_GAME_DIR) / "quarbel98";
const fs::path Files = QUARBEL_INSTALL_FILES_DIR;
const fs::path Data = QUARBEL_INSTALL_DATADIR;

std::vector<std::string> listed(const std::string& commaSeparated) {
    std::vector<std::string> items;
    std::stringstream stream(commaSeparated);
    for (std::string item; std::getline(stream, item, ',');)
        items.push_back(item);
    return items;
}

// The regular files of a folder by name, with their bytes.
std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) files[entry.path().filename()] = fileText(entry.path());
    }
    return files;
}

bool isExecutable(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) &&
           (fs::status(path, error).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

std::string manPageText(const fs::path& compressed) {
    return run("gzip -dc '" + compressed.string() + "'").output;
}

TEST(InstalledFiles, EveryFileInItsPlace) {
    EXPECT_TRUE(isExecutable(Prefix / Command));
    EXPECT_TRUE(isExecutable(Prefix / QUARBEL_INSTALL_PROGRAMS_DIR / "quarbel-pack"));
    EXPECT_TRUE(isExecutable(Prefix / Game));
    // The sound module, which the game finds beside itself.
    EXPECT_TRUE(fs::is_regular_file(Prefix / Game.parent_path() / "quarbel98-sound.so"));

    // The game's files are those of the build's game folder, less the programs there.
    std::map<std::string, std::string> built = filesIn(QUARBEL_GAME_DIR);
    std::erase_if(built, [](const auto& file) {
        return isExecutable(fs::path(QUARBEL_GAME_DIR) / file.first);
    });
    ASSERT_FALSE(built.contains("quarbel98"));
    const std::map<std::string, std::string> installed = filesIn(Prefix / Files);
    EXPECT_EQ(installed.size(), built.size());
    for (const auto& [name, bytes] : built) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(installed.contains(name));
        EXPECT_TRUE(installed.at(name) == bytes);
    }
    for (const char* name :
         {"playal8n.bmp", "backgr8.bmp", "titel.bmp", "titel2.bmp", "mplay.bmp", "m10forward.bmp",
          "quarbel.png", "undo.wav", "done.wav", "quarbel.hlp", "lessons.dat", "warehouse.dat",
          "warrens.dat", "yards.dat", "zenith.dat", "month.html"}) {
        EXPECT_TRUE(installed.contains(name)) << name;
    }

    const fs::path entry = Prefix / Data / "applications/quarbel98.desktop";
    const std::string desktop = fileText(entry);
    EXPECT_NE(desktop.find("\nExec=quarbel98\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nCategories=Game;LogicGame;\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nIcon=quarbel98\n"), std::string::npos) << desktop;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const QImage icon(QString::fromStdString(
            (Prefix / Data / "icons/hicolor" / name / "apps/quarbel98.png").string()));
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
    }

    for (const std::string& path : listed(QUARBEL_DESKTOP_ENTRIES))
        EXPECT_TRUE(fs::is_regular_file(Prefix / path)) << path;
    for (const std::string& path : listed(QUARBEL_METAINFO_FILES)) {
        SCOPED_TRACE(path);
        const std::string metainfo = fileText(Prefix / path);
        EXPECT_NE(metainfo.find("<summary>"), std::string::npos);
        EXPECT_NE(metainfo.find("<description>"), std::string::npos);
        EXPECT_NE(metainfo.find("<release version=\"1.0\""), std::string::npos);
        EXPECT_NE(metainfo.find("<content_rating type=\"oars-1.1\""), std::string::npos);
    }
    EXPECT_NE(fileText(Prefix / Data / "metainfo/example.quarbel98.quarbel98.metainfo.xml")
                  .find("<launchable type=\"desktop-id\">quarbel98.desktop</launchable>"),
              std::string::npos);
    std::set<std::string> pages;
    for (const std::string& path : listed(QUARBEL_MAN_PAGES)) {
        pages.insert(fs::path(path).filename());
        EXPECT_TRUE(manPageText(Prefix / path).starts_with(".TH ")) << path;
    }
    EXPECT_TRUE(pages.contains("quarbel98.6.gz"));
    EXPECT_TRUE(pages.contains("quarbel-pack.6.gz"));
}

TEST(InstalledFiles, TheLicenceAndTheChangelogWhereDebianKeepsThem) {
    const fs::path docs = Prefix / Data / "doc/quarbel98";
    const std::string copyright = fileText(docs / "copyright");
    EXPECT_TRUE(copyright.starts_with(
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"));
    EXPECT_NE(copyright.find("\nLicense: GPL-3.0-or-later\n"), std::string::npos);
    const std::string changelog = run("gzip -dc '" + (docs / "changelog.gz").string() + "'").output;
    EXPECT_TRUE(changelog.starts_with("quarbel98 (1.0) unstable; urgency=medium\n\n  * "))
        << changelog;
    EXPECT_NE(changelog.find("\n -- "), std::string::npos) << changelog;
    EXPECT_NE(changelog.find("  Tue, 08 Dec 2026 12:00:00 +0000\n"), std::string::npos)
        << changelog;

    const std::string metainfo =
        fileText(Prefix / Data / "metainfo/example.quarbel98.quarbel98.metainfo.xml");
    EXPECT_NE(metainfo.find("<project_license>GPL-3.0-or-later</project_license>"),
              std::string::npos);
    EXPECT_NE(metainfo.find("<developer id="), std::string::npos);
    EXPECT_NE(metainfo.find("<li>The game: a keeper pushes crates"), std::string::npos);
    // The levels it promises are those of the installed packs.
    int levels = 0;
    int packs = 0;
    for (const auto& file : fs::directory_iterator(Prefix / Files)) {
        if (file.path().extension() != ".dat") continue;
        ++packs;
        levels += readPackHeader(file.path().string()).levelCount;
    }
    EXPECT_NE(metainfo.find("<li>" + std::to_string(levels) + " levels in " +
                            std::to_string(packs) + " packs of our own,"),
              std::string::npos)
        << metainfo;
    for (const std::string& entry : listed(QUARBEL_DESKTOP_ENTRIES)) {
        const std::string desktop = fileText(Prefix / entry);
        EXPECT_NE(desktop.find("\nKeywords=puzzle;crate;crates;box;boxes;push;warehouse;"),
                  std::string::npos)
            << entry;
    }
}

// Each command answers on standard output with status 0 where there is no display.
TEST(InstalledFiles, EveryCommandAnswersHelpAndVersionWithoutADisplay) {
    for (const char* command : {"quarbel98", "quarbel-editor", "quarbel-pack"}) {
        const std::string program = (Prefix / QUARBEL_INSTALL_PROGRAMS_DIR / command).string();
        const std::string withoutDisplay =
            "(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + program + "' ";
        const CommandResult help = run(withoutDisplay + "--help 2>/dev/null)");
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.output.find(std::string(command) + " "), std::string::npos) << help.output;
        EXPECT_NE(help.output.find("  --version"), std::string::npos) << help.output;
        const CommandResult version = run(withoutDisplay + "--version 2>/dev/null)");
        EXPECT_EQ(version.status, 0) << command;
        EXPECT_TRUE(version.output.starts_with(std::string(command) + " (QUARBEL 98) 1.0\n"))
            << version.output;
        EXPECT_NE(version.output.find("GNU GPL version 3 or later"), std::string::npos);
    }
    // The game itself takes no arguments, so the command refuses any other.
    const CommandResult other = run("'" + (Prefix / Command).string() + "' --fullscreen");
    EXPECT_EQ(other.status, 1);
    EXPECT_TRUE(other.output.starts_with("quarbel98: unknown argument --fullscreen\n"))
        << other.output;
}

TEST(InstalledFiles, ThePackToolsManPageNamesEachOfItsCommands) {
    const CommandResult usage =
        run("'" + (Prefix / QUARBEL_INSTALL_PROGRAMS_DIR / "quarbel-pack").string() + "'");
    const std::string page = manPageText(Prefix / Data / "man/man6/quarbel-pack.6.gz");
    std::stringstream lines(usage.output);
    int commands = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find("quarbel-pack ");
        if (at == std::string::npos) continue;
        std::string command = line.substr(at + 13);
        command = command.substr(0, command.find(' '));
        ++commands;
        EXPECT_NE(page.find(".B quarbel-pack " + command + "\n"), std::string::npos) << command;
    }
    EXPECT_GE(commands, 6) << usage.output;
}

TEST(InstalledFiles, DestdirPutsEverythingUnderTheStagingFolder) {
    ScratchFolder scratch;
    const fs::path stage = scratch.path() / "stage";
    const CommandResult install = run("DESTDIR='" + stage.string() + "' '" + QUARBEL_CMAKE_COMMAND +
                                      "' --install '" + QUARBEL_BUILD_DIR + "' --prefix /usr");
    ASSERT_EQ(install.status, 0) << install.output;
    EXPECT_TRUE(isExecutable(stage / "usr" / Command));
    EXPECT_TRUE(isExecutable(stage / "usr" / Game));
    EXPECT_TRUE(fs::is_regular_file(stage / "usr" / Files / "lessons.dat"));
    EXPECT_TRUE(fs::is_regular_file(stage / "usr" / Data / "applications/quarbel98.desktop"));
}

// The command with its working folder elsewhere and a scratch home; the prefix is a copy
// of the installed one, so that a test can ship a file of a later version.
class InstalledCommand : public WindowTest {
  protected:
    InstalledCommand() {
        fs::create_directories(home);
        fs::create_directories(elsewhere);
        fs::copy(Prefix, prefix, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }

    Started start(std::vector<std::string> settings = {}) {
        settings.push_back("HOME=" + home.string());
        return startProgram(prefix / Command, elsewhere, settings);
    }

    // Starts the command and stops the game once it has been running there for a while.
    void startAndClose() {
        Started started = start();
        EXPECT_TRUE(runsThere(started, prefix / Game, player, 20s)) << fileText(started.output);
        stop(started);
    }

    // Solves level 1 of the first pack in the real window, in the player's folder, and
    // stores the movie.
    std::string solveTheFirstLevelThere() {
        fs::current_path(player);
        const Level level = readLevelRecord("lessons.dat", 1).level;
        const SolverResult solution = solveLevel(level.board, level.keeperX, level.keeperY);
        EXPECT_TRUE(solution.moves.has_value());
        if (!solution.moves) return {};
        openWindow();
        enterFirstPack();
        answerSolvedDialog(true);
        std::string digits;
        for (std::uint16_t code : *solution.moves) {
            static const int keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Right, Qt::Key_Left};
            key(keys[(code - 1) % 4]);
            digits += static_cast<char>('0' + code);
        }
        EXPECT_EQ(solvedDialogs.size(), 1u);
        EXPECT_TRUE(errors.texts.empty());
        window.reset();
        fs::current_path(folder.path());
        return digits;
    }

    const fs::path prefix = folder.path() / "prefix";
    const fs::path home = folder.path() / "home";
    const fs::path elsewhere = folder.path() / "elsewhere";
    const fs::path player = home / ".local/share/quarbel98";
};

TEST_F(InstalledCommand, KeepsThePlayersFolderFromOneStartToTheNext) {
    startAndClose();
    const std::map<std::string, std::string> shipped = filesIn(prefix / Files);
    for (const auto& [name, bytes] : shipped) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fileText(player / name), bytes);
        EXPECT_EQ(fs::is_symlink(player / name), !name.ends_with(".dat"));
    }
    EXPECT_TRUE(fs::is_empty(elsewhere));

    const std::string movie = solveTheFirstLevelThere();
    EXPECT_EQ(fileText(player / "lessons/ZORP0001.MOV"), movie);

    // The player adds a pack, replaces the tile sheet and deletes a shipped pack; a later
    // version ships a pack of its own.
    folder.writePack("home/.local/share/quarbel98/mine.dat", "Mine",
                     {levelFromRows({"#####", "#@$.#", "#####"})});
    const std::string myPack = fileText(player / "mine.dat");
    fs::remove(player / "playal8n.bmp");
    fs::copy_file(folder.path() / "playal8n.bmp", player / "playal8n.bmp");
    const std::string myTiles = fileText(player / "playal8n.bmp");
    ASSERT_NE(myTiles, shipped.at("playal8n.bmp"));
    fs::remove(player / "warehouse.dat");
    fs::remove(player / "done.wav");
    folder.writePack("prefix/" + (Files / "extra.dat").string(), "Extra",
                     {levelFromRows({"######", "#@ $.#", "######"})});

    startAndClose();
    EXPECT_EQ(fileText(player / "lessons/ZORP0001.MOV"), movie);
    EXPECT_EQ(fileText(player / "mine.dat"), myPack);
    EXPECT_EQ(fileText(player / "playal8n.bmp"), myTiles);
    EXPECT_FALSE(fs::exists(fs::symlink_status(player / "warehouse.dat")));
    EXPECT_EQ(fileText(player / "done.wav"), shipped.at("done.wav"));
    EXPECT_EQ(fileText(player / "extra.dat"), fileText(prefix / Files / "extra.dat"));
}

TEST_F(InstalledCommand, AFolderThatCannotBeMadeEndsTheCommandWithTheReason) {
    folder.writeFile("not-a-folder", "a file");
    Started started = start({"XDG_DATA_HOME=" + (folder.path() / "not-a-folder").string()});
    EXPECT_EQ(exitStatusOf(started, 20s), 1);
    const std::string output = fileText(started.output);
    EXPECT_TRUE(output.starts_with("quarbel98: ")) << output;
    EXPECT_NE(output.find("not-a-folder/quarbel98"), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
}

}  // namespace
}  // namespace quarbel::testing
