// Modal message boxes. Every box of the programs goes through showMessage(), so a
// test can install a responder that records the box instead of showing it.
#pragma once

#include <functional>
#include <string>

namespace forms {

enum class MessageKind {
    Warning,  // warning icon, caption "Warning"
    Plain,    // no icon, the application's title as caption
    Error,    // stop icon, the application's title as caption (the error box)
};

struct ShownMessage {
    MessageKind kind;
    std::string caption;
    std::string text;
};

// Shows a modal box with one button "OK", centred on the screen's work area, and
// returns when it has been closed.
void showMessage(MessageKind kind, const std::string& caption, const std::string& text);

// The two boxes the programs' own code shows.
void showWarning(const std::string& text);       // caption "Warning"
void showPlainMessage(const std::string& text);  // caption: the application's title

// Replaces the real boxes (tests). The responder runs instead of the modal box; an
// empty responder restores the real boxes. Returns the previous responder.
using MessageResponder = std::function<void(const ShownMessage&)>;
MessageResponder setMessageResponder(MessageResponder responder);

}  // namespace forms
