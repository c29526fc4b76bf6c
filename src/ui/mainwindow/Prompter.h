#pragma once
// The one service through which the main window and its dialogs speak to the user:
// messages, confirmations and file choices. Windows get it injected, so tests can script
// the answers and read back every text; the application uses message boxes and file dialogs.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "numerics/Reporter.h"
#include "ui/mainwindow/MessageBoxReporter.h"

// What a file dialog chooses. Each kind's dialog opens in the folder last used for that
// kind while the program runs (the user's home folder at first); the two kinds of export
// share theirs.
enum class FileKind {
    Workbook,      // a workbook to read
    Project,       // a project file; a save writes a new project folder named after it
    Export,        // a series export written into the chosen file
    ExportFolder,  // a series export written into a new folder named after the chosen file
    Report,        // an HTML report, written into a new folder named after the chosen file
    ModelExport,   // a single-model file, written into the chosen file
};

// A save dialog's own title and the file name it proposes (both optional).
struct SaveDialogText {
    std::string title;
    std::string fileName;
};

class Prompter : public Reporter {
public:
    // A file to open, chosen under a filter such as "Проект|*.prj|Все файлы|*.*" (empty:
    // no filter); nullopt when the user cancels.
    virtual std::optional<std::string> openFileName(FileKind kind, const std::string& filter) = 0;
    // A file name to save under; nullopt when the user cancels. The dialog itself never
    // asks before replacing a file: a save that writes another name than the one typed
    // (an extension added or changed) asks about the file it writes, with mayReplaceFile.
    virtual std::optional<std::string> saveFileName(FileKind kind, const std::string& filter,
                                                    const SaveDialogText& text = {}) = 0;
};

// The file a save writes for the name chosen: `extension` (".sm") replaces the name's own
// extension when that differs in any letter ("model.txt" and "model.SM" give "model.sm")
// and is appended when there is none ("model"). The extension is the last component's
// text from its last "." on, so a name that is only an extension (".sm") keeps it. With
// `keepOther`, a different extension stays ("data.txt"); only a missing one is added.
std::string withExtension(const std::string& chosen, const std::string& extension, bool keepOther = false);
// Before a save replaces a file: true when `path` holds no file; otherwise asks
// "Файл "<name>" уже существует. Заменить его?" and tells whether the user agreed.
bool mayReplaceFile(Prompter& prompter, const std::string& path);

// Converts "Проект|*.prj|Все файлы|*.*" into Qt's "Проект (*.prj);;Все файлы (*.*)".
QString qtFileFilter(const std::string& filter);

// Qt's own file dialog (not the desktop's, so it speaks Russian everywhere, file sizes and
// dates included) for a kind of file, opened in that kind's folder; the folder of the file
// chosen becomes the kind's folder. nullopt when the user cancels.
std::optional<std::string> chooseFile(QWidget* parent, FileKind kind, const std::string& filter, bool save,
                                      const SaveDialogText& text = {});
// The folder the dialogs of a kind open in now.
QString fileKindFolder(FileKind kind);
// Forgets every remembered folder (tests).
void forgetFileKindFolders();

// Message boxes and file dialogs on the GUI thread, parented to a window.
class DialogPrompter : public Prompter {
public:
    explicit DialogPrompter(QWidget* parent = nullptr) : parent_(parent), boxes_(parent) {}
    void message(const std::string& text) override;
    void error(const std::string& text) override;
    void information(const std::string& text) override;
    bool confirmation(const std::string& text) override;
    std::optional<std::string> openFileName(FileKind kind, const std::string& filter) override;
    std::optional<std::string> saveFileName(FileKind kind, const std::string& filter,
                                            const SaveDialogText& text = {}) override;

private:
    QPointer<QWidget> parent_;
    MessageBoxReporter boxes_;
};

// Records every text and answers from scripts: confirmations OK when the script is empty,
// file dialogs cancelled when theirs is empty.
class ScriptedPrompter : public Prompter {
public:
    RecordingReporter record;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    int openAsked = 0;
    int saveAsked = 0;
    // The kinds of the dialogs asked for, in order.
    std::vector<FileKind> kindsAsked;
    // The title and proposed name of the last save dialog.
    SaveDialogText lastSaveText;

    void message(const std::string& text) override { record.message(text); }
    void error(const std::string& text) override { record.error(text); }
    void information(const std::string& text) override { record.information(text); }
    bool confirmation(const std::string& text) override { return record.confirmation(text); }
    std::optional<std::string> openFileName(FileKind kind, const std::string&) override {
        ++openAsked;
        kindsAsked.push_back(kind);
        return pop(openAnswers);
    }
    std::optional<std::string> saveFileName(FileKind kind, const std::string&,
                                            const SaveDialogText& text = {}) override {
        ++saveAsked;
        kindsAsked.push_back(kind);
        lastSaveText = text;
        return pop(saveAnswers);
    }

private:
    static std::optional<std::string> pop(std::deque<std::optional<std::string>>& q) {
        if (q.empty()) return std::nullopt;
        auto a = q.front();
        q.pop_front();
        return a;
    }
};
