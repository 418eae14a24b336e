// The application object: its title, the forms it owns, the error box for errors
// that escape an event handler, and the message loop.
#pragma once

#include <QPointer>
#include <functional>
#include <string>
#include <vector>

namespace forms {

class Form;

// The title an executable's path gives the application: the file name without its
// folder and without everything from the first ".", every character after the first
// in lower case ("/opt/x/DAY_MORVEL.bin" -> "Day_morvel").
std::string titleFromExecutable(const std::string& path);

// The application's title (captions of plain and error boxes). Empty until an
// Application exists, unless a test sets it.
std::string applicationTitle();
void setApplicationTitle(const std::string& title);

// The text of the error box for an error's message: a "." is added when the last
// character sorts after "." (so "...failed" gets one, "...'Account'" does not).
std::string errorBoxText(const std::string& message);

// Shows the error box (stop icon, the application's title, one "OK").
void showErrorBox(const std::string& message);

// Runs an event handler. An error that escapes it ends the handler there (what ran
// before stays done) and is shown in the error box; the program goes on.
// Returns true when the handler completed.
bool runHandler(const std::function<void()>& handler);

class Application {
public:
    // `executablePath` is argv[0]; it gives the title. Installs the Korean face
    // substitution and the database login dialog. One per process.
    explicit Application(const std::string& executablePath);
    // Frees the forms it owns, then closes every database connection.
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* instance();

    const std::string& title() const { return title_; }

    // Creates a form owned by the application into `reference` (set before the form's
    // creation handler runs), then runs its creation handler. The first form created
    // becomes the main form.
    template <class T>
    T* createForm(T*& reference) {
        T* form = new T();
        reference = form;
        adopt(form);
        return form;
    }

    Form* mainForm() const { return mainForm_; }

    // Shows the main form and dispatches events until the application is told to end.
    int run();
    // Ends the message loop (the main form's close does this).
    void terminate();
    bool terminated() const { return terminated_; }

private:
    void adopt(Form* form);

    std::string title_;
    std::vector<QPointer<Form>> forms_;
    Form* mainForm_ = nullptr;
    bool running_ = false;
    bool terminated_ = false;
};

}  // namespace forms
