// The "Database Login" dialog the database layer shows when an alias asks for a
// login: the database, the user name and the password (echoed as "*"), each at most
// 31 characters; the focus starts in the password, or in the user name when it is
// empty. "&OK" logs in, "Cancel" cancels the connection.
#pragma once

#include <QDialog>

#include "engine/database.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace forms {

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxLength = 31;

    explicit LoginDialog(const engine::LoginRequest& request, QWidget* parent = nullptr);

    QLineEdit* userNameEdit() const { return userName_; }
    QLineEdit* passwordEdit() const { return password_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // The request with the user's entries.
    engine::LoginRequest result() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    engine::LoginRequest request_;
    QLabel* database_;
    QLineEdit* userName_;
    QLineEdit* password_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Shows the dialog modally; false when cancelled. The database layer's login handler.
bool askLogin(engine::LoginRequest& request);

// Makes askLogin the database layer's login handler.
void installLoginDialog();

}  // namespace forms
