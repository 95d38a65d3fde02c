#include "ui/platform/help.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>

#include "core/filefinder.h"
#include "core/files.h"
#include "core/gameerror.h"
#include "ui/platform/placement.h"

namespace quarbel {

HelpWindow::HelpWindow() = default;
HelpWindow::~HelpWindow() = default;

QWidget* HelpWindow::window() const {
    return browser_.get();
}

// The help is a few pages of text; a larger file is not ours.
constexpr std::size_t MaxHelpBytes = std::size_t{4} << 20;

void HelpWindow::showTopic(int topic) {
    const auto document = readFileIfAny(findName(HelpFile), MaxHelpBytes);
    if (!document) throw GameError(cannotOpenText(HelpFile));
    if (!browser_) {
        browser_ = std::make_unique<QTextBrowser>();
        browser_->setWindowTitle("QUARBEL 98 - Help");
        browser_->setOpenExternalLinks(true);
        browser_->resize(640, 560);
        // Closing the game window ends the program, also while the help is open.
        browser_->setAttribute(Qt::WA_QuitOnClose, false);
        // The cursor keys go on moving the keeper while the help is read.
        browser_->setAttribute(Qt::WA_ShowWithoutActivating);
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), browser_.get());
        QObject::connect(escape, &QShortcut::activated, browser_.get(), [this] {
            browser_->close();
            if (game_) game_->activateWindow();
        });
    }
    browser_->setHtml(
        QString::fromUtf8(document->data(), static_cast<qsizetype>(document->size())));
    browser_->scrollToAnchor(QStringLiteral("topic%1").arg(topic));
    if (!browser_->isVisible()) {
        const QScreen* screen = game_ ? game_->screen() : QGuiApplication::primaryScreen();
        QMargins frame = frameMarginsOf(*browser_);
        if (frame.isNull() && game_) frame = frameMarginsOf(*game_);
        browser_->setGeometry(centredClientArea(screen->geometry(), browser_->size(), frame));
    }
    browser_->show();
    browser_->raise();
}

}  // namespace quarbel
