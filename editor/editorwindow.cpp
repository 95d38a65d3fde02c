#include "editor/editorwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include "editor/boardview.h"
#include "editor/levellist.h"
#include "ui/keymap.h"
#include "ui/render/picturefiles.h"

namespace quarbel::editor {

namespace {

// Refuses, as the author types, a text the pack could not store.
class PackTextValidator : public QValidator {
  public:
    PackTextValidator(bool (*fits)(std::string_view), QObject* parent)
        : QValidator(parent), fits_(fits) {}
    State validate(QString& input, int&) const override {
        return fits_(input.toStdString()) ? Acceptable : Invalid;
    }

  private:
    bool (*fits_)(std::string_view);
};

constexpr auto SettingsGeometry = "window/geometry";
constexpr auto SettingsSplitter = "window/splitter";
constexpr auto SettingsDefaultAuthor = "levels/defaultAuthor";

}  // namespace

EditorWindow::EditorWindow(const QStringList& pictureFolders, QWidget* parent)
    : QMainWindow(parent) {
    useDialogPrompts();
    loadPictures(pictureFolders);
    // The list listens first, so that its rows stand when the window selects one.
    levels_ = new LevelList(document_, solveQueue_.results(),
                            picturesLoaded_ ? &pictureRenderer_ : nullptr, this);
    document_.listen([this](const Change& change) { documentChanged(change); });
    connect(&runner_, &SolveRunner::progress, this, &EditorWindow::solveProgress);
    connect(&runner_, &SolveRunner::finished, this, &EditorWindow::solveFinished);

    buildActions();
    buildMenus();
    buildToolBar();
    splitter_ = new QSplitter(this);
    splitter_->addWidget(buildLevelPanel());
    splitter_->addWidget(buildBoardPanel());
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setChildrenCollapsible(false);
    setCentralWidget(splitter_);

    checkLabel_ = new QLabel(this);
    checkLabel_->setObjectName("checks");
    solveLabel_ = new QLabel(this);
    solveLabel_->setObjectName("solveProgress");
    cancelButton_ = new QPushButton("Cancel", this);
    cancelButton_->setToolTip("Stop solving (Esc)");
    connect(cancelButton_, &QPushButton::clicked, this, [this] { cancelSolving(); });
    // Permanent, so that passing messages never hide the checks.
    statusBar()->addPermanentWidget(checkLabel_);
    statusBar()->addPermanentWidget(solveLabel_);
    statusBar()->addPermanentWidget(cancelButton_);
    solveLabel_->hide();
    cancelButton_->hide();
    if (picturesLoaded_) {
        board_->showFrame(&renderer_.frontPicture());
    } else {
        board_->setPlaceholder(
            "The board's pictures backgr8.bmp and playal8n.bmp were found "
            "neither in " +
            pictureFolders.join(" nor in ") +
            ". Levels can still be edited; the list and the status bar show "
            "them.");
    }

    restoreSettings();
    selectLevel(0);
    updateWindowTitle();
}

EditorWindow::~EditorWindow() = default;

QStringList EditorWindow::standardPictureFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program, QDir::cleanPath(program + "/" + QUARBEL_INSTALLED_PICTURES)};
}

void EditorWindow::loadPictures(const QStringList& folders) {
    for (const QString& folder : folders) {
        AssetImages images;
        images.background.load(folder + "/" + BackgroundFile, "BMP");
        images.tileSheet.load(folder + "/" + TileSheetFile, "BMP");
        if (images.background.isNull() || images.tileSheet.isNull()) continue;
        renderer_.loadAssets(images);
        pictureRenderer_.loadAssets(images);
        picturesLoaded_ = true;
        return;
    }
}

void EditorWindow::restoreSettings() {
    QSettings settings;
    if (!restoreGeometry(settings.value(SettingsGeometry).toByteArray())) {
        const QRect screen = QApplication::primaryScreen()->availableGeometry();
        resize(std::min(screen.width() * 9 / 10, 1500), std::min(screen.height() * 9 / 10, 1000));
    }
    if (!splitter_->restoreState(settings.value(SettingsSplitter).toByteArray())) {
        splitter_->setSizes({300, 900});
    }
    const QString author = settings.value(SettingsDefaultAuthor).toString();
    if (document_.setDefaultAuthor(author.toStdString())) defaultAuthorEdit_->setText(author);
}

