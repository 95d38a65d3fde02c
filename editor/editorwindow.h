// The editor's main window: menus, tool bar, the level list beside the board, the pack's
// texts above it and the checks in the status bar. Every change goes to the document as an
// edit; the window redraws what the document says has changed.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <optional>

#include "core/files.h"
#include "core/gamestate.h"
#include "editor/document.h"
#include "editor/playsession.h"
#include "editor/solvequeue.h"
#include "editor/solverunner.h"
#include "ui/render/renderer.h"

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSplitter;

namespace quarbel::editor {

class BoardView;
class LevelList;

class EditorWindow : public QMainWindow {
  public:
    // The questions and messages the window puts to the author; the tests answer them.
    struct Prompts {
        enum class Answer { Save, Discard, Cancel };
        std::function<Answer(const QString& fileLabel)> askToSave;
        // Saving a pack with levels that fail a check goes ahead only when this says yes.
        std::function<bool(const QString& failingLevels)> confirmFailingLevels;
        std::function<QString()> chooseFileToOpen;
        std::function<QString(const QString& suggestion, bool asText)> chooseFileToSave;
        std::function<void(const QString& message)> showError;
        std::function<void(const QString& message)> showNotes;
        // Saving over a file that someone changed since it was opened or saved here.
        enum class Changed { Overwrite, SaveElsewhere, Cancel };
        std::function<Changed(const QString& fileLabel)> askChangedFile;
    };

    // Looks for the background and the tile sheet in the folders, in order.
    explicit EditorWindow(const QStringList& pictureFolders, QWidget* parent = nullptr);
    ~EditorWindow() override;

    // Beside the program first, then where the game installs its files.
    static QStringList standardPictureFolders();

    // Opens a file without asking about unsaved changes, as the command line does.
    bool openFile(const QString& fileName);

    Prompts prompts;
    const Document& document() const { return document_; }
    int currentLevel() const { return current_; }
    BoardView* boardView() const { return board_; }
    QString fileName() const { return fileName_; }
    bool playing() const { return play_.has_value(); }
    const GameState* playState() const { return play_ ? &play_->state() : nullptr; }
    SolveRunner& solveRunner() { return runner_; }
    const SolveResults& solveResults() const { return solveQueue_.results(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The questions asked with message boxes and file dialogs.
    void useDialogPrompts();

    struct Actions {
        QAction* newPack;
        QAction* open;
        QAction* save;
        QAction* saveAs;
        QAction* exportText;
        QAction* quit;
        QAction* undo;
        QAction* redo;
        QAction* addLevel;
        QAction* duplicateLevel;
        QAction* deleteLevel;
        QAction* moveUp;
        QAction* moveDown;
        QAction* shiftLeft;
        QAction* shiftRight;
        QAction* shiftUp;
        QAction* shiftDown;
        QAction* centre;
        QAction* play;
        QAction* watch;
        QAction* solve;
        QAction* solveAll;
        QAction* stop;
    };

    void buildActions();
    void buildMenus();
    void buildToolBar();
    QWidget* buildLevelPanel();
    QWidget* buildBoardPanel();
    QAction* addAction(const QString& name, const QString& text, const QList<QKeySequence>& keys,
                       const std::function<void()>& run);
    void loadPictures(const QStringList& folders);
    void restoreSettings();
    // The folder of the last file opened or saved, else the game's folder or the home folder.
    QString lastFolder() const;

    void documentChanged(const Change& change);
    void selectLevel(int index);
    void showLevel();
    void redrawBoard();
    void updateWindowTitle();
    void updateStatus();
    void updateActions();

    bool maybeSave();
    void newPack();
    void openPack();
    bool save();
    bool saveAs();
    bool writeTo(const QString& fileName);
    void exportAsText();

    void pressCell(Qt::MouseButton button, Cell cell);
    void dragTo(Cell cell);
    bool boardKey(QKeyEvent* event);

    // Starts the round the queue answers with nothing to say, or says why not.
    void startSolving(const std::optional<std::string>& refusal);
    void startWaitingSolves();
    void solveProgress(int index, qulonglong positions);
    void solveFinished(const SolveQueue::Job& job, const SolveOutcome& outcome);
    void showSolveProgress();
    void cancelSolving();

    void startPlaying(bool watchSolution);
    void stopPlaying();
    void stopPlayingOrSolving();

    Document document_;
    SolveQueue solveQueue_;
    SolveRunner runner_;
    Renderer renderer_;         // the board
    Renderer pictureRenderer_;  // the list's small pictures
    bool picturesLoaded_ = false;
    GameState view_;      // what the board shows while editing
    GameState playView_;  // and while playing: the renderer keeps its notes in the state
    std::optional<PlaySession> play_;
    QString fileName_;
    // Whether the file held nothing that the document left out when it was opened: only
    // then may a save go over it.
    bool fileKeepsAll_ = true;
    std::optional<FileStamp> fileStamp_;  // the file as it was opened or last saved here
    int current_ = 0;
    Tool tool_ = Tool::Wall;
    int stroke_ = 0;  // the drag in progress, 0 for none
    Tool strokeTool_ = Tool::Wall;
    Cell lastCell_;

    LevelList* levels_ = nullptr;
    QListView* levelView_ = nullptr;
    BoardView* board_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    QLineEdit* authorEdit_ = nullptr;
    QLineEdit* defaultAuthorEdit_ = nullptr;
    QLabel* checkLabel_ = nullptr;
    QLabel* solveLabel_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QActionGroup* tools_ = nullptr;
    Actions actions_{};
    QList<QAction*> editingActions_;  // off while playing
};

}  // namespace quarbel::editor
