#include "errorreport.h"

#include <QMessageBox>

namespace quarbel {

void MessageBoxReport::showError(std::string_view text) {
    QMessageBox::critical(parent_, ApplicationTitle,
                          QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace quarbel