QWidget* EditorWindow::buildLevelPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 0, 6);
    levelView_ = new QListView(panel);
    levelView_->setObjectName("levels");
    levelView_->setModel(levels_);
    levelView_->setIconSize({LevelList::PictureSide, LevelList::PictureSide});
    levelView_->setSpacing(2);
    levelView_->setUniformItemSizes(true);
    levelView_->setDragDropMode(QAbstractItemView::InternalMove);
    levelView_->setDefaultDropAction(Qt::MoveAction);
    levelView_->setDropIndicatorShown(true);
    levelView_->setTextElideMode(Qt::ElideRight);
    levelView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    levelView_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(levelView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid() && index.row() != current_) {
                    current_ = index.row();
                    showLevel();
                }
            });
    layout->addWidget(levelView_, 1);

    auto* buttons = new QHBoxLayout;
    const std::pair<QAction*, const char*> listButtons[] = {
        {actions_.addLevel, "Add"},       {actions_.duplicateLevel, "Duplicate"},
        {actions_.deleteLevel, "Delete"}, {actions_.moveUp, "Up"},
        {actions_.moveDown, "Down"},
    };
    for (const auto& [action, caption] : listButtons) {
        action->setIconText(caption);
        auto* button = new QToolButton(panel);
        button->setDefaultAction(action);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    return panel;
}

QWidget* EditorWindow::buildBoardPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* fields = new QGridLayout;
    auto makeField = [&](const char* name, const QString& label, const QString& tip,
                         bool (*fits)(std::string_view), int row, int column) {
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(name);
        edit->setValidator(new PackTextValidator(fits, edit));
        edit->setToolTip(tip);
        auto* caption = new QLabel(label, panel);
        caption->setBuddy(edit);
        fields->addWidget(caption, row, column);
        fields->addWidget(edit, row, column + 1);
        return edit;
    };
    titleEdit_ =
        makeField("title", "Pack &title:", "At most 29 characters that Windows-1252 can hold",
                  fitsPackTitle, 0, 0);
    authorEdit_ =
        makeField("author", "Level &author:", "At most 12 characters; empty stores no author",
                  fitsAuthor, 0, 2);
    defaultAuthorEdit_ = makeField("defaultAuthor", "Author of new &levels:",
                                   "Given to every level added from now on", fitsAuthor, 1, 2);
    fields->setColumnStretch(1, 3);
    fields->setColumnStretch(3, 1);
    layout->addLayout(fields);
    connect(titleEdit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { document_.setTitle(text.toStdString()); });
    connect(authorEdit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { document_.setAuthor(current_, text.toStdString()); });
    connect(defaultAuthorEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        document_.setDefaultAuthor(text.toStdString());
        QSettings().setValue(SettingsDefaultAuthor, text);
    });

    board_ = new BoardView(panel);
    board_->setObjectName("board");
    board_->onPress = [this](Qt::MouseButton button, Cell cell) { pressCell(button, cell); };
    board_->onDrag = [this](Cell cell) { dragTo(cell); };
    board_->onRelease = [this] { stroke_ = 0; };
    board_->onKey = [this](QKeyEvent* event) { return boardKey(event); };
    layout->addWidget(board_, 1);
    return panel;
}

void EditorWindow::documentChanged(const Change& change) {
    switch (change.kind) {
        case Change::Kind::Reset:
            titleEdit_->setText(QString::fromStdString(document_.pack().title));
            selectLevel(0);
            break;
        case Change::Kind::Title:
            if (titleEdit_->text().toStdString() != document_.pack().title) {
                titleEdit_->setText(QString::fromStdString(document_.pack().title));
            }
            break;
        case Change::Kind::Level:
        case Change::Kind::Inserted:
            selectLevel(change.index);
            break;
        case Change::Kind::Removed:
            selectLevel(std::min(change.index, document_.levelCount() - 1));
            break;
        case Change::Kind::Moved:
            selectLevel(change.to);
            break;
        case Change::Kind::Modified:
            updateWindowTitle();
            break;
        case Change::Kind::Abilities:
            break;
    }
    updateActions();
}

void EditorWindow::selectLevel(int index) {
    current_ = std::clamp(index, 0, document_.levelCount() - 1);
    levelView_->setCurrentIndex(levels_->index(current_));
    showLevel();
}

void EditorWindow::showLevel() {
    const Level& level = document_.level(current_);
    if (authorEdit_->text().toStdString() != level.author) {
        authorEdit_->setText(QString::fromStdString(level.author));
    }
    redrawBoard();
    updateStatus();
    updateActions();
}

void EditorWindow::redrawBoard() {
    if (!picturesLoaded_) return;
    // Always whole: the game's partial redraw leaves the top and left overhang of a tile
    // that moved away, which an author should not mistake for part of the level.
    if (play_) {
        playView_ = play_->state();
        renderer_.drawBoard(playView_, true, true);
    } else {
        placeLevel(view_, document_.level(current_));
        renderer_.drawBoard(view_, true, true);
    }
    board_->update();
}

void EditorWindow::updateWindowTitle() {
    const QString name = fileName_.isEmpty() ? "Untitled" : QFileInfo(fileName_).fileName();
    setWindowTitle(name + "[*] \u2014 QUARBEL 98 Level Editor");
    setWindowModified(document_.modified());
}

