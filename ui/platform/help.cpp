#include "help.h"

#include <QTextBrowser>

#include "core/filefinder.h"
#include "core/gameerror.h"

namespace quarbel {

HelpWindow::HelpWindow() = default;
HelpWindow::~HelpWindow() = default;

void HelpWindow::showTopic(int topic) {
    const auto document = readRegularFile(findName(HelpFile));
    if (!document) throw GameError(cannotOpenText(HelpFile));
    if (!browser_) {
        browser_ = std::make_unique<QTextBrowser>();
        browser_->setWindowTitle("QUARBEL 98 - Help");
        browser_->setOpenExternalLinks(true);
        browser_->resize(640, 560);
        // Closing the game window ends the program, also while the help is open.
        browser_->setAttribute(Qt::WA_QuitOnClose, false);
    }
    browser_->setHtml(
        QString::fromUtf8(document->data(), static_cast<qsizetype>(document->size())));
    browser_->scrollToAnchor(QStringLiteral("topic%1").arg(topic));
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
}

}  // namespace quarbel
