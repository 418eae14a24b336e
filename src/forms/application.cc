#include "application.h"

#include <QApplication>
#include <exception>

#include "engine/database.h"
#include "font.h"
#include "form.h"
#include "login_dialog.h"
#include "message_box.h"

namespace forms {
namespace {

std::string& titleStorage() {
    static std::string title;
    return title;
}

Application* current = nullptr;

// The last character of UTF-8 text, decoded (0 for empty text).
char32_t lastCharacter(const std::string& text) {
    const QString s = QString::fromStdString(text);
    if (s.isEmpty()) return 0;
    const auto ucs4 = s.toUcs4();
    return ucs4.isEmpty() ? 0 : static_cast<char32_t>(ucs4.back());
}

}  // namespace

std::string titleFromExecutable(const std::string& path) {
    std::string name = path;
    if (const auto slash = name.find_last_of("/\\"); slash != std::string::npos) name.erase(0, slash + 1);
    if (const auto dot = name.find('.'); dot != std::string::npos) name.erase(dot);
    QString title = QString::fromStdString(name);
    if (title.size() > 1) title = title.left(1) + title.mid(1).toLower();
    return title.toStdString();
}

std::string applicationTitle() { return titleStorage(); }
void setApplicationTitle(const std::string& title) { titleStorage() = title; }

std::string errorBoxText(const std::string& message) {
    if (lastCharacter(message) > U'.') return message + ".";
    return message;
}

void showErrorBox(const std::string& message) {
    showMessage(MessageKind::Error, applicationTitle(), errorBoxText(message));
}

bool runHandler(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        showErrorBox(e.what());
    } catch (...) {
        showErrorBox("Unexpected error");
    }
    return false;
}

Application::Application(const std::string& executablePath)
    : title_(titleFromExecutable(executablePath)) {
    current = this;
    setApplicationTitle(title_);
    QCoreApplication::setApplicationName(QString::fromStdString(title_));
    installKoreanFace();
    installLoginDialog();
}

Application::~Application() {
    // Forms go in the reverse order of their creation.
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) delete it->data();
    forms_.clear();
    // The connections close here, while the program still runs: reader connections still
    // opening stop, and no database library is called after the process's exit handlers
    // (which shut down its TLS library) have run.
    engine::resetDatabases();
    if (current == this) current = nullptr;
}

Application* Application::instance() { return current; }

void Application::adopt(Form* form) {
    forms_.emplace_back(form);
    if (!mainForm_) {
        mainForm_ = form;
        form->setMainForm(true);
    }
    form->create();
}

int Application::run() {
    if (terminated_ || !mainForm_) return 0;
    mainForm_->show();
    running_ = true;
    const int code = QApplication::exec();
    running_ = false;
    return code;
}

void Application::terminate() {
    terminated_ = true;
    if (running_) QCoreApplication::exit(0);
}

}  // namespace forms
