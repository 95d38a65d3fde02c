// Movie file names, reading with a bound, sizes, and the all-or-nothing write.
#include <csignal>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstring>

#include "core/gameerror.h"
#include "movies/moviefile.h"
#include "support/packbuilder.h"
#include "support/unprivileged.h"

namespace quarbel::testing {
namespace {

namespace fs = std::filesystem;

using Codes = std::vector<std::uint16_t>;

TEST(MovieFileName, PadsTheLevelNumberToFourDigits) {
    EXPECT_EQ(movieFileName("PACK1", "1"), "PACK1/ZORP0001.MOV");
    EXPECT_EQ(movieFileName("PACK1", "10"), "PACK1/ZORP0010.MOV");
    EXPECT_EQ(movieFileName("PACK1", "100"), "PACK1/ZORP0100.MOV");
    EXPECT_EQ(movieFileName("PACK1", "1234"), "PACK1/ZORP1234.MOV");
    EXPECT_EQ(movieFileName("PACK1", "12345"), "PACK1/ZORP12345.MOV");
}

TEST(MovieFileName, KeepsThePackNameAsWritten) {
    EXPECT_EQ(movieFileName("Boxes of May", "7"), "Boxes of May/ZORP0007.MOV");
}

TEST(StoredMovieName, FindsTheFolderAndTheMovieInAnyLetterCase) {
    ScratchFolder folder;
    fs::create_directory("classics");
    folder.writeFile("classics/zorp0001.mov", "3");
    EXPECT_EQ(storedMovieName("CLASSICS", "1"), "classics/zorp0001.mov");
    // What is not there yet is to be stored under the usual name, in the folder there is.
    EXPECT_EQ(storedMovieName("CLASSICS", "2"), "classics/ZORP0002.MOV");
    EXPECT_EQ(storedMovieName("Other", "1"), "Other/ZORP0001.MOV");
}

TEST(StoredMovieName, NoneWhereThePackNameCannotNameAFolderInside) {
    ScratchFolder folder;
    for (const char* name : {"", ".", "..", "a/b", "/"})
        EXPECT_FALSE(storedMovieName(name, "1").has_value()) << '"' << name << '"';
    EXPECT_EQ(storedMovieName("...", "1"), ".../ZORP0001.MOV");
}

TEST(ReadMovieFile, TurnsEachByteIntoACode) {
    ScratchFolder folder;
    folder.writeFile("m.MOV", "12345678");
    EXPECT_EQ(readMovieFile("m.MOV", 5000), (Codes{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ReadMovieFile, KeepsBytesOutsideTheCodesAsTheyCome) {
    ScratchFolder folder;
    folder.writeFile("m.MOV", std::string("09A\0", 4));
    EXPECT_EQ(readMovieFile("m.MOV", 5000), (Codes{0, 9, 17, 65488}));
}

TEST(ReadMovieFile, AnEmptyFileIsAnEmptyMovie) {
    ScratchFolder folder;
    folder.writeFile("m.MOV", "");
    const auto codes = readMovieFile("m.MOV", 5000);
    ASSERT_TRUE(codes.has_value());
    EXPECT_TRUE(codes->empty());
}

TEST(ReadMovieFile, AMissingFileIsNoMovie) {
    ScratchFolder folder;
    EXPECT_FALSE(readMovieFile("m.MOV", 5000).has_value());
}

TEST(ReadMovieFile, StopsAtTheBound) {
    ScratchFolder folder;
    std::string bytes(9000, '1');
    bytes[4999] = '2';
    bytes[5000] = '3';
    folder.writeFile("m.MOV", bytes);
    const auto codes = readMovieFile("m.MOV", 5000);
    ASSERT_TRUE(codes.has_value());
    ASSERT_EQ(codes->size(), 5000u);
    EXPECT_EQ(codes->back(), 2);
    EXPECT_EQ(readMovieFile("m.MOV", 9001)->size(), 9000u);
}

TEST(ReadMovieFile, AReadErrorAfterTheOpenIsReported) {
    ScratchFolder folder;
    fs::create_symlink("/proc/self/mem", "m.MOV");  // opens, but its first byte cannot be read
    EXPECT_THROW(readMovieFile("m.MOV", 5000), IoError);
}

// A folder, a FIFO, a device and a socket where the movie belongs, and a link to one of them.
void makeEntriesThatAreNoFiles() {
    fs::create_directory("folder.MOV");
    ASSERT_EQ(::mkfifo("fifo.MOV", 0666), 0);
    fs::create_symlink("/dev/null", "device.MOV");
    fs::create_symlink("fifo.MOV", "link.MOV");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "socket.MOV");
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(listener);
}

constexpr const char* NoFiles[] = {"folder.MOV", "fifo.MOV", "device.MOV", "link.MOV",
                                   "socket.MOV"};

TEST(ReadMovieFile, WhatIsNoRegularFileIsNoMovieAndNeverWaits) {
    ScratchFolder folder;
    makeEntriesThatAreNoFiles();
    for (const char* name : NoFiles)
        EXPECT_FALSE(readMovieFile(name, 5000).has_value()) << name;
}

TEST(MovieFileSize, IsTheByteCountOrZero) {
    ScratchFolder folder;
    EXPECT_EQ(movieFileSize("m.MOV"), 0);
    folder.writeFile("m.MOV", std::string(57, '1'));
    EXPECT_EQ(movieFileSize("m.MOV"), 57);
    makeEntriesThatAreNoFiles();
    for (const char* name : NoFiles)
        EXPECT_EQ(movieFileSize(name), 0) << name;
}

TEST(WriteMovieFile, WritesOneDigitPerCode) {
    ScratchFolder folder;
    const Codes codes{1, 2, 3, 4, 5, 6, 7, 8, 8, 1};
    writeMovieFile("m.MOV", codes);
    EXPECT_EQ(folder.readFile("m.MOV"), "1234567881");
    // Nothing but the movie is left in the folder.
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"m.MOV"});
}

using Names = std::vector<std::string>;

// Lets the unprivileged user write where the test runs, so that only the save's own rules
// stand in its way.
void openToAll(std::initializer_list<const char*> names) {
    for (const char* name : names)
        fs::permissions(name, fs::perms::all);
}

fs::perms permissionsOf(const char* name) {
    return fs::status(name).permissions();
}

TEST(WriteMovieFile, ReplacesTheStoredMovieWholeAndKeepsItsPermissions) {
    ScratchFolder folder;
    folder.writeFile("m.MOV", "3333333333");
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions("m.MOV", mode);
    writeMovieFile("m.MOV", Codes{7, 7});
    EXPECT_EQ(folder.readFile("m.MOV"), "77");
    EXPECT_EQ(permissionsOf("m.MOV"), mode);
}

TEST(WriteMovieFile, ANewMovieGetsThePermissionsOfAPlainNewFile) {
    ScratchFolder folder;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    writeMovieFile("m.MOV", Codes{1});
    EXPECT_EQ(permissionsOf("m.MOV"), static_cast<fs::perms>(0666 & ~mask));
}

TEST(WriteMovieFile, AReadOnlyMovieIsNotReplaced) {
    ScratchFolder folder;
    folder.writeFile("m.MOV", "3377");
    openToAll({"."});
    fs::permissions("m.MOV",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    {
        Unprivileged user;
        if (!user.permissionsBind()) GTEST_SKIP() << "cannot leave the root user";
        try {
            writeMovieFile("m.MOV", Codes{1, 2});
            ADD_FAILURE() << "the write did not fail";
        } catch (const IoError& error) {
            EXPECT_STREQ(error.what(), "Dateizugriff verweigert");
        }
    }
    EXPECT_EQ(folder.readFile("m.MOV"), "3377");
    EXPECT_EQ(folder.entries(), Names{"m.MOV"});
}

TEST(WriteMovieFile, AMovieThatIsALinkIsWrittenThroughToItsFile) {
    ScratchFolder folder;
    fs::create_directory("kept");
    folder.writeFile("kept/level.mov", "3377");
    openToAll({".", "kept", "kept/level.mov"});
    fs::create_symlink("level.mov", "kept/link.mov");
    fs::create_symlink("kept/link.mov", "m.MOV");  // a link to a link
    fs::create_symlink("kept/new.mov", "n.MOV");   // a link to a file not yet there
    {
        Unprivileged user;
        writeMovieFile("m.MOV", Codes{7, 7});
        writeMovieFile("n.MOV", Codes{1});
    }
    EXPECT_EQ(folder.readFile("kept/level.mov"), "77");
    EXPECT_EQ(folder.readFile("kept/new.mov"), "1");
    EXPECT_TRUE(fs::is_symlink("m.MOV"));
    EXPECT_TRUE(fs::is_symlink("n.MOV"));
    EXPECT_EQ(folder.entries("kept"), (Names{"level.mov", "link.mov", "new.mov"}));
}

TEST(WriteMovieFile, WhatStandsAtThePartNameIsNeverFollowedOrWaitedOn) {
    ScratchFolder folder;
    folder.writeFile("victim", "precious");
    openToAll({".", "victim"});
    fs::create_symlink("victim", "m.MOV.new");
    {
        Unprivileged user;
        writeMovieFile("m.MOV", Codes{3, 4});
    }
    EXPECT_EQ(folder.readFile("m.MOV"), "34");
    EXPECT_EQ(folder.readFile("victim"), "precious");

    fs::remove("m.MOV.new");
    ASSERT_EQ(::mkfifo("m.MOV.new", 0666), 0);
    {
        Unprivileged user;
        writeMovieFile("m.MOV", Codes{5});
    }
    EXPECT_EQ(folder.readFile("m.MOV"), "5");
    EXPECT_EQ(folder.entries(), (Names{"m.MOV", "m.MOV.new", "victim"}));
}

// Lets no file of this process grow beyond a few bytes, as a full disk would.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }

  private:
    rlimit previous_{};
    void (*previousSignal_)(int);
};

TEST(WriteMovieFile, AWriteThatFailsHalfwayKeepsTheStoredMovie) {
    ScratchFolder folder;
    folder.writeFile("m.MOV", "3377");
    {
        FileSizeLimit limit(6);
        EXPECT_THROW(writeMovieFile("m.MOV", Codes(14, 1)), IoError);
    }
    EXPECT_EQ(folder.readFile("m.MOV"), "3377");
    EXPECT_EQ(folder.entries(), Names{"m.MOV"});
}

TEST(WriteMovieFile, AMissingFolderFails) {
    ScratchFolder folder;
    try {
        writeMovieFile("PACK1/m.MOV", Codes{1});
        ADD_FAILURE() << "the write did not fail";
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "Datei nicht gefunden");
    }
}

TEST(WriteMovieFile, AFailedReplacementLeavesNoPartBehind) {
    ScratchFolder folder;
    fs::create_directories("m.MOV/inside");
    EXPECT_THROW(writeMovieFile("m.MOV", Codes{1, 2}), IoError);
    EXPECT_TRUE(fs::is_directory("m.MOV/inside"));
    EXPECT_EQ(folder.entries(), Names{"m.MOV"});
}

}  // namespace
}  // namespace quarbel::testing
