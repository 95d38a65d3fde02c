// The "Level of the Month" page: one level of the shipped packs for each month of the year,
// drawn with the game's tiles, and how to bring in more levels. The page shows the current
// month's level when the browser runs its script, and all twelve otherwise.
#pragma once

#include <QImage>
#include <QString>

#include <string>
#include <vector>

#include "tools/leveltext.h"

namespace artwork {

struct MonthLevel {
    int month;             // 1 January to 12 December
    std::string packFile;  // as found in the game's folder
    std::string packTitle;
    int levelNumber;  // 1-based, as the game counts
    quarbel::TextLevel level;
};

// The levels of the packs taken in order as one row, spread evenly over the twelve
// months so that December has the very last level. Packs of fewer than twelve levels in
// all give some levels to more than one month.
std::vector<MonthLevel> levelsOfTheMonths(const std::vector<std::string>& packFiles,
                                          const std::vector<quarbel::LevelCollection>& packs);

// The picture of a month's level beside the page: "month.html" has "month07.png".
std::string monthPictureName(const std::string& pageName, int month);

std::string monthPageHtml(const std::string& pageName, const std::vector<MonthLevel>& months);

// Every level of a pack side by side, six to a row, each drawn with the game's tiles and
// scaled so that a full board of 15 x 15 fills its box: the sizes of the rooms compare.
QImage packSheet(const quarbel::LevelCollection& pack);

// Reads the packs from the folder and writes the page and its twelve pictures there; a
// message on standard error and false when something cannot be read or written.
bool writeMonthPage(const QString& folder, const std::string& pageName,
                    const std::vector<std::string>& packFiles);

}  // namespace artwork
