#include "ui/pakkor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "chooser/dateien.h"
#include "core/engine.h"
#include "core/gameerror.h"
#include "core/play.h"
#include "mouse/mouseinput.h"
#include "movies/moviesafe.h"
#include "movies/player.h"
#include "movies/solved.h"
#include "ui/coolbtn/coolbtn.h"
#include "ui/design.h"
#include "ui/keymap.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/help.h"
#include "ui/platform/placement.h"
#include "ui/platform/titlebar.h"
#include "ui/platform/typefaces.h"
#include "ui/render/blink.h"
#include "ui/render/buttonlooks.h"
#include "ui/render/images.h"
#include "ui/render/picturefiles.h"

namespace quarbel {

namespace {

// The face of the button pictures, so that a picture and its button read as one.

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor colourOf(Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

// The colour of a look's bottom-left pixel is its background, as on the old platform's picture
// buttons: left out, so that the button's own face shows round the symbol.
QPixmap withoutBackground(const QImage& look) {
    QImage keyed = look.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = keyed.pixel(0, keyed.height() - 1);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (line[x] == background) line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(keyed);
}

// The button's picture holds its normal look on the left and its greyed look on the right.
// A missing picture leaves the button blank; it still works.
QIcon pictureButtonIcon(std::string_view fileName) {
    const QImage picture = readImageFile(fileName);
    QIcon icon;
    if (picture.isNull()) return icon;
    const int half = picture.width() / 2;
    icon.addPixmap(withoutBackground(picture.copy(0, 0, half, picture.height())), QIcon::Normal);
    icon.addPixmap(withoutBackground(picture.copy(half, 0, half, picture.height())),
                   QIcon::Disabled);
    return icon;
}

MouseButton mouseButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::RightButton:
            return MouseButton::Right;
        default:
            return MouseButton::Middle;
    }
}

}  // namespace

