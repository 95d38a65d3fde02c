// The pack's levels as the list beside the board shows them: number, size, a small picture,
// whether the level passes its checks and what solving found. Moving rows (as a drag in the
// list does) is an edit of the document, and the list follows every change of the document.
#pragma once

#include <QAbstractListModel>
#include <QPixmap>
#include <vector>

#include "editor/document.h"
#include "editor/solving.h"

namespace quarbel {
class Renderer;
}

namespace quarbel::editor {

class LevelList : public QAbstractListModel {
  public:
    // The renderer draws the small pictures; without pictures the list shows none.
    LevelList(Document& document, const SolveResults& results, Renderer* renderer,
              QObject* parent = nullptr);

    static constexpr int PictureSide = 64;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    bool moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
                  const QModelIndex& destinationParent, int destinationChild) override;

    // Solving found something new: every entry's verdict is shown again.
    void verdictsChanged();

  private:
    void documentChanged(const Change& change);
    QPixmap pictureOf(int row) const;

    Document& document_;
    const SolveResults& results_;
    Renderer* renderer_;
    mutable std::vector<QPixmap> pictures_;  // drawn when first shown; null until then
};

// "Level 3 · 11 × 7", the level's number and the size of its walls, crates and targets.
QString levelHeading(int index, const Level& level);
// Whether the level passes its checks and what solving found: in full for the status bar
// ("✓ passes the checks · solvable in 9 pushes and 33 moves", "✗ no keeper; no crate"), or
// briefly for the list ("✓ 9 pushes, 33 moves", "✗ no keeper …").
QString levelVerdict(const Level& level, const SolveResults& results, bool brief);

}  // namespace quarbel::editor
