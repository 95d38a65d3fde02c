// quarbel-assets OUTPUT_FOLDER: draws every picture and synthesises both sounds of the game
// into the given folder.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>

#include "artwork.h"
#include "sounds.h"

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarbel-assets OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "quarbel-assets: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = savePicture(folder, "playal8n.bmp", artwork::makeTileSheet(), "BMP");
    ok = savePicture(folder, "backgr8.bmp", artwork::makeBackground(), "BMP") && ok;
    ok = savePicture(folder, "titel.bmp", artwork::makeTitlePicture(), "BMP") && ok;
    ok = savePicture(folder, "titel2.bmp", artwork::makeSideStrip(), "BMP") && ok;
    for (const auto& button : artwork::makeButtonPictures()) {
        ok = savePicture(folder, button.fileName, button.picture, "BMP") && ok;
    }
    ok = savePicture(folder, "quarbel.png", artwork::makeWindowIcon(), "PNG") && ok;
    ok = saveSound(folder, "undo.wav", sounds::undoClick()) && ok;
    ok = saveSound(folder, "done.wav", sounds::doneJingle()) && ok;
    return ok ? 0 : 1;
}
