#include "ui/platform/errorreport.h"

#include <QMessageBox>

#include "ui/platform/placement.h"

namespace quarbel {

void MessageBoxReport::showError(std::string_view text) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle,
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, parent_);
    execCentred(box, parent_);
}

}  // namespace quarbel
