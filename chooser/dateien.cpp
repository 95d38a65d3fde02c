#include "chooser/dateien.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include "ui/platform/placement.h"
#include "ui/platform/shell.h"
#include "ui/platform/typefaces.h"

namespace quarbel {

namespace {

constexpr std::size_t ShownTitleLength = 30;

const char* const ChooseText = "Choose a levelpack:";
const char* const LevelText = "Number of levels:";
const char* const InternetText = "Search for the 'Level of the Month'";
const char* const MonthlevelText = "on the Internet";

// The page shipped in the working folder, or the address the build names instead.
std::string monthPageAddress() {
    const std::string otherAddress = QUARBEL_MONTH_PAGE_URL;
    if (!otherAddress.empty()) return otherAddress;
    const QString page = QDir::current().absoluteFilePath(QStringLiteral(QUARBEL_MONTH_PAGE));
    return QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded).toStdString();
}

QString monthButtonCaption() {
    const std::string otherAddress = QUARBEL_MONTH_PAGE_URL;
    if (!otherAddress.empty()) return QString::fromStdString(otherAddress);
    return QStringLiteral("Open the Level of the Month page");
}

// A list whose one selected entry the player can move but never clear: a press with Ctrl on
// the selected entry, or Ctrl+Space, leaves it selected.
class SingleSelectionList : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        const auto command = QListWidget::selectionCommand(index, event);
        return command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)
                   ? QItemSelectionModel::NoUpdate
                   : command;
    }
};

template <typename Control>
Control* placed(Control* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(name);
    control->setGeometry(left, top, width, height);
    return control;
}

}  // namespace

TLevelpac::TLevelpac(Shell& shell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), shell(shell) {
    setWindowTitle(QStringLiteral("Levelpack?"));
    setFixedSize(330, 395);
    QFont systemFont(SystemTypeface);
    systemFont.setStyleHint(QFont::SansSerif);  // where no "System" font is installed
    systemFont.setPixelSize(13);
    setFont(systemFont);

    ui.choose = placed(new QLabel(this), "choose", 8, 6, 185, 22);
    ui.Liste = placed(new SingleSelectionList(this), "Liste", 8, 34, 312, 154);
    ui.Level = placed(new QLabel(this), "Level", 8, 191, 312, 22);
    ui.weiter = placed(new QPushButton(QStringLiteral("Ok"), this), "weiter", 105, 224, 116, 43);
    ui.Bevel1 = placed(new QFrame(this), "Bevel1", 8, 281, 312, 2);
    ui.internet = placed(new QLabel(this), "internet", 0, 294, 329, 27);
    ui.monthlevel = placed(new QLabel(this), "monthlevel", 0, 322, 329, 31);
    ui.Button1 = placed(new QPushButton(monthButtonCaption(), this), "Button1", 32, 352, 270, 33);

    for (QLabel* label : {ui.choose, ui.Level}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    for (QLabel* label : {ui.internet, ui.monthlevel}) {
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    ui.Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    ui.Liste->setSelectionMode(QAbstractItemView::SingleSelection);
    ui.weiter->setEnabled(false);
    // Neither button is the default one: Enter does nothing special.
    ui.weiter->setAutoDefault(false);
    ui.Button1->setAutoDefault(false);
    setTabOrder(ui.Liste, ui.weiter);
    setTabOrder(ui.weiter, ui.Button1);

    // Selections by the keys, and every press on an entry, even on the selected one.
    connect(ui.Liste, &QListWidget::itemSelectionChanged, this, &TLevelpac::ListeClick);
    connect(ui.Liste, &QListWidget::pressed, this, &TLevelpac::ListeClick);
    ui.Liste->viewport()->installEventFilter(this);
    connect(ui.weiter, &QPushButton::clicked, this, &TLevelpac::weiterClick);
    connect(ui.Button1, &QPushButton::clicked, this, &TLevelpac::Button1Click);
}

std::optional<std::string> TLevelpac::choose(const QWidget* gameWindow) {
    game = gameWindow;
    chosenFile.reset();
    execCentred(*this, game, TitleBar::Dialog);
    // The closed chooser gives its window and drawing memory back until it is shown again.
    destroy();
    return chosenFile;
}

void TLevelpac::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormActivate();
}

bool TLevelpac::eventFilter(QObject* watched, QEvent* event) {
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched == ui.Liste->viewport() && press) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // The empty list has no entry to report a press, yet a click into it must close
        // the dialog: it is the only way out when there is no pack.
        if (ui.Liste->count() == 0) {
            if (mouse->button() == Qt::LeftButton) ListeClick();
            return true;
        }
        // A press beside the entries keeps the selection.
        if (!ui.Liste->indexAt(mouse->position().toPoint()).isValid()) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TLevelpac::FormActivate() {
    form1Click();
    ui.Level->setText(LevelText);
    ui.choose->setText(ChooseText);
    ui.internet->setText(InternetText);
    ui.monthlevel->setText(MonthlevelText);
    // The cursor keys move the selection, also when a button had the focus last time.
    ui.Liste->setFocus();
}

// Filled once: packs added to or removed from the folder later are not noticed.
void TLevelpac::form1Click() {
    if (ui.Liste->count() > 0) return;
    listing = listPacks(".", MaxPacks, ShownTitleLength);
    for (const ListedPack& pack : listing.packs)
        ui.Liste->addItem(QString::fromStdString(pack.title));
    // Over the dialog, once it is on the screen.
    if (!listing.unreadable.empty() || listing.notListed > 0) {
        QTimer::singleShot(0, this, &TLevelpac::reportPacksLeftOut);
    }
}

void TLevelpac::reportPacksLeftOut() {
    const QString text = QString::fromStdString(packsLeftOutReport(listing));
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    execCentred(box, game);
}

void TLevelpac::ListeClick() {
    if (ui.Liste->count() == 0) {
        done(QDialog::Rejected);
        return;
    }
    ui.weiter->setEnabled(true);
    for (int row = 0; row < ui.Liste->count(); ++row) {
        if (!ui.Liste->item(row)->isSelected()) continue;
        selectedPack = row + 1;
        ui.Level->setText(QStringLiteral("%1 %2").arg(LevelText).arg(
            listing.packs[static_cast<std::size_t>(row)].levelCount));
    }
}

// Ok is enabled only by a selection, so selectedPack names an entry here.
void TLevelpac::weiterClick() {
    chosenFile = listing.packs[static_cast<std::size_t>(selectedPack - 1)].fileName;
    done(QDialog::Accepted);
}

void TLevelpac::Button1Click() {
    shell.openUrl(monthPageAddress());
}

}  // namespace quarbel
