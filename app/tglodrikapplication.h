#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

// The application object. An exception that leaves an event handler is
// shown in the standard error box and the program goes on.
//
// Qt's own code is not exception safe: an exception that unwinds through Qt
// frames (a slot called from a signal inside a widget's event handler) skips
// their clean-up. Handlers that can fail therefore run their body through
// Guarded, which shows the error where it arises; notify() is the last resort
// for whatever still escapes an event handler.
class TGlodrikApplication : public QApplication {
    Q_OBJECT

public:
    TGlodrikApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The application's title, shown on the task bar and over the error box.
    // (Kept apart from Qt's display name, which Qt would append to every
    // window caption.)
    static QString Title();
    static void SetTitle(const QString& title);

    // Shows the standard error box for an exception: the application's title,
    // an error icon, one OK button, and the message with a full stop.
    static void ShowException(const std::exception& error);
    static void ShowException(const QString& message);

    // Runs `body`; an exception it raises is shown in the error box and goes no further.
    template <typename Body> static void Guarded(Body&& body) noexcept {
        try {
            body();
        } catch (const std::exception& error) {
            ShowException(error);
        } catch (...) {
            ShowException(QString());
        }
    }

    // Where the error box goes; tests replace it to see what would be shown.
    static std::function<void(const QString& title, const QString& text)> ErrorBox;
};

// The text of the error box for an exception's message: a full stop is
// appended unless the message already ends in one (or is empty).
QString ErrorBoxText(const QString& message);
