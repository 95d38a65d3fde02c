// The error report as a message box over the main window.
#pragma once

#include "ui/platform/platform.h"

class QWidget;

namespace quarbel {

inline constexpr const char* ApplicationTitle = "QUARBEL 98";

class MessageBoxReport : public ErrorReport {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void showError(std::string_view text) override;

  private:
    QWidget* parent_ = nullptr;
};

}  // namespace quarbel
