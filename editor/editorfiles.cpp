// The editor's file flow: opening, saving and exporting, and the questions on the way.
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <cstdlib>

#include "core/filefinder.h"
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
    prompts.askChangedFile = [this](const QString& fileLabel) {
        QMessageBox box(QMessageBox::Warning, "File changed",
                        fileLabel +
                            " was changed on the disk since it was opened here. Saving over it "
                            "loses those changes.",
                        QMessageBox::Cancel, this);
        const QAbstractButton* overwrite = box.addButton("Overwrite", QMessageBox::DestructiveRole);
        QPushButton* elsewhere = box.addButton("Save Elsewhere...", QMessageBox::AcceptRole);
        box.setDefaultButton(elsewhere);
        box.exec();
        return box.clickedButton() == overwrite   ? Prompts::Changed::Overwrite
               : box.clickedButton() == elsewhere ? Prompts::Changed::SaveElsewhere
                                                  : Prompts::Changed::Cancel;
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
        const std::optional<FileStamp> stamp = stampOf(fileName.toStdString());
        OpenedPack opened = editor::openFile(fileName.toStdString());
        stopPlaying();
        fileName_ = fileName;
        fileKeepsAll_ = opened.notes.empty();
        fileStamp_ = stamp;
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
    fileKeepsAll_ = true;
    fileStamp_.reset();
    document_.reset({});
    updateWindowTitle();
}

void EditorWindow::openPack() {
    if (!maybeSave()) return;
    const QString name = prompts.chooseFileToOpen();
    if (!name.isEmpty()) openFile(name);
}

bool EditorWindow::save() {
    if (fileName_.isEmpty()) return saveAs();
    if (!fileKeepsAll_) {
        prompts.showNotes(QFileInfo(fileName_).fileName() +
                          " was opened without some of what it holds, as the notes on opening "
                          "said. Saving over it would lose that, so save under a new name.");
        return saveAs();
    }
    const std::optional<FileStamp> now = stampOf(fileName_.toStdString());
    if (fileStamp_ && now && *now != *fileStamp_) {
        switch (prompts.askChangedFile(QFileInfo(fileName_).fileName())) {
            case Prompts::Changed::Overwrite:
                break;
            case Prompts::Changed::SaveElsewhere:
                return saveAs();
            case Prompts::Changed::Cancel:
                return false;
        }
    }
    return writeTo(fileName_);
}

bool EditorWindow::saveAs() {
    QString suggestion = fileName_.isEmpty() ? lastFolder() + "/levels.dat" : fileName_;
    if (!fileKeepsAll_) {
        // A pack by default, beside the file, never the file itself.
        const QFileInfo file(fileName_);
        suggestion = file.absolutePath() + "/" + file.completeBaseName() + ".dat";
        if (isPackFileName(fileName_.toStdString())) {
            suggestion = file.absolutePath() + "/" + file.completeBaseName() + "-edited.dat";
        }
    }
    const QString name = prompts.chooseFileToSave(suggestion, false);
    if (name.isEmpty() || !writeTo(name)) return false;
    fileName_ = name;
    fileKeepsAll_ = true;
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
    fileStamp_ = stampOf(fileName.toStdString());
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
