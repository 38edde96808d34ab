#include "soakchecks.h"

#include <optional>

namespace {

QString Hex(int value) {
    return QString::number(value, 16).toUpper();
}

QString Printable(const QByteArray& frame) {
    QByteArray text = frame;
    text.replace('\r', "\\r").replace('\n', "\\n");
    return QString::fromLatin1(text);
}

QString Where(const TWriteSeen& write) {
    return QStringLiteral("simulator #%1 at %2 s").arg(write.Instance).arg(write.Time, 0, 'f', 3);
}

// No frame the user did not cause: each carries a value the point had right after a
// user action, and every frame is well formed.
void CheckEveryFrame(const TWriteEvidence& evidence, TWriteVerdict& verdict) {
    QMap<char, QSet<int>> allowed;
    for (const TTranscript& transcript : evidence.Transcripts) {
        for (const QByteArray& frame : transcript.Malformed)
            verdict.Failures << QStringLiteral("malformed request \"%1\" at simulator #%2")
                                    .arg(Printable(frame))
                                    .arg(transcript.Instance);
        for (const TWriteSeen& write : transcript.Writes) {
            ++verdict.FramesChecked;
            if (!allowed.contains(write.Code))
                allowed[write.Code] = evidence.Record->ValuesSet(write.Code);
            if (!allowed[write.Code].contains(write.Value & 0xFFFF))
                verdict.Failures << QStringLiteral("unexpected write \"%1\" (%2): the user never "
                                                   "gave point %3 the value %4")
                                        .arg(Printable(write.Frame), Where(write))
                                        .arg(QChar::fromLatin1(write.Code))
                                        .arg(Hex(write.Value));
        }
    }
}

std::optional<TWriteSeen> LastWrite(const TWriteEvidence& evidence, char code,
                                    std::optional<int> instance = std::nullopt) {
    std::optional<TWriteSeen> last;
    for (const TTranscript& transcript : evidence.Transcripts) {
        if (instance && transcript.Instance != *instance)
            continue;
        for (const TWriteSeen& write : transcript.Writes) {
            if (write.Code == code)
                last = write;
        }
    }
    return last;
}

QString Describe(const TUserAction& action) {
    QString text =
        QStringLiteral("%1: %2 -> %3").arg(action.Kind, Hex(action.Before), Hex(action.After));
    if (action.PendingBefore)
        text += QStringLiteral(", a write of %1 was pending").arg(Hex(action.PendingValueBefore));
    return text;
}

// The last value the user set for each point is the last one a simulator received.
void CheckLastValues(const TWriteEvidence& evidence, TWriteVerdict& verdict) {
    const auto& actions = evidence.Record->Actions();
    for (auto it = actions.cbegin(); it != actions.cend(); ++it) {
        const char code = it.key();
        const std::optional<TUserAction> last = evidence.Record->LastSetting(code);
        if (!last)
            continue;
        ++verdict.PointsChecked;
        // A setting that changed nothing, with nothing pending, owes the line no frame:
        // the value shown was the controller's already.
        if (!last->Changed() && !last->PendingBefore) {
            ++verdict.NoWriteNeeded;
            continue;
        }
        const std::optional<TWriteSeen> write = LastWrite(evidence, code);
        const QString point = QString(QChar::fromLatin1(code));
        if (!write) {
            verdict.Failures << QStringLiteral("lost write: point %1 never reached a simulator "
                                               "(user's last action %2)")
                                    .arg(point, Describe(*last));
        } else if ((write->Value & 0xFFFF) != last->After) {
            verdict.Failures << QStringLiteral("lost write: point %1's last write carries %2 (%3) "
                                               "but the user's last value is %4 (%5)")
                                    .arg(point, Hex(write->Value), Where(*write), Hex(last->After),
                                         Describe(*last));
        } else {
            ++verdict.PointsReached;
        }
    }
}

// Every setting is queued when it is made. One that leaves the point's value as it
// was, while a write of another value waits, queues nothing: the older write
// stays in its place (the window shows the user's value, the controller is sent
// the older one unless a later setting replaces it).
void CheckSettingsAtTheirTime(const TWriteEvidence& evidence, TWriteVerdict& verdict) {
    constexpr int kShown = 5;
    const auto& actions = evidence.Record->Actions();
    for (auto it = actions.cbegin(); it != actions.cend(); ++it) {
        for (const TUserAction& action : it.value()) {
            if (!action.IneffectiveOverPendingWrite())
                continue;
            if (++verdict.SettingsLost <= kShown)
                verdict.Failures << QStringLiteral("lost setting: point %1 (%2) at simulator #%3; "
                                                   "the write of %4 stayed queued instead")
                                        .arg(QChar::fromLatin1(action.Code))
                                        .arg(Describe(action))
                                        .arg(action.Instance)
                                        .arg(Hex(action.PendingValueBefore));
        }
    }
    if (verdict.SettingsLost > kShown)
        verdict.Failures << QStringLiteral("... %1 lost settings in all").arg(verdict.SettingsLost);
}

// The final simulator holds what it was last sent, as the re-read shows.
void CheckReadBack(const TWriteEvidence& evidence, TWriteVerdict& verdict) {
    const auto& actions = evidence.Record->Actions();
    for (auto it = actions.cbegin(); it != actions.cend(); ++it) {
        const char code = it.key();
        const std::optional<TWriteSeen> write = LastWrite(evidence, code, evidence.FinalInstance);
        if (!write || !evidence.ReadBack.contains(code))
            continue;
        const int shown = evidence.ReadBack.value(code) & 0xFFFF;
        const int sent = write->Value & 0xFFFF;
        const QString text = QStringLiteral("point %1 reads back %2, its last write was %3")
                                 .arg(QChar::fromLatin1(code))
                                 .arg(Hex(shown), Hex(sent));
        if (evidence.ModelDriven.contains(code)) {
            if (shown != sent)
                verdict.Notes << text + QStringLiteral(" (the burner model drives it)");
            continue;
        }
        ++verdict.ReadBackCompared;
        if (shown == sent)
            ++verdict.ReadBackEqual;
        else
            verdict.Failures << QStringLiteral("read-back: ") + text;
    }
}

} // namespace

TWriteVerdict CheckWrites(const TWriteEvidence& evidence) {
    TWriteVerdict verdict;
    CheckEveryFrame(evidence, verdict);
    CheckLastValues(evidence, verdict);
    CheckSettingsAtTheirTime(evidence, verdict);
    CheckReadBack(evidence, verdict);
    return verdict;
}
