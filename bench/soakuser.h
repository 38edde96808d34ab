#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <random>

class QAbstractButton;
class QLineEdit;
class TFormMain;
class TUserRecord;
class TZuBit;
class TZuIO;

// A technician at the window, driven by timers on the user-interface thread
// (so its actions also land inside a transaction's wait, as real input does):
// types values into the parameter boxes and presses Enter, clicks output
// lamps, presses "Uppdatera Skärm", ticks "Visa i realtid" and the
// older-version box, and disconnects and connects again. Every action goes
// through Qt's own mouse and key events.
class TScriptedUser : public QObject {
public:
    TScriptedUser(TFormMain& form, TUserRecord& record, quint32 seed,
                  std::function<int()> currentInstance);

    void Start();
    void Stop();
    // Whether the user may press "Anslut" (not while the soak changes simulators).
    void AllowLink(bool allowed) { FLinkAllowed = allowed; }
    int Reconnects() const { return FReconnects; }

private:
    void ScheduleNext();
    int ChooseAction();
    void Act();
    void EditParameter(bool leaveByFocus);
    void TypeInvalidText();
    void ClickLamp();
    void Press(QAbstractButton& button, const QString& kind);
    void Disconnect();
    void ConnectAfter(int ms);
    void ConnectNow(const QString& kind);

    QString ValueText(TZuIO& point);
    // Replaces the box's text by typing; Enter, or focus to another control, ends the edit.
    bool Type(QLineEdit& edit, const QString& text, bool leaveByFocus);
    int Between(int low, int high);

    TFormMain& FForm;
    TUserRecord& FRecord;
    std::mt19937 FRandom;
    std::function<int()> FCurrentInstance;
    QTimer FTimer;
    bool FLinkAllowed = false;
    bool FRunning = false;
    int FReconnects = 0;
    QList<TZuIO*> FEditable;
    QList<TZuBit*> FLamps;
};
