// The sound module's wave player: a Qt sound effect on the desktop's default audio output.
#include "ui/platform/wavemodule.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <memory>

namespace quarbel {
namespace {

class SoundEffectPlayer : public WaveEffect {
  public:
    bool open(const std::string& absolutePath) override {
        effect_.reset();
        const QAudioDevice output = QMediaDevices::defaultAudioOutput();
        if (output.isNull()) return false;
        effect_ = std::make_unique<QSoundEffect>(output);
        effect_->setSource(QUrl::fromLocalFile(QString::fromStdString(absolutePath)));
        return effect_->status() != QSoundEffect::Error;
    }

    void close() override { effect_.reset(); }

    bool isPlaying() const override { return effect_ && effect_->isPlaying(); }

    bool play() override {
        if (!effect_ || effect_->status() == QSoundEffect::Error) return false;
        effect_->play();
        return true;
    }

  private:
    std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace
}  // namespace quarbel

extern "C" Q_DECL_EXPORT quarbel::WaveEffect* quarbelCreateWaveEffect() {
    return new quarbel::SoundEffectPlayer();
}
