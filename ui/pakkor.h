// The main window: the board image between the game panel and the movie panel, the title
// picture, the side strip, the hidden focus holder and every timer. It owns the game state
// and is the game's Frontend.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "core/frontend.h"
#include "core/gamestate.h"
#include "core/tickpace.h"
#include "mouse/pathfinder.h"
#include "ui/layout.h"
#include "ui/platform/platform.h"
#include "ui/render/renderer.h"

class QLineEdit;
class QTimer;

namespace quarbel {

class TCoolButton;
class TLevelpac;

class ImageView;
class Tmoviesafe;

class Tpakkor : public QWidget, public Frontend {
    Q_OBJECT

  public:
    // Creates the window with FormCreate, then the solved dialog and the pack chooser.
    // Throws GameError when a picture cannot be loaded; the game cannot run without them.
    explicit Tpakkor(Platform& platform);
    ~Tpakkor() override;

    GameState& state() { return state_; }
    QWidget* widget(Control control) const { return widgets_[index(control)]; }
    QTimer* timer(Timer t) const { return timers_[index(t)]; }
    QLineEdit* controller() const { return controller_; }
    const WindowLayout& windowLayout() const { return layout_; }
    const Renderer& renderer() const { return renderer_; }
    TLevelpac& levelpac() const { return *levelpac_; }
    Tmoviesafe& moviesafe() const { return *moviesafe_; }

    // Frontend.
    std::string caption(Control control) const override;
    void setCaption(Control control, std::string_view text) override;
    bool isVisible(Control control) const override;
    void setVisible(Control control, bool visible) override;
    void setEnabled(Control control, bool enabled) override;
    bool timerEnabled(Timer t) const override;
    void setTimerEnabled(Timer t, bool enabled) override;
    int timerInterval(Timer t) const override;
    void setTimerInterval(Timer t, int milliseconds) override;
    void setWindowCaption(std::string_view text) override;
    void setBoardCrossCursor() override;
    void focusController() override;
    void placeSideStrip(bool rightMargin) override;
    int boardSide() const override { return layout_.boardSide; }
    std::optional<std::string> choosePackFile() override;
    bool askSaveMovie(std::string_view level, std::string_view steps,
                      std::string_view oldSteps) override;
    void reportError(std::string_view text) override;
    void drawBoard(bool full, bool eyesOpen) override;
    void CheckSolved() override;
    void LoadClick() override;
    SoundPlayer& soundplayer() override { return platform_.sound; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    template <typename Enum>
    static std::size_t index(Enum e) {
        return static_cast<std::size_t>(e);
    }

    void FormCreate();
    void createControls();
    void createTimers();
    void fillScreen(QScreen* target);
    void followScreen(QScreen* screen);
    void layOut(int clientWidth, int clientHeight);
    void connectHandlers();
    void onClick(Control control, void (*handler)(GameState&, Frontend&));
    void HelpClick();
    void pressAt(Sender sender, Qt::MouseButton button, int x, int y);
    void release();

    // Runs a handler to its end or to its first error, which the error report shows after
    // the errors the handler reported itself.
    template <typename Handler>
    void guarded(Handler&& handler);

    Platform& platform_;
    GameState state_;
    Renderer renderer_;
    PathFinder pathFinder_;
    WindowLayout layout_;
    TickPace startanimPace_;
    QElapsedTimer clock_;

    std::array<QWidget*, static_cast<std::size_t>(Control::Count)> widgets_{};
    std::array<TCoolButton*, static_cast<std::size_t>(Control::Count)> captions_{};
    std::array<QTimer*, static_cast<std::size_t>(Timer::Count)> timers_{};
    ImageView* zeichenflaeche_ = nullptr;
    ImageView* titelflaeche_ = nullptr;
    ImageView* titel2_ = nullptr;
    QLineEdit* controller_ = nullptr;

    std::vector<std::string> reportedErrors_;  // by the handler now running
    QMetaObject::Connection focusKeeper_;
    QMetaObject::Connection screenSize_;
    std::unique_ptr<Tmoviesafe> moviesafe_;
    std::unique_ptr<TLevelpac> levelpac_;
};

}  // namespace quarbel
