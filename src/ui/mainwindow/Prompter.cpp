#include "ui/mainwindow/Prompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStringList>
#include <array>
#include <filesystem>

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

// The file list of the dialog with sizes, dates and the type of folders in Russian: Qt
// writes them in the system locale (English under LANG=C), and its translation has no
// word for "Folder".
class RussianFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() < 1 || index.column() > 3)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const bool folder = files->isDir(source);
        switch (index.column()) {
            case 1: return folder ? QString() : sizeText(files->size(source));
            case 2: return folder ? QStringLiteral("Папка") : QIdentityProxyModel::data(index, role);
            default: return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        }
    }

private:
    static QString sizeText(qint64 bytes) {
        if (bytes < 1024) return QString::number(bytes) + QStringLiteral(" байт");
        return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
    }
};

// Remembered folders: workbooks, projects, exports, reports, model files.
constexpr int kFolderSlots = 5;

int folderSlot(FileKind kind) {
    switch (kind) {
        case FileKind::Workbook: return 0;
        case FileKind::Project: return 1;
        case FileKind::Export:
        case FileKind::ExportFolder: return 2;
        case FileKind::Report: return 3;
        case FileKind::ModelExport: return 4;
    }
    return 0;
}

std::array<QString, kFolderSlots>& rememberedFolders() {
    static std::array<QString, kFolderSlots> folders;
    return folders;
}

}  // namespace

QString fileKindFolder(FileKind kind) {
    const QString& folder = rememberedFolders()[static_cast<size_t>(folderSlot(kind))];
    return folder.isEmpty() || !QFileInfo(folder).isDir() ? QDir::homePath() : folder;
}

void forgetFileKindFolders() {
    for (QString& f : rememberedFolders()) f.clear();
}

std::optional<std::string> chooseFile(QWidget* parent, FileKind kind, const std::string& filter, bool save,
                                      const SaveDialogText& text) {
    QFileDialog dialog(parent, QString::fromStdString(text.title), fileKindFolder(kind), qtFileFilter(filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new RussianFileList(&dialog));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // Qt would ask about the name typed; the callers ask about the file they write (a
        // project, a report or a folder export writes a new folder and replaces nothing).
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        // A name typed without an extension gets the first filter's one ("*.prj" gives "prj").
        const QStringList parts = qs(filter).split(QLatin1Char('|'));
        if (parts.size() >= 2 && parts[1].startsWith(QStringLiteral("*."))) {
            const QString ext = parts[1].mid(2).section(QLatin1Char(';'), 0, 0);
            if (!ext.isEmpty() && !ext.contains(QLatin1Char('*'))) dialog.setDefaultSuffix(ext);
        }
        if (!text.fileName.empty()) dialog.selectFile(QString::fromStdString(text.fileName));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    rememberedFolders()[static_cast<size_t>(folderSlot(kind))] = QFileInfo(chosen).absolutePath();
    return QFile::encodeName(chosen).toStdString();
}

std::string withExtension(const std::string& chosen, const std::string& extension, bool keepOther) {
    const size_t slash = chosen.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = chosen.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    if (!hasExtension) return chosen + extension;
    if (keepOther || chosen.compare(dot, std::string::npos, extension) == 0) return chosen;
    return chosen.substr(0, dot) + extension;
}

bool mayReplaceFile(Prompter& prompter, const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p(path);
    // A folder of that name is not replaced: the write fails and says so.
    if (!std::filesystem::exists(p, ec) || std::filesystem::is_directory(p, ec)) return true;
    return prompter.confirmation("Файл \"" + p.filename().string() + "\" уже существует. Заменить его?");
}

QString qtFileFilter(const std::string& filter) {
    const QStringList parts = qs(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

void DialogPrompter::message(const std::string& text) { boxes_.message(text); }

void DialogPrompter::error(const std::string& text) { boxes_.error(text); }

void DialogPrompter::information(const std::string& text) { boxes_.information(text); }

bool DialogPrompter::confirmation(const std::string& text) { return boxes_.confirmation(text); }

std::optional<std::string> DialogPrompter::openFileName(FileKind kind, const std::string& filter) {
    return chooseFile(parent_, kind, filter, false);
}

std::optional<std::string> DialogPrompter::saveFileName(FileKind kind, const std::string& filter,
                                                        const SaveDialogText& text) {
    return chooseFile(parent_, kind, filter, true, text);
}
