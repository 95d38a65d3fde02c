// The editor's file flow: opening, saving and exporting, and the questions on the way.
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <cstdlib>

#include "editor/editorwindow.h"
#include "editor/packfile.h"
#include "launcher/playerfolder.h"

namespace quarbel::editor {

namespace {

constexpr auto SettingsFolder = "files/folder";

}  // namespace

void EditorWindow::useDialogPrompts() {
    prompts.askToSave = [this](const QString& fileLabel) {
        const auto answer = QMessageBox::question(
            this, "Unsaved changes", "Save the changes to " + fileLabel + "?",
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        return answer == QMessageBox::Save      ? Prompts::Answer::Save
               : answer == QMessageBox::Discard ? Prompts::Answer::Discard
                                                : Prompts::Answer::Cancel;
    };
    prompts.confirmFailingLevels = [this](const QString& failing) {
        return QMessageBox::warning(this, "Levels that cannot be played",
                                    failing + "\n\nSave the pack anyway?",
                                    QMessageBox::Save | QMessageBox::Cancel,
                                    QMessageBox::Cancel) == QMessageBox::Save;
    };
    prompts.chooseFileToOpen = [this] {
        return QFileDialog::getOpenFileName(
            this, "Open level pack", lastFolder(),
            "Level packs and collections (*.dat *.DAT *.txt *.sok *.xsb);;All files (*)");
    };
    prompts.chooseFileToSave = [this](const QString& suggestion, bool asText) {
        return QFileDialog::getSaveFileName(
            this, asText ? "Export as text" : "Save level pack", suggestion,
            asText ? "Text collections (*.txt)" : "Level packs (*.dat);;Text collections (*.txt)");
    };
    prompts.showError = [this](const QString& message) {
        QMessageBox::critical(this, "Level editor", message);
    };
    prompts.showNotes = [this](const QString& message) {
        QMessageBox::information(this, "Level editor", message);
    };
}

QString EditorWindow::lastFolder() const {
    const QString last = QSettings().value(SettingsFolder).toString();
    if (!last.isEmpty()) return last;
    // The installed game's folder, where the player's packs are, once the game has made it.
    try {
        const QString games = QString::fromStdString(
            playerFolderFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")).string());
        if (QFileInfo(games).isDir()) return games;
    } catch (const PlayerFolderError&) {
    }
    return QDir::homePath();
}

bool EditorWindow::openFile(const QString& fileName) {
    try {
        OpenedPack opened = editor::openFile(fileName.toStdString());
        stopPlaying();
        fileName_ = fileName;
        document_.reset(std::move(opened.pack));
        updateWindowTitle();
        QSettings().setValue(SettingsFolder, QFileInfo(fileName).absolutePath());
        if (!opened.notes.empty()) {
            QStringList notes;
            for (const std::string& note : opened.notes)
                notes << QString::fromStdString(note);
            prompts.showNotes(QFileInfo(fileName).fileName() +
                              " was opened without what a pack cannot hold:\n\n" +
                              notes.join("\n"));
        }
        statusBar()->showMessage("Opened " + fileName, 5000);
        return true;
    } catch (const FileError& error) {
        prompts.showError(QString::fromStdString(error.what()));
        return false;
    }
}

bool EditorWindow::maybeSave() {
    if (!document_.modified()) return true;
    const QString label = fileName_.isEmpty() ? "the new pack" : QFileInfo(fileName_).fileName();
    switch (prompts.askToSave(label)) {
        case Prompts::Answer::Save:
            return save();
        case Prompts::Answer::Discard:
            return true;
        case Prompts::Answer::Cancel:
            break;
    }
    return false;
}

void EditorWindow::newPack() {
    if (!maybeSave()) return;
    stopPlaying();
    fileName_.clear();
    document_.reset({});
    updateWindowTitle();
}

void EditorWindow::openPack() {
    if (!maybeSave()) return;
    const QString name = prompts.chooseFileToOpen();
    if (!name.isEmpty()) openFile(name);
}

bool EditorWindow::save() {
    return fileName_.isEmpty() ? saveAs() : writeTo(fileName_);
}

bool EditorWindow::saveAs() {
    const QString folder = lastFolder();
    const QString suggestion = fileName_.isEmpty() ? folder + "/levels.dat" : fileName_;
    const QString name = prompts.chooseFileToSave(suggestion, false);
    if (name.isEmpty() || !writeTo(name)) return false;
    fileName_ = name;
    QSettings().setValue(SettingsFolder, QFileInfo(name).absolutePath());
    updateWindowTitle();
    return true;
}

bool EditorWindow::writeTo(const QString& fileName) {
    const std::string warning = document_.saveWarning();
    if (!warning.empty() && !prompts.confirmFailingLevels(QString::fromStdString(warning)))
        return false;
    try {
        saveFile(fileName.toStdString(), document_.pack());
    } catch (const FileError& error) {
        prompts.showError(QString::fromStdString(error.what()));
        return false;
    }
    document_.markSaved();
    statusBar()->showMessage("Saved " + fileName, 5000);
    return true;
}

void EditorWindow::exportAsText() {
    const QString base = fileName_.isEmpty() ? lastFolder() + "/levels"
                                             : QFileInfo(fileName_).absolutePath() + "/" +
                                                   QFileInfo(fileName_).completeBaseName();
    const QString name = prompts.chooseFileToSave(base + ".txt", true);
    if (name.isEmpty()) return;
    try {
        editor::exportText(name.toStdString(), document_.pack());
        statusBar()->showMessage("Exported " + name, 5000);
    } catch (const FileError& error) {
        prompts.showError(QString::fromStdString(error.what()));
    }
}

}  // namespace quarbel::editor
