#include "soakrecord.h"

#include "tzuio.h"

std::optional<int> WriteFrameValue(const QByteArray& frame) {
    if (frame.size() < 5 || frame[0] != ' ' || frame[1] != 'W' || !frame.endsWith('\r'))
        return std::nullopt;
    bool ok = false;
    const int value = frame.mid(3, frame.size() - 4).toInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return value;
}

TUserRecord::TBefore TUserRecord::Capture(const TZuIO& point) {
    return {point.Value(), point.WriteRequest, point.WriteMsg};
}

void TUserRecord::Note(const TZuIO& point, const TBefore& before, const QString& kind, int instance,
                       bool sets) {
    TUserAction action;
    action.Code = point.MsgCode();
    action.Before = before.Value & 0xFFFF;
    action.After = point.Value() & 0xFFFF;
    action.PendingBefore = before.Pending;
    action.PendingValueBefore = WriteFrameValue(before.PendingFrame).value_or(-1) & 0xFFFF;
    action.Instance = instance;
    // One shared copy of each kind's text, so that the footprint is the lists'.
    auto counted = FKinds.find(kind);
    if (counted == FKinds.end())
        counted = FKinds.insert(kind, 0);
    ++counted.value();
    action.Kind = counted.key();
    action.Sets = sets;
    FActions[action.Code].append(action);
}

QSet<int> TUserRecord::ValuesSet(char code) const {
    QSet<int> values;
    for (const TUserAction& action : FActions.value(code)) {
        if (action.Sets)
            values.insert(action.After);
    }
    return values;
}

std::optional<TUserAction> TUserRecord::LastSetting(char code) const {
    const QList<TUserAction> actions = FActions.value(code);
    for (auto it = actions.crbegin(); it != actions.crend(); ++it) {
        if (it->Sets)
            return *it;
    }
    return std::nullopt;
}

int TUserRecord::ActionCount() const {
    int count = 0;
    for (const QList<TUserAction>& actions : FActions)
        count += int(actions.size());
    return count;
}

qint64 TUserRecord::FootprintBytes() const {
    qint64 bytes = 0;
    for (const QList<TUserAction>& actions : FActions)
        bytes += actions.capacity() * qint64(sizeof(TUserAction));
    return bytes;
}
