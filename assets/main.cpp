// quarbel-assets OUTPUT_FOLDER: draws every picture and synthesises both sounds of the game
// into the given folder.
// quarbel-assets --icons THEME_FOLDER NAME SIZE...: the window icon at each size, as
// THEME_FOLDER/SIZExSIZE/apps/NAME.png for the desktop's icon theme.
// quarbel-assets --month-page GAME_FOLDER PAGE PACK...: the "Level of the Month" page
// PAGE with its pictures, from the packs of the game folder.
// quarbel-assets --pack-sheet PACK OUT.png: every level of a pack side by side.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "assets/artwork.h"
#include "assets/monthpage.h"
#include "assets/sounds.h"
#include "tools/levelconvert.h"
#include "ui/render/picturefiles.h"

namespace {

bool savePicture(const QDir& folder, const char* name, const QImage& picture, const char* format) {
    const QString path = folder.filePath(name);
    if (picture.save(path, format)) return true;
    std::fprintf(stderr, "quarbel-assets: cannot write %s\n", qPrintable(path));
    return false;
}

bool saveSound(const QDir& folder, const char* name, const sounds::Samples& samples) {
    const QString path = folder.filePath(name);
    const std::vector<std::uint8_t> bytes = sounds::waveFile(samples);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size())) {
        return true;
    }
    std::fprintf(stderr, "quarbel-assets: cannot write %s\n", qPrintable(path));
    return false;
}

bool saveIcons(const QString& themeFolder, const QString& name, char** sizes, int count) {
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        const int size = std::atoi(sizes[i]);
        const QDir folder(QStringLiteral("%1/%2x%2/apps").arg(themeFolder).arg(size));
        if (size <= 0 || !QDir().mkpath(folder.path())) {
            std::fprintf(stderr, "quarbel-assets: cannot make the %s icon\n", sizes[i]);
            return false;
        }
        ok = savePicture(folder, qPrintable(name + ".png"), artwork::windowIconAt(size), "PNG") &&
             ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--icons" && argc >= 5) {
        return saveIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), argv + 4,
                         argc - 4)
                   ? 0
                   : 1;
    }
    if (mode == "--month-page" && argc >= 5) {
        return artwork::writeMonthPage(QString::fromLocal8Bit(argv[2]), argv[3],
                                       std::vector<std::string>(argv + 4, argv + argc))
                   ? 0
                   : 1;
    }
    if (mode == "--pack-sheet" && argc == 4) {
        try {
            const QImage sheet = artwork::packSheet(quarbel::readPackAsText(argv[2]));
            if (sheet.save(QString::fromLocal8Bit(argv[3]), "PNG")) return 0;
            std::fprintf(stderr, "quarbel-assets: cannot write %s\n", argv[3]);
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "quarbel-assets: %s: %s\n", argv[2], failure.what());
        }
        return 1;
    }
    if (argc != 2 || mode.starts_with("--")) {
        std::fprintf(stderr,
                     "usage: quarbel-assets OUTPUT_FOLDER\n"
                     "       quarbel-assets --icons THEME_FOLDER NAME SIZE...\n"
                     "       quarbel-assets --month-page GAME_FOLDER PAGE PACK...\n"
                     "       quarbel-assets --pack-sheet PACK OUT.png\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "quarbel-assets: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = savePicture(folder, quarbel::TileSheetFile, artwork::makeTileSheet(), "BMP");
    ok = savePicture(folder, quarbel::BackgroundFile, artwork::makeBackground(), "BMP") && ok;
    ok = savePicture(folder, quarbel::TitlePictureFile, artwork::makeTitlePicture(), "BMP") && ok;
    ok = savePicture(folder, quarbel::SideStripFile, artwork::makeSideStrip(), "BMP") && ok;
    for (const auto& button : artwork::makeButtonPictures()) {
        ok = savePicture(folder, button.fileName, button.picture, "BMP") && ok;
    }
    ok = savePicture(folder, quarbel::WindowIconFile, artwork::makeWindowIcon(), "PNG") && ok;
    ok = saveSound(folder, "undo.wav", sounds::undoClick()) && ok;
    ok = saveSound(folder, "done.wav", sounds::doneJingle()) && ok;
    return ok ? 0 : 1;
}
