#include "tglodrikapplication.h"

#include <QMessageBox>

std::function<void(const QString&, const QString&)> TGlodrikApplication::ErrorBox =
    [](const QString& title, const QString& text) {
        QMessageBox::critical(QApplication::activeWindow(), title, text, QMessageBox::Ok);
    };

QString ErrorBoxText(const QString& message) {
    if (message.isEmpty() || message.endsWith(u'.'))
        return message;
    return message + u'.';
}

namespace {

QString applicationTitle = QStringLiteral("Glodrik");

} // namespace

TGlodrikApplication::TGlodrikApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(applicationTitle);
}

QString TGlodrikApplication::Title() {
    return applicationTitle;
}

void TGlodrikApplication::SetTitle(const QString& title) {
    applicationTitle = title;
    if (qApp)
        QCoreApplication::setApplicationName(title);
}

bool TGlodrikApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(QString());
    }
    return false;
}

void TGlodrikApplication::ShowException(const std::exception& error) {
    ShowException(QString::fromUtf8(error.what()));
}

void TGlodrikApplication::ShowException(const QString& message) {
    const auto box = ErrorBox;
    if (box)
        box(Title(), ErrorBoxText(message));
}