void EditorWindow::updateStatus() {
    if (play_) {
        checkLabel_->setText(QString::fromStdString(play_->status(current_ + 1)));
        return;
    }
    checkLabel_->setText(QString("Level %1 of %2: ").arg(current_ + 1).arg(document_.levelCount()) +
                         levelVerdict(document_.level(current_), solveQueue_.results(), false));
}

void EditorWindow::updateActions() {
    const bool editing = !play_;
    for (QAction* action : editingActions_)
        action->setEnabled(editing);
    levelView_->setEnabled(editing);
    titleEdit_->setEnabled(editing);
    authorEdit_->setEnabled(editing);
    if (!editing) return;
    const Abilities can = document_.abilities();
    actions_.undo->setEnabled(can.undo);
    actions_.redo->setEnabled(can.redo);
    actions_.addLevel->setEnabled(can.addLevel);
    actions_.duplicateLevel->setEnabled(can.addLevel);
    actions_.deleteLevel->setEnabled(can.removeLevel);
    actions_.moveUp->setEnabled(current_ > 0);
    actions_.moveDown->setEnabled(current_ < document_.levelCount() - 1);
    const SolveOutcome* outcome = solveQueue_.results().find(document_.level(current_));
    actions_.watch->setEnabled(outcome != nullptr &&
                               outcome->verdict == SolveOutcome::Verdict::Solvable);
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    cancelSolving();
    QSettings settings;
    settings.setValue(SettingsGeometry, saveGeometry());
    settings.setValue(SettingsSplitter, splitter_->saveState());
    event->accept();
}

void EditorWindow::pressCell(Qt::MouseButton button, Cell cell) {
    if (play_ || (button != Qt::LeftButton && button != Qt::RightButton)) return;
    strokeTool_ = button == Qt::LeftButton ? tool_ : Tool::Floor;
    stroke_ = document_.beginStroke();
    lastCell_ = cell;
    document_.paintLine(current_, cell, cell, strokeTool_, stroke_);
}

void EditorWindow::dragTo(Cell cell) {
    if (stroke_ == 0 || cell == lastCell_) return;
    document_.paintLine(current_, lastCell_, cell, strokeTool_, stroke_);
    lastCell_ = cell;
}

bool EditorWindow::boardKey(QKeyEvent* event) {
    if (!play_ || event->modifiers() & ~Qt::KeypadModifier) return false;
    if (event->key() == Qt::Key_Space) {
        if (!play_->playNextSolutionMove()) return true;
    } else if (!play_->press(keyCodeFor(event->key(), event->modifiers()))) {
        return false;
    }
    redrawBoard();
    updateStatus();
    return true;
}

void EditorWindow::startSolving(const std::optional<std::string>& refusal) {
    if (refusal) {
        statusBar()->showMessage(QString::fromStdString(*refusal), 5000);
        return;
    }
    startWaitingSolves();
}

void EditorWindow::startWaitingSolves() {
    while (runner_.canStart()) {
        const std::optional<SolveQueue::Job> job = solveQueue_.nextJob();
        if (!job) break;
        runner_.start(*job);
    }
    showSolveProgress();
}

void EditorWindow::showSolveProgress() {
    const bool busy = solveQueue_.busy();
    if (busy) solveLabel_->setText(QString::fromStdString(solveQueue_.progressText()));
    solveLabel_->setVisible(busy);
    cancelButton_->setVisible(busy);
}

void EditorWindow::solveProgress(int index, qulonglong positions) {
    solveQueue_.progress(index, positions);
    showSolveProgress();
}

void EditorWindow::solveFinished(const SolveQueue::Job& job, const SolveOutcome& outcome) {
    statusBar()->showMessage(
        QString::fromStdString(solveQueue_.finish(job, outcome, document_.pack())), 8000);
    levels_->verdictsChanged();
    startWaitingSolves();
    if (!play_) {
        updateStatus();
        updateActions();
    }
}

void EditorWindow::cancelSolving() {
    solveQueue_.cancel();
    runner_.cancelAll();
}

void EditorWindow::startPlaying(bool watchSolution) {
    if (play_) return;
    const Level& level = document_.level(current_);
    if (!levelProblems(level).empty()) {
        statusBar()->showMessage(
            QString("Level %1 fails its checks and cannot be played").arg(current_ + 1), 5000);
        return;
    }
    std::vector<std::uint16_t> solution;
    if (watchSolution) {
        const SolveOutcome* outcome = solveQueue_.results().find(level);
        if (outcome == nullptr || outcome->verdict != SolveOutcome::Verdict::Solvable) return;
        solution = outcome->solution;
    }
    play_.emplace(level, std::move(solution));
    stroke_ = 0;
    updateActions();
    redrawBoard();
    updateStatus();
    board_->setFocus();
}

void EditorWindow::stopPlaying() {
    if (!play_) return;
    play_.reset();
    updateActions();
    showLevel();
}

void EditorWindow::stopPlayingOrSolving() {
    if (play_)
        stopPlaying();
    else
        cancelSolving();
}

}  // namespace quarbel::editor
