#include "login_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace forms {
namespace {

QString limited(const std::string& text) {
    return QString::fromStdString(text).left(LoginDialog::kMaxLength);
}

}  // namespace

LoginDialog::LoginDialog(const engine::LoginRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QStringLiteral("Database Login"));
    setModal(true);

    database_ = new QLabel(limited(request.database), this);
    userName_ = new QLineEdit(limited(request.userName), this);
    userName_->setMaxLength(kMaxLength);
    password_ = new QLineEdit(limited(request.password), this);
    password_->setMaxLength(kMaxLength);
    password_->setEchoMode(QLineEdit::Password);
    password_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Database:"), database_);
    fields->addRow(QStringLiteral("&User Name:"), userName_);
    fields->addRow(QStringLiteral("&Password:"), password_);

    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ok_, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel_, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

void LoginDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    (userName_->text().isEmpty() ? userName_ : password_)->setFocus();
}

engine::LoginRequest LoginDialog::result() const {
    engine::LoginRequest out = request_;
    out.userName = userName_->text().toStdString();
    out.password = password_->text().toStdString();
    return out;
}

bool askLogin(engine::LoginRequest& request) {
    LoginDialog dialog(request, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return false;
    request = dialog.result();
    return true;
}

void installLoginDialog() { engine::setLoginHandler(askLogin); }

}  // namespace forms