template <typename Handler>
void Tpakkor::guarded(Handler&& handler) {
    std::optional<std::string> failure;
    try {
        handler();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    // The list is taken first: showing an error runs a dialog, and a handler run from within
    // it reports into a list of its own.
    std::vector<std::string> reported = std::move(reportedErrors_);
    reportedErrors_.clear();
    if (failure) reported.push_back(*failure);
    for (const std::string& text : reported)
        platform_.errors.showError(text);
}

Tpakkor::Tpakkor(Platform& platform) : platform_(platform) {
    createControls();
    createTimers();
    FormCreate();
    connectHandlers();
    winId();  // the native window, to follow its screen from the start
    setTitleBar(*this, TitleBar::MainWindow);
    connect(windowHandle(), &QWindow::screenChanged, this, &Tpakkor::followScreen);
    followScreen(screen());
    moviesafe_ = std::make_unique<Tmoviesafe>(this);
    levelpac_ = std::make_unique<TLevelpac>(platform_.shell, this);
}

// FormDestroy: the pictures go with the window, and the application stops reporting focus
// changes and keys to it.
Tpakkor::~Tpakkor() {
    disconnect(focusKeeper_);
    qApp->removeEventFilter(this);
    renderer_.releaseAssets();
}

void Tpakkor::createControls() {
    setWindowTitle(ApplicationTitle);
    // Every window of the game shows its icon: this one, the help, the dialogs, the messages.
    QApplication::setWindowIcon(iconOfAllSizes(readImageFile(WindowIconFile)));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    // Stacked from the bottom: the side strip, the board, the title picture.
    titel2_ = new ImageView(this);
    zeichenflaeche_ = new ImageView(this);
    titelflaeche_ = new ImageView(this);
    widgets_[index(Control::titel2)] = titel2_;
    widgets_[index(Control::zeichenflaeche)] = zeichenflaeche_;
    widgets_[index(Control::titelflaeche)] = titelflaeche_;
    titel2_->hide();

    for (const ControlDesign& design : panelDesign()) {
        QWidget* control = nullptr;
        if (design.kind == ControlKind::Picture) {
            auto* button = new QPushButton(this);
            button->setFocusPolicy(Qt::NoFocus);
            // A press of any button on it belongs to it: a right press must not reach the
            // window and start stepping back.
            button->setAttribute(Qt::WA_NoMousePropagation);
            QPalette face = button->palette();
            face.setColor(QPalette::Button, PictureButtonFace);
            button->setPalette(face);
            button->setIcon(pictureButtonIcon(design.caption));
            const bool tenSteps =
                design.control == Control::m10back || design.control == Control::m10forward;
            button->setIconSize(
                QSize(tenSteps ? WideLookWidth : NarrowLookWidth, ButtonLookHeight));
            control = button;
        } else {
            auto* caption = new TCoolButton(this);
            QFont font(PanelTypeface);
            font.setBold(true);
            font.setPixelSize(design.pixelHeight);
            caption->setFont(font);
            caption->setFarbevor(colourOf(design.colours->front));
            caption->setFarbehin(colourOf(design.colours->back));
            caption->setFarbepressed(colourOf(design.colours->pressed));
            caption->setFarbeSchatten(colourOf(design.colours->shadow));
            caption->setCaption(fromUtf8(design.caption));
            caption->setEnabled(design.kind == ControlKind::Button);
            captions_[index(design.control)] = caption;
            control = caption;
        }
        control->resize(design.width, design.height);
        control->hide();
        widgets_[index(design.control)] = control;
    }
    widget(Control::playtitel)->setToolTip("Click to choose new levelpack.");

    // Holds the keyboard focus out of sight, above the client area.
    controller_ = new QLineEdit("controller", this);
    controller_->setGeometry(0, -53, 128, 31);
    widgets_[index(Control::controller)] = controller_;
}

void Tpakkor::createTimers() {
    for (std::size_t t = 0; t < timers_.size(); ++t) {
        timers_[t] = new QTimer(this);
        timers_[t]->setInterval(designInterval(static_cast<Timer>(t)));
        timers_[t]->setTimerType(Qt::PreciseTimer);
    }
    // startanim ticks at the pace of startanimPace_, armed anew for each tick.
    timer(Timer::startanim)->setSingleShot(true);
    clock_.start();
}

void Tpakkor::FormCreate() {
    state_.titleShowing = true;
    for (Control button : PlayerButtons)
        setEnabled(button, false);
    renderer_.loadAssets();
    state_.facing = 3;

    // The focus keeper: any change of focus outside the movie mode gives the focus back to
    // the controller 200 ms later.
    focusKeeper_ = connect(qApp, &QApplication::focusChanged, this, [this] {
        if (!state_.movieMode) setTimerEnabled(Timer::focusset, true);
    });
    state_.movieMode = false;
    state_.historyTop = 0;
    qApp->installEventFilter(this);  // key preview

    fillScreen(QGuiApplication::primaryScreen());
    layOut(width(), height());
    titel2_->showPicture(&renderer_.sidePicture());

    state_.titleBandOffset = BandWidth;
    state_.levelActive = true;
    state_.autoPlay = false;
    titelflaeche_->showPicture(&renderer_.titleScreen().picture());
    setTimerEnabled(Timer::focusset, true);
    setTimerEnabled(Timer::startanim, true);
}

// The window is set to the whole screen and then maximised: a desktop gives a maximised window
// the area its panels leave free, and the layout is made for the client area that results.
void Tpakkor::fillScreen(QScreen* target) {
    // Only a window that is not maximised takes a size of its own.
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    // Frame and all as large as the screen. Before the desktop has framed the window its frame
    // is unknown, and a client area the size of a screen is taken by GNOME as a wish to cover
    // it whole, title bar and panels too: the window then only goes to the screen's corner.
    const QMargins frame = frameMarginsOf(*this);
    if (!windowManagerRunning()) {
        // Nobody will maximise it: the screen size is all the window gets, and it has no frame.
        setGeometry(target->geometry());
    } else if (frame.isNull()) {
        move(target->geometry().topLeft());
    } else {
        setGeometry(target->geometry().marginsRemoved(frame));
    }
    setWindowState(windowState() | Qt::WindowMaximized);
}

// On another screen, or when the screen changes size, the window fills that screen; the new
// client size lays it out once. Moves within a screen leave it where the desktop put it.
void Tpakkor::followScreen(QScreen* newScreen) {
    disconnect(screenSize_);
    if (!newScreen) return;
    screenSize_ = connect(newScreen, &QScreen::availableGeometryChanged, this,
                          [this, newScreen] { fillScreen(newScreen); });
    // A desktop that moves a maximised window to another screen fits it to that screen itself.
    const bool fitted = (windowState() & Qt::WindowMaximized) &&
                        newScreen->availableGeometry().contains(frameGeometry());
    if (QWidget::isVisible() && !fitted) fillScreen(newScreen);
}

void Tpakkor::changeEvent(QEvent* event) {
    // Restored from maximised by a title-bar button or a double click: maximised again, once
    // the desktop has finished with the window's state, so that it keeps to the free area.
    if (event->type() == QEvent::WindowStateChange &&
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        QTimer::singleShot(0, this, [this] {
            if (windowState() == Qt::WindowNoState) fillScreen(screen());
        });
    }
    QWidget::changeEvent(event);
}

// Worked out again whenever the client area changes size, for the window manager decides
// the frame only once the window is shown.
void Tpakkor::layOut(int clientWidth, int clientHeight) {
    // The screen as far as a window may cover it: a panel's strip is not the game's.
    const PixelBuffer& side = renderer_.sidePicture();
    const PixelBuffer& title = renderer_.titleScreen().picture();
    layout_ = layoutWindow(screen()->availableGeometry().height(), clientWidth, clientHeight,
                           {side.width, side.height}, {title.width, title.height});
    for (const ControlDesign& design : panelDesign()) {
        widget(design.control)->move(panelX(layout_, design.control), design.top);
    }
    const Rect& strip = layout_.sideStrip;
    titel2_->setGeometry(state_.movieMode ? layout_.titel2RightX : layout_.titel2LeftX, strip.top,
                         strip.width, strip.height);
    const Rect& titleArea = layout_.title;
    titelflaeche_->setGeometry(titleArea.left, titleArea.top, titleArea.width, titleArea.height);
    const Rect& board = layout_.board;
    zeichenflaeche_->setGeometry(board.left, board.top, board.width, board.height);
}

void Tpakkor::onClick(Control control, void (*handler)(GameState&, Frontend&)) {
    connect(static_cast<TCoolButton*>(widget(control)), &TCoolButton::clicked, this,
            [this, handler] { guarded([&] { handler(state_, *this); }); });
}

void Tpakkor::connectHandlers() {
    onClick(Control::playtitel, playtitelClick);
    onClick(Control::start, StartClick);
    onClick(Control::Undobutton, UndoButtonClick);
    for (Control c : {Control::plusplus, Control::plusplus2})
        onClick(c, plusplusClick);
    for (Control c : {Control::plus, Control::plus2})
        onClick(c, plusClick);
    for (Control c : {Control::minus, Control::minus2})
        onClick(c, minusClick);
    for (Control c : {Control::minusminus, Control::minusminus2})
        onClick(c, minusminusClick);
    onClick(Control::load, quarbel::LoadClick);
    for (Control c : {Control::movie, Control::game}) {
        const Sender sender = c == Control::movie ? Sender::movie : Sender::game;
        connect(static_cast<TCoolButton*>(widget(c)), &TCoolButton::clicked, this,
                [this, sender] { guarded([&] { MovieClick(state_, *this, sender); }); });
    }
    for (Control c : {Control::help, Control::helpmovie}) {
        connect(static_cast<TCoolButton*>(widget(c)), &TCoolButton::clicked, this,
                &Tpakkor::HelpClick);
    }

    const auto onPicture = [this](Control control, auto handler) {
        connect(static_cast<QPushButton*>(widget(control)), &QPushButton::clicked, this,
                [this, handler] { guarded([&] { handler(state_, *this); }); });
    };
    onPicture(Control::mplay, mplay2Click);
    onPicture(Control::mstop, mstop2Click);
    onPicture(Control::mbacktostart, mbacktostart2Click);
    onPicture(Control::mback, mback2Click);
    onPicture(Control::m10back, m10back2Click);
    onPicture(Control::mforward,
              [](GameState& s, Frontend& ui) { mforward2Click(s, ui, Sender::mforward); });
    onPicture(Control::m10forward,
              [](GameState& s, Frontend& ui) { m10forward2Click(s, ui, Sender::m10forward); });

    const auto onTimer = [this](Timer t, auto handler) {
        connect(timer(t), &QTimer::timeout, this, [this, handler] { guarded(handler); });
    };
    onTimer(Timer::zeittime, [this] { zeittimeTimer(state_, *this); });
    onTimer(Timer::focusset, [this] {  // the focus keeper: back to the hidden holder
        controller_->setFocus();
        setTimerEnabled(Timer::focusset, false);
    });
    onTimer(Timer::movietimer, [this] { movietimerTimer(state_, *this); });
    onTimer(Timer::zwinkern, [this] { zwinkernTimer(state_, *this); });
    onTimer(Timer::startanim, [this] {  // the title band slides on
        // Armed for the next tick first, so that the handler can switch it off.
        timer(Timer::startanim)
            ->start(startanimPace_.millisecondsToNextTick(clock_.nsecsElapsed() / 1000));
        if (!renderer_.titleScreen().startanimTimer(state_)) {
            setTimerEnabled(Timer::startanim, false);
        }
        titelflaeche_->update(0, 0, BandWidth, BandHeight);
    });
    onTimer(Timer::mousetimer, [this] { mousetimerTimer(state_, *this, pathFinder_); });

    for (ImageView* image : {zeichenflaeche_, titelflaeche_}) {
        const Sender sender =
            image == zeichenflaeche_ ? Sender::zeichenflaeche : Sender::titelflaeche;
        image->onPress = [this, sender](Qt::MouseButton button, int x, int y) {
            pressAt(sender, button, x, y);
        };
        image->onRelease = [this](Qt::MouseButton, int, int) { release(); };
    }
    zeichenflaeche_->onMove = [this](int x, int y) { zeichenflaecheMouseMove(state_, x, y); };
}

void Tpakkor::HelpClick() {
    guarded([this] { platform_.help.showTopic(HelpTopic); });
}

void Tpakkor::pressAt(Sender sender, Qt::MouseButton button, int x, int y) {
    guarded(
        [&] { FormMouseDown(state_, *this, pathFinder_, sender, mouseButtonOf(button), x, y); });
}

void Tpakkor::release() {
    zeichenflaecheMouseUp(*this);
}

bool Tpakkor::eventFilter(QObject* watched, QEvent* event) {
    // Key preview: the key handler sees every key of this window first, at its first
    // delivery, and the key goes on to the focused control.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* target = static_cast<QWidget*>(watched);
        QWidget* focused = QApplication::focusWidget();
        if (target->window() == this && target == (focused ? focused : this)) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const KeyCode code = keyCodeFor(key->key(), key->modifiers());
            guarded([&] { FormKeyDown(state_, *this, Sender::MainWindow, code); });
            if (key->key() == Qt::Key_F1) HelpClick();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tpakkor::resizeEvent(QResizeEvent*) {
    layOut(width(), height());
}

void Tpakkor::mousePressEvent(QMouseEvent* event) {
    const QPoint at = pixelAt(event->position());
    pressAt(Sender::MainWindow, event->button(), at.x(), at.y());
}

void Tpakkor::mouseReleaseEvent(QMouseEvent*) {
    release();
}

std::string Tpakkor::caption(Control control) const {
    const TCoolButton* label = captions_[index(control)];
    return label ? label->caption().toStdString() : std::string();
}

void Tpakkor::setCaption(Control control, std::string_view text) {
    if (TCoolButton* label = captions_[index(control)]) label->setCaption(fromUtf8(text));
}

bool Tpakkor::isVisible(Control control) const {
    return !widget(control)->isHidden();
}

void Tpakkor::setVisible(Control control, bool visible) {
    widget(control)->setVisible(visible);
}

void Tpakkor::setEnabled(Control control, bool enabled) {
    widget(control)->setEnabled(enabled);
}

bool Tpakkor::timerEnabled(Timer t) const {
    return timer(t)->isActive();
}

void Tpakkor::setTimerEnabled(Timer t, bool enabled) {
    if (!enabled) {
        timer(t)->stop();
    } else if (!timer(t)->isActive()) {
        if (t == Timer::startanim) {
            const std::int64_t now = clock_.nsecsElapsed() / 1000;
            startanimPace_.start(now);
            timer(t)->start(startanimPace_.millisecondsToNextTick(now));
        } else {
            timer(t)->start();
        }
    }
}

int Tpakkor::timerInterval(Timer t) const {
    return timer(t)->interval();
}

void Tpakkor::setTimerInterval(Timer t, int milliseconds) {
    timer(t)->setInterval(milliseconds);
}

void Tpakkor::setWindowCaption(std::string_view text) {
    setWindowTitle(fromUtf8(text));
}

void Tpakkor::setBoardCrossCursor() {
    zeichenflaeche_->setCursor(Qt::CrossCursor);
}

void Tpakkor::focusController() {
    controller_->setFocus();
}

void Tpakkor::placeSideStrip(bool rightMargin) {
    titel2_->move(rightMargin ? layout_.titel2RightX : layout_.titel2LeftX, titel2_->y());
}

// After a modal dialog the main window is the active window again, whatever the desktop
// does with the focus.
std::optional<std::string> Tpakkor::choosePackFile() {
    auto chosen = levelpac_->choose(this);
    activateWindow();
    // The chooser has named the files; "no pack was found" would not be true.
    if (!chosen && levelpac_->onlyUnreadablePacks()) {
        throw GameError("No level pack could be read.");
    }
    return chosen;
}

bool Tpakkor::askSaveMovie(std::string_view level, std::string_view steps,
                           std::string_view oldSteps) {
    moviesafe_->Dialog(fromUtf8(level), fromUtf8(steps), fromUtf8(oldSteps));
    activateWindow();
    return moviesafe_->saveAnswer == 1;
}

void Tpakkor::reportError(std::string_view text) {
    reportedErrors_.emplace_back(text);
}

void Tpakkor::drawBoard(bool full, bool eyesOpen) {
    if (!titelflaeche_->isHidden()) {
        // Nothing shows the title picture again: the title screen is gone for good.
        titelflaeche_->hide();
        titelflaeche_->showPicture(nullptr);
        renderer_.titleScreen().release();
    }
    const Rect renewed = renderer_.drawBoard(state_, full, eyesOpen);
    // The board image stays empty until the first drawing; after it only what changed is
    // painted again.
    if (!zeichenflaeche_->shownPicture()) {
        zeichenflaeche_->showPicture(&renderer_.frontPicture());
    }
    zeichenflaeche_->updatePicture(renewed);
}

void Tpakkor::CheckSolved() {
    quarbel::CheckSolved(state_, *this);
}

void Tpakkor::LoadClick() {
    quarbel::LoadClick(state_, *this);
}

}  // namespace quarbel
