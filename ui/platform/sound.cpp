#include "ui/platform/sound.h"

#include <QFileInfo>

#include "core/filefinder.h"

namespace quarbel {

WaveSoundPlayer::WaveSoundPlayer(const std::string& moduleFolder)
    : module_(QString::fromStdString(moduleFolder + "/" + SoundModuleFile)) {}

// The player goes before its module could.
WaveSoundPlayer::~WaveSoundPlayer() = default;

bool WaveSoundPlayer::setFileName(std::string_view fileName) {
    fileName_ = fileName;
    return true;
}

// Loaded once, at the first sound; a module that is missing or does not load is not tried
// again, and every sound is silent.
WaveEffect* WaveSoundPlayer::effect() {
    if (!moduleTried_) {
        moduleTried_ = true;
        const auto create =
            reinterpret_cast<CreateWaveEffect>(module_.resolve(CreateWaveEffectName));
        if (create) effect_.reset(create());
    }
    return effect_.get();
}

bool WaveSoundPlayer::open() {
    // Only a regular file is handed to the player, which would wait on a FIFO.
    const QFileInfo file(QString::fromStdString(findName(fileName_)));
    WaveEffect* player = effect();
    if (!player) return false;
    player->close();
    if (!file.isFile() || !file.isReadable()) return false;
    return player->open(file.absoluteFilePath().toStdString());
}

bool WaveSoundPlayer::isPlaying() {
    return effect_ && effect_->isPlaying();
}

bool WaveSoundPlayer::play() {
    return effect_ && effect_->play();
}

}  // namespace quarbel
