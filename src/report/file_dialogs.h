// The file dialogs of the preview window. They open in the folder where the user last
// chose a file, kept for the life of the program, or in the user's home folder before
// that, never in the program's working folder.
#pragma once

#include <QString>

class QWidget;

namespace report {

// Asks the user for a file to write; empty when the user cancelled. A name typed
// without an extension gets `suffix` (".pdf"), so the dialog asks before replacing the
// file that will really be written.
QString chooseFileToSave(QWidget* parent, const QString& caption, const QString& filter, const QString& suffix);
// Asks the user for an existing file; empty when the user cancelled.
QString chooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter);

// Forgets the folder used last (tests).
void forgetFileDialogFolder();

// The path with `suffix` (".pdf") added when its file name has no extension.
QString withDefaultSuffix(const QString& path, const QString& suffix);

}  // namespace report
