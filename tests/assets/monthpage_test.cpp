// The "Level of the Month" page the build puts among the game's files: a level of the
// shipped packs for each month, its picture, and links only to files that are there.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "core/levelpack.h"
#include "tools/levelconvert.h"

namespace {

namespace fs = std::filesystem;

const fs::path GameDir = QUARBEL_GAME_DIR;

std::string pageText() {
    std::ifstream in(GameDir / QUARBEL_MONTH_PAGE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(MonthPage, LinksOnlyToFilesOfTheGameFolder) {
    const std::string page = pageText();
    ASSERT_FALSE(page.empty());
    const std::regex link(R"re((?:src|href)\s*=\s*"([^"]*)")re");
    int links = 0;
    for (std::sregex_iterator match(page.begin(), page.end(), link), end; match != end; ++match) {
        const std::string target = (*match)[1];
        ++links;
        EXPECT_FALSE(target.find(':') != std::string::npos || target.starts_with("/"))
            << target << " leads out of the game folder";
        EXPECT_TRUE(fs::is_regular_file(GameDir / target)) << target;
    }
    EXPECT_GE(links, 12);
}

TEST(MonthPage, ShowsAShippedLevelForEveryMonth) {
    const std::string page = pageText();
    const std::regex section(
        R"re(<section class="month" data-month="(\d+)" data-pack="([^"]+)" data-level="(\d+)">([^]*?)</section>)re");
    std::set<int> months;
    for (std::sregex_iterator match(page.begin(), page.end(), section), end; match != end;
         ++match) {
        const int month = std::stoi((*match)[1]);
        const std::string pack = (*match)[2];
        const int level = std::stoi((*match)[3]);
        const std::string body = (*match)[4];
        SCOPED_TRACE(month);
        months.insert(month);

        const quarbel::LevelCollection collection =
            quarbel::readPackAsText((GameDir / pack).string());
        ASSERT_GE(level, 1);
        ASSERT_LE(level, static_cast<int>(collection.levels.size()));
        EXPECT_NE(body.find("Level <b>" + std::to_string(level) + "</b> of the pack <b>" +
                            collection.title + "</b>"),
                  std::string::npos)
            << body;

        // The picture is the level's, every cell drawn at one size.
        const std::smatch picture = [&] {
            std::smatch found;
            std::regex_search(body, found, std::regex(R"re(<img src="([^"]+)")re"));
            return found;
        }();
        ASSERT_FALSE(picture.empty()) << body;
        const QImage image(QString::fromStdString((GameDir / picture[1].str()).string()));
        const auto& rows = collection.levels[level - 1].rows;
        std::size_t columns = 0;
        for (const std::string& row : rows)
            columns = std::max(columns, row.size());
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width() % columns, 0u);
        EXPECT_EQ(image.width() / static_cast<int>(columns),
                  image.height() / static_cast<int>(rows.size()));
        EXPECT_EQ(image.height() % rows.size(), 0u);
    }
    EXPECT_EQ(months, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    // December has the hardest level: the last of the last pack.
    EXPECT_NE(page.find("data-month=\"12\" data-pack=\"zenith.dat\" data-level=\"30\""),
              std::string::npos);
}

}  // namespace
