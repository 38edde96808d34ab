#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <optional>

class TZuIO;

// The value a write frame carries (" W<code><hex>\r"); none when it is no write frame.
std::optional<int> WriteFrameValue(const QByteArray& frame);

// What one user action did to one point: its value before and right after,
// and the write that was pending when the user acted.
struct TUserAction {
    char Code = 0;
    int Before = 0;
    int After = 0;
    bool PendingBefore = false;
    int PendingValueBefore = 0;
    int Instance = 0; // the simulator process current at the time
    QString Kind;
    bool Sets = true; // false for text that is no number: the user set nothing

    bool Changed() const { return Before != After; }
    // The value did not change although a write of another value was waiting:
    // that write goes out and the user's value does not.
    bool IneffectiveOverPendingWrite() const {
        return Sets && !Changed() && PendingBefore && PendingValueBefore != After;
    }
};

// Everything the scripted user did, point by point and by kind.
class TUserRecord {
public:
    // Takes the state of the point before an action.
    struct TBefore {
        int Value = 0;
        bool Pending = false;
        QByteArray PendingFrame;
    };
    static TBefore Capture(const TZuIO& point);

    // The action `kind` on `point` is done; `before` is what Capture gave before it.
    void Note(const TZuIO& point, const TBefore& before, const QString& kind, int instance,
              bool sets = true);
    // An action that concerns no single point (a button, a check box).
    void Count(const QString& kind) { ++FKinds[kind]; }

    const QMap<char, QList<TUserAction>>& Actions() const { return FActions; }
    // The last action that set the point; none when the user never set it.
    std::optional<TUserAction> LastSetting(char code) const;
    // Every value the point had right after an action that set it (low 16 bits).
    QSet<int> ValuesSet(char code) const;
    const QMap<QString, int>& Kinds() const { return FKinds; }
    // Actions noted, and about how much memory the record itself takes.
    int ActionCount() const;
    qint64 FootprintBytes() const;

private:
    QMap<char, QList<TUserAction>> FActions;
    QMap<QString, int> FKinds;
};
