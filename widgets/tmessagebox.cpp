#include "tmessagebox.h"

#include <QCoreApplication>
#include <QMessageBox>

std::function<bool(TMessageBox::TKind, const QString&, bool)> TMessageBox::Override;

namespace {

QMessageBox::Icon IconOf(TMessageBox::TKind kind) {
    switch (kind) {
    case TMessageBox::TKind::Warning:
        return QMessageBox::Warning;
    case TMessageBox::TKind::Error:
        return QMessageBox::Critical;
    case TMessageBox::TKind::Information:
        break;
    }
    return QMessageBox::Information;
}

bool Run(TMessageBox::TKind kind, const QString& text, bool yesNo, QWidget* parent) {
    if (TMessageBox::Override)
        return TMessageBox::Override(kind, text, yesNo);
    QMessageBox box(IconOf(kind), QCoreApplication::applicationName(), text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

void TMessageBox::Show(TKind kind, const QString& text, QWidget* parent) {
    Run(kind, text, false, parent);
}

bool TMessageBox::AskYesNo(TKind kind, const QString& text, QWidget* parent) {
    return Run(kind, text, true, parent);
}
