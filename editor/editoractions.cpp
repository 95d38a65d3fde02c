// The editor's actions: their names, keys and menus, and the tool bar.
#include <QActionGroup>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "editor/editorwindow.h"

namespace quarbel::editor {

namespace {

struct ToolEntry {
    Tool tool;
    const char* name;
    const char* text;
    Qt::Key key;
};

constexpr ToolEntry ToolEntries[] = {
    {Tool::Wall, "toolWall", "Wall", Qt::Key_1},
    {Tool::Floor, "toolFloor", "Floor", Qt::Key_2},
    {Tool::Crate, "toolCrate", "Crate", Qt::Key_3},
    {Tool::Target, "toolTarget", "Target", Qt::Key_4},
    {Tool::CrateOnTarget, "toolCrateOnTarget", "Crate on target", Qt::Key_5},
    {Tool::Keeper, "toolKeeper", "Keeper", Qt::Key_6},
};

// The text of a shortcut for tooltips: "Ctrl+S".
QString keyText(const QList<QKeySequence>& keys) {
    QStringList texts;
    for (const QKeySequence& key : keys)
        texts << key.toString(QKeySequence::NativeText);
    return texts.join(", ");
}

}  // namespace

QAction* EditorWindow::addAction(const QString& name, const QString& text,
                                 const QList<QKeySequence>& keys,
                                 const std::function<void()>& run) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    if (!keys.isEmpty()) {
        QString plain = text;
        plain.remove('&');
        plain.remove("\u2026");
        action->setToolTip(plain + " (" + keyText(keys) + ")");
    }
    connect(action, &QAction::triggered, this, run);
    QWidget::addAction(action);
    return action;
}

