// Names found as the old platform found them, letter case ignored, and files opened without
// waiting on whatever stands in their place.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>

#include "core/filefinder.h"
#include "core/files.h"
#include "support/packbuilder.h"

namespace quarbel::testing {
namespace {

namespace fs = std::filesystem;

TEST(PackFileName, EndsInDatInAnyLetterCase) {
    for (const char* pack : {"a.dat", "B.DAT", "d.Dat", ".dat"})
        EXPECT_TRUE(isPackFileName(pack)) << pack;
    for (const char* other : {"notes.txt", "x.data", "dat", "e.dat.bak", ""})
        EXPECT_FALSE(isPackFileName(other)) << other;
}

TEST(FindName, TakesTheExactNameFirst) {
    ScratchFolder folder;
    folder.writeFile("b.dat", "lower");
    folder.writeFile("B.DAT", "upper");
    EXPECT_EQ(findName("b.dat"), "b.dat");
    EXPECT_EQ(findName("B.DAT"), "B.DAT");
    EXPECT_EQ(findName("b.Dat"), "B.DAT");  // the first in byte order of the two
}

TEST(FindName, FindsTheOneEntryThatDiffersOnlyInLetterCase) {
    ScratchFolder folder;
    folder.writeFile("CLASSICS.DAT", "");
    EXPECT_EQ(findName("CLASSICS.dat"), "CLASSICS.DAT");
    EXPECT_EQ(findName("classics.dat"), "CLASSICS.DAT");
    EXPECT_EQ(findName("CLASSIC.DAT"), "CLASSIC.DAT");  // nothing matches: as written
}

TEST(FindName, FollowsEveryFolderOfTheName) {
    ScratchFolder folder;
    fs::create_directories("classics/Old");
    folder.writeFile("classics/Old/zorp0001.mov", "");
    EXPECT_EQ(findName("CLASSICS/OLD/ZORP0001.MOV"), "classics/Old/zorp0001.mov");
    EXPECT_EQ(findName("CLASSICS/OLD/ZORP0002.MOV"), "classics/Old/ZORP0002.MOV");
    EXPECT_EQ(findName("OTHER/ZORP0001.MOV"), "OTHER/ZORP0001.MOV");
}

TEST(FindName, AFolderOfTheNameIsAlwaysAFolder) {
    ScratchFolder folder;
    folder.writeFile("PACK", "a file, not the movie folder");
    fs::create_directory("Pack");
    EXPECT_EQ(findName("PACK/ZORP0001.MOV"), "Pack/ZORP0001.MOV");
    EXPECT_EQ(findName("PACK"), "PACK");
}

TEST(FindName, KnowsTheLettersOfWindows1252) {
    ScratchFolder folder;
    folder.writeFile("ÄRGER ŠŒŽŸ.DAT", "");
    folder.writeFile("×", "");
    folder.writeFile("ß", "");
    EXPECT_EQ(findName("ärger šœžÿ.dat"), "ÄRGER ŠŒŽŸ.DAT");
    // The multiplication and division signs are no letters, and ß has no capital.
    EXPECT_EQ(findName("÷"), "÷");
    EXPECT_EQ(findName("SS"), "SS");
    EXPECT_EQ(findName("ẞ"), "ẞ");
}

TEST(FindName, ReadsANameThatIsNoUtf8AsWindows1252) {
    ScratchFolder folder;
    folder.writeFile("\xC4RGER.DAT", "");  // "ÄRGER.DAT" as the old platform wrote it
    EXPECT_EQ(findName("ärger.dat"), "\xC4RGER.DAT");
    EXPECT_EQ(findName("\xE4rger.dat"), "\xC4RGER.DAT");
}

TEST(OpenRegularFile, OpensOnlyRegularFilesAndNeverWaits) {
    ScratchFolder folder;
    folder.writeFile("file", "content");
    fs::create_symlink("file", "link");
    fs::create_directory("folder");
    ASSERT_EQ(::mkfifo("fifo", 0666), 0);
    fs::create_symlink("/dev/null", "device");

    EXPECT_EQ(readFileIfAny("file", 7), "content");
    EXPECT_EQ(readFileIfAny("link", 7), "content");
    EXPECT_FALSE(readFileIfAny("file", 6).has_value());
    const auto failure = [](const char* name, int flags) {
        const int fd = openRegularFile(name, flags);
        if (fd >= 0) ::close(fd);
        return fd < 0 ? errno : 0;
    };
    EXPECT_EQ(failure("missing", O_RDONLY), ENOENT);
    EXPECT_EQ(failure("folder", O_RDONLY), EISDIR);
    EXPECT_EQ(failure("fifo", O_RDONLY), EACCES);
    EXPECT_EQ(failure("fifo", O_WRONLY), EACCES);
    EXPECT_EQ(failure("device", O_RDWR), EACCES);
    EXPECT_FALSE(readFileIfAny("fifo", 7).has_value());
    fs::create_symlink("/dev/zero", "endless");
    EXPECT_FALSE(readFileIfAny("endless", 7).has_value());
}

}  // namespace
}  // namespace quarbel::testing
