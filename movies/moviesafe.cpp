#include "movies/moviesafe.h"

#include <QLabel>
#include <QPushButton>

#include "ui/platform/placement.h"
#include "ui/platform/typefaces.h"

namespace quarbel {

namespace {

constexpr int ClientWidth = 435;
constexpr int ClientHeight = 188;
constexpr int FontPixels = 13;

QLabel* centredLabel(QWidget* parent, const char* name, int top) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(0, top, 433, 22);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& text, QRect place) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

}  // namespace

Tmoviesafe::Tmoviesafe(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("moviesafe");
    setWindowTitle("Super!");
    setFixedSize(ClientWidth, ClientHeight);
    QFont font;
    QStringList families;
    for (const char* typeface : DialogTypefaces)
        families.append(typeface);
    font.setFamilies(families);
    font.setPixelSize(FontPixels);
    setFont(font);

    geschafft = centredLabel(this, "geschafft", 10);
    geschafft2 = centredLabel(this, "geschafft2", 47);
    solutionsave1 = centredLabel(this, "solutionsave1", 88);
    solutionsave2 = centredLabel(this, "solutionsave2", 111);
    solutionsave2->setText("Do you want to save the new movie?");
    // Created in tab order: Yes first, then No.
    UJa = pushButton(this, "UJa", "Yes", QRect(6, 146, 94, 34));
    UNein = pushButton(this, "UNein", "No", QRect(337, 146, 85, 34));
    connect(UJa, &QPushButton::clicked, this, &Tmoviesafe::UJaClick);
    connect(UNein, &QPushButton::clicked, this, &Tmoviesafe::UNeinClick);
}

void Tmoviesafe::Dialog(const QString& level, const QString& steps, const QString& oldSteps) {
    geschafft->setText("Level " + level + " was solved in " + steps + " Steps!");
    geschafft2->setText(oldSteps == "0" ? QString()
                                        : "The old solution contained " + oldSteps + " Steps!");
    for (QLabel* label : {geschafft, geschafft2}) {
        label->move((width() - label->width()) / 2, label->y());
    }
    UJa->setFocus();
    execCentred(*this, parentWidget());
    // The closed dialog gives its window and drawing memory back until it is shown again.
    destroy();
}

void Tmoviesafe::reject() {
    saveAnswer = 0;
    QDialog::reject();
}

void Tmoviesafe::UJaClick() {
    saveAnswer = 1;
    accept();
}

void Tmoviesafe::UNeinClick() {
    reject();
}

}  // namespace quarbel
