#pragma once

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <QTimer>

#include <functional>
#include <type_traits>

#include <memory>

// Sets the default locale for the lifetime of the object.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : FPrevious(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~LocaleScope() { QLocale::setDefault(FPrevious); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale FPrevious;
};

inline QLocale SwedishLocale() {
    return QLocale(QLocale::Swedish, QLocale::Sweden);
}
inline QLocale PointLocale() {
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

// The locale a data row names: "sv" for Swedish, "en" for a point locale.
inline QLocale LocaleNamed(const QString& name) {
    return name == QLatin1String("sv") ? SwedishLocale() : PointLocale();
}

template <typename Test> int RunTest(int argc, char** argv) {
    Test test;
    return QTest::qExec(&test, argc, argv);
}

// Runs several test classes in one executable; the exit code is non-zero when any failed.
template <typename... Tests> int RunTests(int argc, char** argv) {
    QApplication application(argc, argv);
    int status = 0;
    ((status |= RunTest<Tests>(argc, argv)), ...);
    return status;
}

// Runs `action` on the modal dialog of type T (any modal widget for QWidget)
// as soon as one is shown; the poll timer belongs to `owner` when given.
template <typename T = QWidget>
void OnModal(std::type_identity_t<std::function<void(T*)>> action, QObject* owner = nullptr) {
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start(5);
}
