// The solved dialog: shows the new solution's step count beside the stored one's and asks
// whether to store the new movie.
#pragma once

#include <cstdint>

#include <QDialog>

class QLabel;
class QPushButton;

namespace quarbel {

class Tmoviesafe : public QDialog {
    Q_OBJECT

  public:
    explicit Tmoviesafe(QWidget* parent = nullptr);

    // Fills in the texts, centres the dialog on the screen of its parent, the game window,
    // and shows it modally; the answer is then in saveAnswer. oldSteps "0" means no stored
    // movie and leaves its line empty.
    void Dialog(const QString& level, const QString& steps, const QString& oldSteps);

    // 1 Yes, 0 No; kept from one showing to the next.
    std::uint8_t saveAnswer = 0;

  public slots:
    // Closing through the frame or with Escape comes here too, and counts as No.
    void reject() override;

  private slots:
    void UJaClick();
    void UNeinClick();

  private:
    QLabel* geschafft;
    QLabel* geschafft2;
    QLabel* solutionsave1;
    QLabel* solutionsave2;
    QPushButton* UJa;
    QPushButton* UNein;
};

}  // namespace quarbel
