#include "editor/levellist.h"

#include "core/counted.h"
#include "ui/render/renderer.h"

namespace quarbel::editor {

LevelList::LevelList(Document& document, const SolveResults& results, Renderer* renderer,
                     QObject* parent)
    : QAbstractListModel(parent), document_(document), results_(results), renderer_(renderer) {
    pictures_.resize(static_cast<std::size_t>(document_.levelCount()));
    document_.listen([this](const Change& change) { documentChanged(change); });
}

int LevelList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : document_.levelCount();
}

QString levelHeading(int index, const Level& level) {
    const Rect extent = extentOf(level);
    return QString("Level %1 \u00b7 %2 \u00d7 %3")
        .arg(index + 1)
        .arg(extent.width)
        .arg(extent.height);
}

QString levelVerdict(const Level& level, const SolveResults& results, bool brief) {
    const std::vector<std::string> problems = levelProblems(level);
    if (!problems.empty()) {
        if (brief) {
            return "\u2717 " + QString::fromStdString(problems[0]) +
                   (problems.size() > 1 ? " \u2026" : "");
        }
        QStringList texts;
        for (const std::string& problem : problems)
            texts << QString::fromStdString(problem);
        return "\u2717 " + texts.join("; ");
    }
    const SolveOutcome* outcome = results.find(level);
    if (outcome == nullptr) return brief ? "\u2713 checks pass" : "\u2713 passes the checks";
    if (!brief)
        return "\u2713 passes the checks \u00b7 " + QString::fromStdString(describe(*outcome));
    switch (outcome->verdict) {
        case SolveOutcome::Verdict::Solvable:
            return "\u2713 " +
                   QString::fromStdString(
                       counted(static_cast<std::size_t>(outcome->pushes), "push", "pushes") + ", " +
                       counted(outcome->solution.size(), "move", "moves"));
        case SolveOutcome::Verdict::Unsolvable:
            return "\u2717 cannot be solved";
        case SolveOutcome::Verdict::Undecided:
        case SolveOutcome::Verdict::Cancelled:
            break;
    }
    return "? undecided";
}

QVariant LevelList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= document_.levelCount()) return {};
    const Level& level = document_.level(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return levelHeading(index.row(), level) + "\n" + levelVerdict(level, results_, true);
        case Qt::DecorationRole:
            return pictureOf(index.row());
        case Qt::ToolTipRole:
            return (level.author.empty() ? QString("No author")
                                         : "By " + QString::fromStdString(level.author)) +
                   "\n" + levelVerdict(level, results_, false);
        default:
            return {};
    }
}

QPixmap LevelList::pictureOf(int row) const {
    if (renderer_ == nullptr) return {};
    QPixmap& picture = pictures_[static_cast<std::size_t>(row)];
    if (picture.isNull()) {
        GameState view;
        placeLevel(view, document_.level(row));
        renderer_->drawBoard(view, true, true);
        const PixelBuffer& front = renderer_->frontPicture();
        const QImage image(reinterpret_cast<const uchar*>(front.pixels.data()), front.width,
                           front.height, front.width * 4, QImage::Format_RGB32);
        picture = QPixmap::fromImage(
            image.scaled(PictureSide, PictureSide, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return picture;
}

Qt::ItemFlags LevelList::flags(const QModelIndex& index) const {
    // Only the gaps between entries take a drop, so a drag always moves a level.
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

bool LevelList::moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
                         const QModelIndex& destinationParent, int destinationChild) {
    if (sourceParent.isValid() || destinationParent.isValid() || count != 1) return false;
    // The destination is the row the level goes before; the document wants its new index.
    const int to = destinationChild > sourceRow ? destinationChild - 1 : destinationChild;
    return document_.moveLevel(sourceRow, to);
}

void LevelList::documentChanged(const Change& change) {
    auto& pictures = pictures_;
    const auto at = pictures.begin() + change.index;
    switch (change.kind) {
        case Change::Kind::Reset:
            beginResetModel();
            pictures.assign(static_cast<std::size_t>(document_.levelCount()), QPixmap());
            endResetModel();
            return;
        case Change::Kind::Level:
            *at = QPixmap();
            emit dataChanged(index(change.index), index(change.index));
            return;
        case Change::Kind::Inserted:
            beginInsertRows(QModelIndex(), change.index, change.index);
            pictures.insert(at, QPixmap());
            endInsertRows();
            break;
        case Change::Kind::Removed:
            beginRemoveRows(QModelIndex(), change.index, change.index);
            pictures.erase(at);
            endRemoveRows();
            break;
        case Change::Kind::Moved: {
            beginMoveRows(QModelIndex(), change.index, change.index, QModelIndex(),
                          change.to > change.index ? change.to + 1 : change.to);
            QPixmap moved = std::move(*at);
            pictures.erase(at);
            pictures.insert(pictures.begin() + change.to, std::move(moved));
            endMoveRows();
            break;
        }
        case Change::Kind::Title:
        case Change::Kind::Modified:
        case Change::Kind::Abilities:
            return;
    }
    // The numbers of the entries after the change have moved on.
    verdictsChanged();
}

void LevelList::verdictsChanged() {
    if (document_.levelCount() > 0) emit dataChanged(index(0), index(document_.levelCount() - 1));
}

}  // namespace quarbel::editor
