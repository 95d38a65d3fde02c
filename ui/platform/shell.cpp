#include "ui/platform/shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace quarbel {

void DesktopShell::openUrl(const std::string& address) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace quarbel