void EditorWindow::buildActions() {
    Actions& a = actions_;
    a.newPack = addAction("new", "&New", {QKeySequence::New}, [this] { newPack(); });
    a.open = addAction("open", "&Open\u2026", {QKeySequence::Open}, [this] { openPack(); });
    a.save = addAction("save", "&Save", {QKeySequence::Save}, [this] { save(); });
    a.saveAs = addAction("saveAs", "Save &As\u2026",
                         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, [this] { saveAs(); });
    a.exportText = addAction("exportText", "&Export as Text\u2026", {}, [this] { exportAsText(); });
    a.quit = addAction("quit", "&Quit", {QKeySequence(Qt::CTRL | Qt::Key_Q)}, [this] { close(); });

    a.undo = addAction("undo", "&Undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                       [this] { document_.undo(); });
    a.redo = addAction(
        "redo", "&Redo",
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        [this] { document_.redo(); });

    a.addLevel = addAction("addLevel", "&Add Level", {QKeySequence(Qt::Key_Insert)},
                           [this] { document_.addLevel(current_ + 1); });
    a.duplicateLevel =
        addAction("duplicateLevel", "D&uplicate Level", {QKeySequence(Qt::CTRL | Qt::Key_D)},
                  [this] { document_.duplicateLevel(current_); });
    a.deleteLevel = addAction("deleteLevel", "&Delete Level", {QKeySequence(Qt::Key_Delete)},
                              [this] { document_.removeLevel(current_); });
    a.moveUp = addAction("moveUp", "Move Level &Up", {QKeySequence(Qt::CTRL | Qt::Key_Up)},
                         [this] { document_.moveLevel(current_, current_ - 1); });
    a.moveDown = addAction("moveDown", "Move Level Do&wn", {QKeySequence(Qt::CTRL | Qt::Key_Down)},
                           [this] { document_.moveLevel(current_, current_ + 1); });
    const struct {
        QAction** action;
        const char* name;
        const char* text;
        Qt::Key key;
        int dx, dy;
    } shifts[] = {
        {&a.shiftLeft, "shiftLeft", "Shift &Left", Qt::Key_Left, -1, 0},
        {&a.shiftRight, "shiftRight", "Shift &Right", Qt::Key_Right, 1, 0},
        {&a.shiftUp, "shiftUp", "Shift U&p", Qt::Key_Up, 0, -1},
        {&a.shiftDown, "shiftDown", "Shift Dow&n", Qt::Key_Down, 0, 1},
    };
    for (const auto& s : shifts) {
        *s.action = addAction(s.name, s.text, {QKeySequence(Qt::SHIFT | s.key)},
                              [this, dx = s.dx, dy = s.dy] {
                                  if (!document_.shift(current_, dx, dy)) {
                                      statusBar()->showMessage(
                                          "The level does not fit one cell further that way", 3000);
                                  }
                              });
    }
    a.centre = addAction("centre", "&Centre Level", {QKeySequence(Qt::CTRL | Qt::Key_E)},
                         [this] { document_.centre(current_); });

    tools_ = new QActionGroup(this);
    for (const ToolEntry& entry : ToolEntries) {
        QAction* action = addAction(entry.name, entry.text, {QKeySequence(entry.key)},
                                    [this, tool = entry.tool] { tool_ = tool; });
        action->setCheckable(true);
        action->setChecked(entry.tool == tool_);
        tools_->addAction(action);
    }

    a.play = addAction("play", "&Play Level", {QKeySequence(Qt::Key_F5)},
                       [this] { startPlaying(false); });
    a.watch = addAction("watch", "&Watch Solution", {QKeySequence(Qt::Key_F7)},
                        [this] { startPlaying(true); });
    a.solve = addAction("solve", "&Solve Level", {QKeySequence(Qt::CTRL | Qt::Key_R)},
                        [this] { startSolving(solveQueue_.solveOne(document_.pack(), current_)); });
    a.solveAll =
        addAction("solveAll", "Solve A&ll Levels", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
                  [this] { startSolving(solveQueue_.solveAll(document_.pack())); });
    a.stop = addAction("stop", "S&top", {QKeySequence(Qt::Key_Escape)},
                       [this] { stopPlayingOrSolving(); });

    editingActions_ = {a.newPack,   a.open,     a.save,      a.saveAs,         a.exportText,
                       a.undo,      a.redo,     a.addLevel,  a.duplicateLevel, a.deleteLevel,
                       a.moveUp,    a.moveDown, a.shiftLeft, a.shiftRight,     a.shiftUp,
                       a.shiftDown, a.centre,   a.play,      a.watch,          a.solve,
                       a.solveAll};
    editingActions_ << tools_->actions();
}

void EditorWindow::buildMenus() {
    // A null entry is a separator.
    auto addMenu = [this](const QString& title, std::initializer_list<QAction*> actions) {
        QMenu* menu = menuBar()->addMenu(title);
        for (QAction* action : actions) {
            if (action == nullptr)
                menu->addSeparator();
            else
                menu->addAction(action);
        }
    };
    const Actions& a = actions_;
    addMenu("&File", {a.newPack, a.open, nullptr, a.save, a.saveAs, a.exportText, nullptr, a.quit});
    addMenu("&Edit", {a.undo, a.redo});
    addMenu("&Level", {a.addLevel, a.duplicateLevel, a.deleteLevel, nullptr, a.moveUp, a.moveDown,
                       nullptr, a.shiftLeft, a.shiftRight, a.shiftUp, a.shiftDown, a.centre});
    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->addActions(tools_->actions());
    addMenu("&Test", {a.play, a.watch, nullptr, a.solve, a.solveAll, nullptr, a.stop});
}

void EditorWindow::buildToolBar() {
    QToolBar* bar = addToolBar("Tools");
    bar->setObjectName("toolBar");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addActions(tools_->actions());
    bar->addSeparator();
    bar->addActions({actions_.undo, actions_.redo, actions_.centre});
    bar->addSeparator();
    bar->addActions({actions_.play, actions_.solve, actions_.solveAll});
}

}  // namespace quarbel::editor
