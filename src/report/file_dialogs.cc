#include "file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace report {
namespace {

QString& lastFolder() {
    static QString folder;
    return folder;
}

// Runs the dialog from the folder used last; a chosen file's folder becomes the next one.
QString chosenFile(QFileDialog& dialog) {
    dialog.setDirectory(lastFolder().isEmpty() ? QDir::homePath() : lastFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder() = QFileInfo(path).absolutePath();
    return path;
}

}  // namespace

QString chooseFileToSave(QWidget* parent, const QString& caption, const QString& filter, const QString& suffix) {
    QFileDialog dialog(parent, caption, {}, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix.mid(1));  // without its dot
    return chosenFile(dialog);
}

QString chooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter) {
    QFileDialog dialog(parent, caption, {}, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(dialog);
}

void forgetFileDialogFolder() { lastFolder().clear(); }

QString withDefaultSuffix(const QString& path, const QString& suffix) {
    return QFileInfo(path).suffix().isEmpty() ? path + suffix : path;
}

}  // namespace report
