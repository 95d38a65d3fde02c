// The level-pack chooser: lists the packs of the working folder by their titles and hands
// back the file the player chose.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "chooser/packlisting.h"

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace quarbel {

class Shell;

class TLevelpac : public QDialog {
    Q_OBJECT

  public:
    static constexpr int MaxPacks = 200;

    explicit TLevelpac(Shell& shell, QWidget* parent = nullptr);

    // Shows the dialog modally, centred on the screen of `game`: the chosen pack file's
    // name, or nothing when it closed without a choice. The list and its selection are kept
    // for the next showing.
    std::optional<std::string> choose(const QWidget* game = nullptr);

    // Whether the list is empty although pack files were found: none of them could be read.
    bool onlyUnreadablePacks() const {
        return listing.packs.empty() && !listing.unreadable.empty();
    }

  public slots:
    // There is no cancel button: Escape leaves the dialog open.
    void reject() override {}

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormActivate();
    void form1Click();
    void ListeClick();
    void weiterClick();
    void Button1Click();
    void reportPacksLeftOut();

    struct Controls {
        QLabel* choose;
        QListWidget* Liste;
        QLabel* Level;
        QPushButton* weiter;
        QFrame* Bevel1;
        QLabel* internet;
        QLabel* monthlevel;
        QPushButton* Button1;
    };
    Controls ui;

    Shell& shell;

    // Pack k of the listing is row k of the list, both counted from 0.
    PackListing listing;
    int selectedPack = 0;  // 1-based; 0 until the first selection

    std::optional<std::string> chosenFile;  // of the current showing
    const QWidget* game = nullptr;          // of the current showing
};

}  // namespace quarbel
