// Movie file names, reading with a bound, sizes, and the all-or-nothing write.
#include <csignal>
#include <filesystem>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "core/gameerror.h"
#include "movies/moviefile.h"
#include "support/packbuilder.h"

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

TEST(ReadMovieFile, AFolderOpensButCannotBeRead) {
    ScratchFolder folder;
    fs::create_directory("m.MOV");
    EXPECT_THROW(readMovieFile("m.MOV", 5000), IoError);
}

TEST(MovieFileSize, IsTheByteCountOrZero) {
    ScratchFolder folder;
    EXPECT_EQ(movieFileSize("m.MOV"), 0);
    folder.writeFile("m.MOV", std::string(57, '1'));
    EXPECT_EQ(movieFileSize("m.MOV"), 57);
    fs::create_directory("d.MOV");
    EXPECT_EQ(movieFileSize("d.MOV"), 0);
}

TEST(WriteMovieFile, WritesOneDigitPerCode) {
    ScratchFolder folder;
    const Codes codes{1, 2, 3, 4, 5, 6, 7, 8, 8, 1};
    writeMovieFile("m.MOV", codes);
    EXPECT_EQ(folder.readFile("m.MOV"), "1234567881");
    // Nothing but the movie is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(WriteMovieFile, ReplacesTheStoredMovieWhole) {
    ScratchFolder folder;
    folder.writeFile("m.MOV", "3333333333");
    writeMovieFile("m.MOV", Codes{7, 7});
    EXPECT_EQ(folder.readFile("m.MOV"), "77");
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
    EXPECT_FALSE(fs::exists("m.MOV.new"));
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
    EXPECT_FALSE(fs::exists("m.MOV.new"));
}

}  // namespace
}  // namespace quarbel::testing
