// The preview window as the user works it: keys that turn the pages and close it, the
// printer set-up dialog's buttons, PDF names and where the file dialogs open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "open_preview.h"
#include "report/file_dialogs.h"

namespace {

// Answers the real file dialogs in turn, each with a file name or (empty) Cancel, and
// keeps the folder each one opened in. Dialogs beyond the answers are cancelled.
struct FileDialogAnswers : QObject {
    explicit FileDialogAnswers(std::vector<QString> answers) : answers_(std::move(answers)) {
        report::forgetFileDialogFolder();
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            folders.push_back(dialog->directory().absolutePath());
            const QString answer = folders.size() <= answers_.size() ? answers_[folders.size() - 1] : QString();
            if (answer.isEmpty()) {
                dialog->reject();
                return;
            }
            // Typed into the file name field, as a user may type a whole path.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(answer);
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            buttons->button(dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                              : QDialogButtonBox::Open)->click();
        });
        timer_.start(20);
    }
    ~FileDialogAnswers() override { report::forgetFileDialogFolder(); }
    std::vector<QString> folders;

private:
    std::vector<QString> answers_;
    QTimer timer_;
};

// HOME pointed at a folder for the test's life.
struct HomeFolder {
    explicit HomeFolder(const QString& path) : saved_(qgetenv("HOME")) { qputenv("HOME", path.toUtf8()); }
    ~HomeFolder() { qputenv("HOME", saved_); }

private:
    QByteArray saved_;
};

}  // namespace

TEST(PreviewWindow, PageKeysTurnThePagesAndEscapeCloses) {
    OpenPreview open(120);
    report::PreviewWindow& preview = open.preview;
    const int last = static_cast<int>(preview.produced().pages.size()) - 1;
    ASSERT_GE(last, 2);
    preview.show();
    QApplication::setActiveWindow(&preview);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    // The keys go to whatever inside the window has the focus: the page area.
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &preview;
    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_PageDown, 1}, {Qt::Key_PageDown, 2}, {Qt::Key_PageUp, 1},
                                             {Qt::Key_End, last},   {Qt::Key_Home, 0},     {Qt::Key_PageUp, 0}};
    for (const auto& [key, page] : steps) {
        QTest::keyClick(target, key);
        EXPECT_EQ(preview.currentPage(), page) << QKeySequence(key).toString().toStdString();
    }
    QTest::keyClick(target, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
}

TEST(PreviewWindow, PrinterSetupButtonsSayTheySetThePrinterUp) {
    OpenPreview open;
    QStringList texts;
    QString title;
    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitFor([] { return qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()); }, 5000))
            return;
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        title = dialog->windowTitle();
        for (auto* buttons : dialog->findChildren<QDialogButtonBox*>(Qt::FindDirectChildrenOnly))
            for (QAbstractButton* button : buttons->buttons()) texts << button->text().remove('&');
        dialog->reject();
    });
    open.preview.printerSetup();
    EXPECT_EQ(title, "Printer setup");
    EXPECT_TRUE(texts.contains("OK")) << texts.join(", ").toStdString();
    EXPECT_TRUE(texts.contains("Cancel")) << texts.join(", ").toStdString();
    EXPECT_FALSE(texts.contains("Print")) << texts.join(", ").toStdString();
}

// A PDF named without an extension gets ".pdf"; one with an extension keeps it.
TEST(PreviewWindow, PdfExportAddsItsExtensionToABareName) {
    OpenPreview open;
    QTemporaryDir dir;
    ASSERT_TRUE(open.preview.exportPdfTo(dir.filePath("summary")));
    EXPECT_TRUE(QFile::exists(dir.filePath("summary.pdf")));
    EXPECT_FALSE(QFile::exists(dir.filePath("summary")));
    ASSERT_TRUE(open.preview.exportPdfTo(dir.filePath("summary.v2")));
    EXPECT_TRUE(QFile::exists(dir.filePath("summary.v2")));
}

// The first dialog opens in the home folder, not the working folder; every later one in
// the folder of the file chosen last, also in another preview; a cancelled dialog
// changes nothing.
TEST(PreviewWindow, FileDialogsOpenAtHomeThenWhereTheLastFileWasChosen) {
    QTemporaryDir home, work, elsewhere;
    HomeFolder homeFolder(home.path());
    const QString workingFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    QDir(elsewhere.path()).mkdir("reports");
    const QString reports = QDir(elsewhere.filePath("reports")).absolutePath();
    FileDialogAnswers dialogs({reports + "/summary", QString(), reports + "/copy", reports + "/copy.rep"});
    {
        OpenPreview open;
        open.preview.exportPdf();
        open.preview.save();
    }
    OpenPreview another;
    another.preview.save();
    another.preview.load();
    QDir::setCurrent(workingFolder);

    EXPECT_TRUE(QFile::exists(reports + "/summary.pdf"));
    EXPECT_TRUE(QFile::exists(reports + "/copy.rep"));
    ASSERT_EQ(dialogs.folders.size(), 4u);
    EXPECT_EQ(dialogs.folders[0], QDir(home.path()).absolutePath());
    for (std::size_t i = 1; i < dialogs.folders.size(); ++i) EXPECT_EQ(dialogs.folders[i], reports) << i;
}
