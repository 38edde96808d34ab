#include "tst_application.h"

#include <QPushButton>
#include <QTest>

#include <stdexcept>

void TestApplication::errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("full stop added") << "Port saknas"
                                     << "Port saknas.";
    QTest::newRow("full stop kept") << "Port saknas."
                                    << "Port saknas.";
    QTest::newRow("other ending") << "Fel!"
                                  << "Fel!.";
    QTest::newRow("empty stays empty") << ""
                                       << "";
}

void TestApplication::errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
}

namespace {

// Collects what the error box would show while it lives.
struct ErrorBoxSpy {
    ErrorBoxSpy() : FPrevious(TGlodrikApplication::ErrorBox) {
        TGlodrikApplication::ErrorBox = [this](const QString& title, const QString& text) {
            shown << title + u'|' + text;
        };
    }
    ~ErrorBoxSpy() { TGlodrikApplication::ErrorBox = FPrevious; }
    QStringList shown;

private:
    std::function<void(const QString&, const QString&)> FPrevious;
};

// An object whose event handler fails.
class FailingObject : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Händelsen misslyckades");
        return QObject::event(event);
    }
};

} // namespace

void TestApplication::guardedHandlerShowsErrorAndProgramGoesOn() {
    ErrorBoxSpy spy;
    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        TGlodrikApplication::Guarded([&] {
            ++clicks;
            if (clicks == 1)
                throw std::runtime_error("Det gick inte");
        });
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(spy.shown, QStringList{QStringLiteral("Glodrik|Det gick inte.")});
}

void TestApplication::exceptionLeavingAnEventHandlerIsShown() {
    ErrorBoxSpy spy;
    FailingObject object;
    QEvent event(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&object, &event), false);
    QCOMPARE(spy.shown, QStringList{QString::fromUtf8("Glodrik|Händelsen misslyckades.")});
}
