#include "assets/monthpage.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>

#include "assets/artwork.h"
#include "tools/levelconvert.h"

namespace artwork {

namespace {

const std::array<const char*, 12> MonthNames = {"January",   "February", "March",    "April",
                                                "May",       "June",     "July",     "August",
                                                "September", "October",  "November", "December"};

std::string escaped(const std::string& text) {
    std::string html;
    for (char c : text) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            default:
                html += c;
        }
    }
    return html;
}

std::string monthSection(const std::string& pageName, const MonthLevel& entry) {
    const std::string number = std::to_string(entry.levelNumber);
    const std::string title = escaped(entry.packTitle);
    return "<section class=\"month\" data-month=\"" + std::to_string(entry.month) +
           "\" data-pack=\"" + escaped(entry.packFile) + "\" data-level=\"" + number + "\">\n" +
           "<h2>" + MonthNames[entry.month - 1] + "</h2>\n" + "<img src=\"" +
           monthPictureName(pageName, entry.month) + "\" alt=\"Level " + number + " of " + title +
           "\">\n" + "<p>Level <b>" + number + "</b> of the pack <b>" + title + "</b> (" +
           escaped(entry.packFile) + "). In the game press GAME, choose <b>" + title +
           "</b>, set the level number to " + number +
           " with the <b>++</b> and <b>+</b> buttons and press START.</p>\n</section>\n";
}

const char* const PageStart = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>QUARBEL 98 - Level of the Month</title>
<style>
body { background: #000; color: #ddd; font-family: sans-serif; max-width: 48em;
       margin: 2em auto; padding: 0 1em; line-height: 1.4; }
