#include "help.h"

#include <QFile>
#include <QTextBrowser>

#include "core/gameerror.h"

namespace quarbel {

HelpWindow::HelpWindow() = default;
HelpWindow::~HelpWindow() = default;

void HelpWindow::showTopic(int topic) {
    QFile file(HelpFile);
    if (!file.open(QIODevice::ReadOnly)) {
        throw GameError(std::string("Kann Datei ") + HelpFile + " nicht öffnen.");
    }
    if (!browser_) {
        browser_ = std::make_unique<QTextBrowser>();
        browser_->setWindowTitle("QUARBEL 98 - Help");
        browser_->setOpenExternalLinks(true);
        browser_->resize(640, 560);
    }
    browser_->setHtml(QString::fromUtf8(file.readAll()));
    browser_->scrollToAnchor(QStringLiteral("topic%1").arg(topic));
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
}

}  // namespace quarbel
