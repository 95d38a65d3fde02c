// Reading with a bound, replacing whole, several files all or none, and what a killed save
// leaves behind.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/files.h"
#include "support/packbuilder.h"
#include "support/unprivileged.h"

namespace quarbel::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string readError(const std::string& fileName, std::size_t limit) {
    try {
        readFile(fileName, limit);
    } catch (const FileError& error) {
        return error.what();
    }
    return "read";
}

TEST(ReadFile, ReadsARegularFileThroughItsLinkUpToTheBound) {
    ScratchFolder folder;
    folder.writeFile("f.txt", "12345");
    fs::create_symlink("f.txt", "link.txt");
    EXPECT_EQ(readFile("f.txt", 5), "12345");
    EXPECT_EQ(readFile("link.txt", 5), "12345");
    EXPECT_EQ(readError("f.txt", 4),
              "cannot read f.txt: it is larger than 4 bytes, too large for this kind of file");
}

TEST(ReadFile, SaysWhatStandsThereInsteadOfAFileAndNeverWaits) {
    ScratchFolder folder;
    fs::create_directory("folder.txt");
    ASSERT_EQ(::mkfifo("fifo.txt", 0666), 0);
    EXPECT_EQ(readError("folder.txt", 100), "cannot read folder.txt: it is a folder, not a file");
    EXPECT_EQ(readError("fifo.txt", 100), "cannot read fifo.txt: it is a FIFO, not a file");
    EXPECT_EQ(readError("/dev/zero", 100), "cannot read /dev/zero: it is a device, not a file");
    EXPECT_EQ(readError("none.txt", 100), "cannot read none.txt: no such file or folder");
}

TEST(ReplaceFile, ARefusedReplacementSaysWhyAndLeavesTheFolderAsItWas) {
    ScratchFolder folder;
    folder.writeFile("locked.dat", "old");
    fs::permissions(".", fs::perms::all);
    fs::permissions("locked.dat", fs::perms::owner_read | fs::perms::others_read);
    fs::create_directory("folder.dat");
    {
        Unprivileged user;
        if (!user.permissionsBind()) GTEST_SKIP() << "cannot leave the root user";
        try {
            replaceFile("locked.dat", "new");
            ADD_FAILURE() << "a read-only file was replaced";
        } catch (const FileError& error) {
            EXPECT_STREQ(error.what(), "cannot write locked.dat: it is read-only");
            EXPECT_EQ(error.errorNumber(), EACCES);
        }
    }
    EXPECT_THROW(replaceFile("folder.dat", "new"), FileError);
    EXPECT_EQ(folder.readFile("locked.dat"), "old");
    EXPECT_EQ(folder.entries(), (Names{"folder.dat", "locked.dat"}));
}

TEST(ReplaceAllOrNone, WritesEveryFileOrLeavesEachAsItWas) {
    ScratchFolder folder;
    folder.writeFile("a.dat", "old a");
    fs::permissions("a.dat", fs::perms::owner_read | fs::perms::owner_write);
    replaceAllOrNone({{"a.dat", "new a"}, {"b.dat", "new b"}});
    EXPECT_EQ(folder.readFile("a.dat"), "new a");
    EXPECT_EQ(folder.readFile("b.dat"), "new b");
    EXPECT_EQ(fs::status("a.dat").permissions(), fs::perms::owner_read | fs::perms::owner_write);

    fs::create_directory("c.dat");
    try {
        replaceAllOrNone({{"a.dat", "newer a"}, {"d.dat", "d"}, {"c.dat", "c"}});
        ADD_FAILURE() << "a folder was replaced";
    } catch (const FileError& error) {
        EXPECT_EQ(error.fileName(), "c.dat");
    }
    EXPECT_EQ(folder.readFile("a.dat"), "new a");
    EXPECT_EQ(folder.entries(), (Names{"a.dat", "b.dat", "c.dat"}));
}

TEST(ReplaceEach, AFileThatFailsLeavesTheOthersGoing) {
    ScratchFolder folder;
    fs::create_directory("b.MOV");
    const std::vector<FileError> failures =
        replaceEach({{"a.MOV", "12"}, {"b.MOV", "34"}, {"c.MOV", "56"}});
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].fileName(), "b.MOV");
    EXPECT_EQ(folder.readFile("a.MOV"), "12");
    EXPECT_EQ(folder.readFile("c.MOV"), "56");
    EXPECT_EQ(folder.entries(), (Names{"a.MOV", "b.MOV", "c.MOV"}));
}

TEST(FileStamps, TellTheSameFileAndAChangedOne) {
    ScratchFolder folder;
    folder.writeFile("a.dat", "one");
    fs::create_symlink("a.dat", "link.dat");
    folder.writeFile("b.dat", "one");
    EXPECT_TRUE(isSameFile("a.dat", "link.dat"));
    EXPECT_FALSE(isSameFile("a.dat", "b.dat"));
    EXPECT_FALSE(isSameFile("a.dat", "none.dat"));

    const auto opened = stampOf("a.dat");
    ASSERT_TRUE(opened);
    EXPECT_EQ(stampOf("link.dat"), opened);
    replaceFile("a.dat", "two");  // the same size, another file
    EXPECT_NE(stampOf("a.dat"), opened);
    EXPECT_FALSE(stampOf("none.dat"));
}

pid_t finishedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(RemoveStaleParts, RemovesOnlyThePartsOfThisFileThatNoRunningSaveOwns) {
    ScratchFolder folder;
    const std::string dead = std::to_string(finishedProcess());
    const std::string alive = std::to_string(::getpid());
    const Names kept{".f.dat." + alive + ".1.part", ".g.dat." + dead + ".1.part", "f.dat",
                     "f.dat.new", "mine.part"};
    for (const std::string& name : kept)
        folder.writeFile(name, "x");
    folder.writeFile(".f.dat." + dead + ".1a.part", std::string(1000, 'x'));
    folder.writeFile(".f.dat." + dead + ".kept-7.part", "x");
    folder.writeFile("others", "x");
    fs::create_symlink("others", ".f.dat." + dead + ".2.part");  // not a part file
    removeStaleParts("f.dat");
    Names expected = kept;
    expected.push_back(".f.dat." + dead + ".2.part");
    expected.push_back("others");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.entries(), expected);
}

}  // namespace
}  // namespace quarbel::testing