h1 { color: #ffd000; letter-spacing: 0.1em; }
h2 { color: #ff3030; }
b, code, pre { color: #00ffff; }
pre { background: #101828; padding: 0.6em; }
img { display: block; margin: 1em 0; image-rendering: pixelated; max-width: 100%; height: auto; }
</style>
</head>
<body>
<h1>QUARBEL 98 - Level of the Month</h1>
<p>One level for each month, chosen from the level packs that come with QUARBEL 98, getting
harder from January to December. The level is in the game already: nothing needs to be
fetched. This page shows this month's level; without scripts it shows all twelve.</p>
)";

const char* const PageEnd = R"(<h2>More levels</h2>
<p>The chooser lists every level pack (a <code>*.dat</code> file) in the game's folder. The
installed game plays in your own folder <code id="folder">~/.local/share/quarbel98/</code>
(<code>$XDG_DATA_HOME/quarbel98/</code> when <code>XDG_DATA_HOME</code> is set), where this
page lies too. Put a pack there and it is listed the next time the game starts.</p>
<p>Level collections that players trade as text (<code>*.txt</code>, <code>*.sok</code>,
<code>*.xsb</code>) become packs with the pack tool <code>quarbel-pack</code>, and the level
editor <code>quarbel-editor</code> draws levels of your own. In text, draw each level with
<code>#</code> wall, space floor, <code>$</code> crate, <code>.</code> target,
<code>*</code> crate on a target, <code>@</code> keeper and <code>+</code> keeper on a
target, at most 15 by 15 squares, with a blank line between levels:</p>
<pre>Collection: My Levels

#######
#@ $ .#
#######
Author: Me</pre>
<p>Then make the pack, prove a level solvable, and put the pack into the game's folder:</p>
<pre>quarbel-pack import mylevels.txt mylevels.dat
quarbel-pack solve mylevels.dat 1
cp mylevels.dat ~/.local/share/quarbel98/</pre>
<p><code>man quarbel-pack</code> tells the rest.</p>
<script>
// Only this month's level; without the script every month shows.
const month = new Date().getMonth() + 1;
for (const section of document.querySelectorAll("section.month")) {
  section.hidden = Number(section.dataset.month) !== month;
}
const folder = decodeURIComponent(location.pathname.replace(/[^/]*$/, ""));
if (location.protocol === "file:") document.getElementById("folder").textContent = folder;
</script>
</body>
</html>
)";

}  // namespace

std::vector<MonthLevel> levelsOfTheMonths(const std::vector<std::string>& packFiles,
                                          const std::vector<quarbel::LevelCollection>& packs) {
    std::size_t total = 0;
    for (const auto& pack : packs)
        total += pack.levels.size();
    std::vector<MonthLevel> months;
    if (total == 0) return months;
    for (int month = 1; month <= 12; ++month) {
        std::size_t index = (month * total - 1) / 12;
        std::size_t pack = 0;
        while (index >= packs[pack].levels.size()) {
            index -= packs[pack].levels.size();
            ++pack;
        }
        months.push_back({month, packFiles[pack], packs[pack].title, static_cast<int>(index) + 1,
                          packs[pack].levels[index]});
    }
    return months;
}

std::string monthPictureName(const std::string& pageName, int month) {
    const std::string stem = pageName.substr(0, pageName.rfind('.'));
    return stem + (month < 10 ? "0" : "") + std::to_string(month) + ".png";
}

std::string monthPageHtml(const std::string& pageName, const std::vector<MonthLevel>& months) {
    std::string html = PageStart;
    for (const MonthLevel& entry : months)
        html += monthSection(pageName, entry);
    return html + PageEnd;
}

QImage packSheet(const quarbel::LevelCollection& pack) {
    constexpr int Cell = 12;  // pixels of a square in the sheet
    constexpr int Box = quarbel::BoardSide * Cell;
    constexpr int Gap = 10;
    constexpr int Columns = 6;
    const int count = static_cast<int>(pack.levels.size());
    const int rows = (count + Columns - 1) / Columns;
    QImage sheet(Columns * (Box + Gap) + Gap, rows * (Box + Gap) + Gap, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    for (int k = 0; k < count; ++k) {
        const auto& level = pack.levels[k].rows;
        int columns = 0;
        for (const std::string& row : level)
            columns = std::max(columns, static_cast<int>(row.size()));
        const QImage room =
            renderRoom(level).scaled(columns * Cell, static_cast<int>(level.size()) * Cell,
                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const int left = Gap + k % Columns * (Box + Gap) + (Box - room.width()) / 2;
        const int top = Gap + k / Columns * (Box + Gap) + (Box - room.height()) / 2;
        painter.drawImage(left, top, room);
    }
    return sheet;
}

bool writeMonthPage(const QString& folder, const std::string& pageName,
                    const std::vector<std::string>& packFiles) {
    const QDir dir(folder);
    std::vector<quarbel::LevelCollection> packs;
    for (const std::string& file : packFiles) {
        try {
            packs.push_back(
                quarbel::readPackAsText(dir.filePath(QString::fromStdString(file)).toStdString()));
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "quarbel-assets: %s: %s\n", file.c_str(), failure.what());
            return false;
        }
    }
    const std::vector<MonthLevel> months = levelsOfTheMonths(packFiles, packs);
    if (months.empty()) {
        std::fprintf(stderr, "quarbel-assets: the packs hold no levels for the page\n");
        return false;
    }
    for (const MonthLevel& entry : months) {
        const QString path =
            dir.filePath(QString::fromStdString(monthPictureName(pageName, entry.month)));
        if (!renderRoom(entry.level.rows).save(path, "PNG")) {
            std::fprintf(stderr, "quarbel-assets: cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    QFile page(dir.filePath(QString::fromStdString(pageName)));
    const std::string html = monthPageHtml(pageName, months);
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        page.write(html.data(), static_cast<qint64>(html.size())) !=
            static_cast<qint64>(html.size())) {
        std::fprintf(stderr, "quarbel-assets: cannot write %s\n", qPrintable(page.fileName()));
        return false;
    }
    return true;
}

}  // namespace artwork
