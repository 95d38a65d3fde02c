// Which files the chooser lists, in what order, with which title and level count, and which
// it leaves out.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "chooser/packlisting.h"
#include "support/packbuilder.h"

namespace quarbel {
namespace {

using testing::ScratchFolder;

// A pack header as raw bytes: reserved byte, level count, title.
std::string header(unsigned char levelCount, const std::string& title) {
    return std::string(1, '\0') + static_cast<char>(levelCount) + title;
}

std::vector<std::string> fileNames(const PackListing& listing) {
    std::vector<std::string> names;
    for (const ListedPack& pack : listing.packs)
        names.push_back(pack.fileName);
    return names;
}

TEST(PackListing, ListsPackFilesByNameIgnoringCaseWithTheirHeaders) {
    ScratchFolder folder;
    folder.writeFile("c.dat", header(200, "abcdefghijklmnopqrstuvwxyz0123456789"));
    folder.writeFile("a.dat", header(1, "Easy\r\n"));
    folder.writeFile("B.DAT", header(50, std::string("Short\0Hidden\r", 13)));
    folder.writeFile("d.Dat", std::string(1, '\0'));  // byte 1 lies past the end
    for (const char* other : {"notes.txt", "x.data", "dat", "e.dat.bak"})
        folder.writeFile(other, header(1, "Other\r"));

    const PackListing listing = listPacks(folder.path(), 200, 30);
    EXPECT_EQ(fileNames(listing), (std::vector<std::string>{"a.dat", "B.DAT", "c.dat", "d.Dat"}));
    ASSERT_EQ(listing.packs.size(), 4u);
    EXPECT_EQ(listing.packs[0].title, "Easy");
    EXPECT_EQ(listing.packs[0].levelCount, 1);
    EXPECT_EQ(listing.packs[1].title, "Short");
    EXPECT_EQ(listing.packs[1].levelCount, 50);
    EXPECT_EQ(listing.packs[2].title, "abcdefghijklmnopqrstuvwxyz0123");
    EXPECT_EQ(listing.packs[2].levelCount, 200) << "the count byte is unsigned";
    EXPECT_EQ(listing.packs[3].title, "");
    EXPECT_EQ(listing.packs[3].levelCount, 26);
    EXPECT_TRUE(listing.unreadable.empty());

    EXPECT_EQ(packsLeftOutReport(listing), "");

    const PackListing firstTwo = listPacks(folder.path(), 2, 30);
    EXPECT_EQ(fileNames(firstTwo), (std::vector<std::string>{"a.dat", "B.DAT"}));
    EXPECT_TRUE(firstTwo.unreadable.empty()) << "the files past the limit are not read";
    EXPECT_EQ(packsLeftOutReport(firstTwo),
              "The list holds 2 packs: 2 more packs of the folder are not listed.");
    EXPECT_EQ(packsLeftOutReport(listPacks(folder.path(), 3, 30)),
              "The list holds 3 packs: 1 more pack of the folder is not listed.");
}

TEST(PackListing, SortsAccentedCapitalsWithTheirSmallLetters) {
    ScratchFolder folder;
    for (const char* name : {"\u00d6l.dat", "\u00e4rger.dat", "\u00c4pfel.dat", "zoo.dat"})
        folder.writeFile(name, header(1, "A\r"));
    EXPECT_EQ(
        fileNames(listPacks(folder.path(), 200, 30)),
        (std::vector<std::string>{"zoo.dat", "\u00c4pfel.dat", "\u00e4rger.dat", "\u00d6l.dat"}));
}

TEST(PackListing, LeavesOutWhatIsNoReadableFileAndNamesWhatFailedToRead) {
    namespace fs = std::filesystem;
    ScratchFolder folder;
    fs::create_directory(folder.path() / "a.dat");
    folder.writeFile("b.dat", header(1, "First\r"));
    ASSERT_EQ(mkfifo((folder.path() / "c.dat").c_str(), 0644), 0);  // opening it would block
    fs::create_symlink(folder.path() / "gone.pack", folder.path() / "d.dat");
    // A regular file that fails on reading, also for root.
    fs::create_symlink("/proc/self/mem", folder.path() / "e.dat");
    folder.writeFile("f.dat", header(7, "Last\r"));

    PackListing listing = listPacks(folder.path(), 200, 30);
    EXPECT_EQ(fileNames(listing), (std::vector<std::string>{"b.dat", "f.dat"}));
    ASSERT_EQ(listing.unreadable.size(), 1u);
    EXPECT_EQ(packsLeftOutReport(listing), "These files could not be read:\n\ne.dat: E/A-Fehler 5");

    listing.packs.clear();
    listing.unreadable.push_back(listing.unreadable[0]);
    EXPECT_EQ(packsLeftOutReport(listing),
              "No level pack could be read:\n\ne.dat: E/A-Fehler 5\ne.dat: E/A-Fehler 5");
}

}  // namespace
}  // namespace quarbel
