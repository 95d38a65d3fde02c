#include "ui/platform/sound.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "core/filefinder.h"

namespace quarbel {

WaveSoundPlayer::WaveSoundPlayer() = default;
WaveSoundPlayer::~WaveSoundPlayer() = default;

bool WaveSoundPlayer::setFileName(std::string_view fileName) {
    fileName_ = fileName;
    return true;
}

bool WaveSoundPlayer::open() {
    effect_.reset();
    // Only a regular file is handed to the player, which would wait on a FIFO.
    const QFileInfo file(QString::fromStdString(findName(fileName_)));
    if (!file.isFile() || !file.isReadable()) return false;
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) return false;
    effect_ = std::make_unique<QSoundEffect>(output);
    effect_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    return effect_->status() != QSoundEffect::Error;
}

bool WaveSoundPlayer::isPlaying() {
    return effect_ && effect_->isPlaying();
}

bool WaveSoundPlayer::play() {
    if (!effect_ || effect_->status() == QSoundEffect::Error) return false;
    effect_->play();
    return true;
}

}  // namespace quarbel
