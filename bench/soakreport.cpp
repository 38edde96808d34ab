#include "soakreport.h"

#include "soakconductor.h"
#include "soakmonitors.h"
#include "soakrecord.h"
#include "soakuser.h"

#include <cstdio>

namespace {

void Row(const char* label, const QString& value) {
    std::printf("%-26s %s\n", label, value.toLocal8Bit().constData());
}

void Lines(const char* label, const QStringList& lines) {
    if (lines.isEmpty()) {
        Row(label, QStringLiteral("none"));
        return;
    }
    for (qsizetype i = 0; i < lines.size(); ++i)
        Row(i == 0 ? label : "", lines.at(i));
}

QStringList Counted(const QMap<QString, int>& counts) {
    QStringList lines;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        lines << QStringLiteral("%1 x %2").arg(it.value()).arg(it.key());
    return lines;
}

double MiB(qint64 bytes) {
    return double(bytes) / (1024.0 * 1024.0);
}

void PrintLink(const TSoakResults& r, TTranscriptFigures& total) {
    for (const TTranscript& transcript : r.Transcripts)
        total += transcript.Figures;
    Row("seconds soaked", QString::number(r.Seconds, 'f', 1));
    Row("transactions", QStringLiteral("%1 replies taken by Glodrik; %2 requests reached the "
                                       "simulators (%3 reads, %4 writes)")
                            .arg(r.Replies)
                            .arg(total.Requests)
                            .arg(total.Reads)
                            .arg(total.Writes));
    Lines("phases", Counted(r.Conductor->Phases()));
    Row("phase length", QStringLiteral("%1 s").arg(r.PhaseMs / 1000.0, 0, 'f', 1));
    Row("faults in transcripts",
        QStringLiteral("%1 dropped, %2 late, %3 noisy, %4 split, %5 CR LF replies; "
                       "%6 one-second waits")
            .arg(total.Dropped)
            .arg(total.Late)
            .arg(total.Noisy)
            .arg(total.Split)
            .arg(total.CrLf)
            .arg(total.SecondWaits));
    Row("simulators", QStringLiteral("%1 processes (%2 restarts), %3 pulls, %4 plugged in again")
                          .arg(r.Conductor->Simulators().size())
                          .arg(r.Conductor->Simulators().size() - 1)
                          .arg(r.Conductor->Pulls())
                          .arg(r.Conductor->Replugs()));
    Row("reconnects by the script", QStringLiteral("%1 around simulator changes, %2 by the user")
                                        .arg(r.Conductor->Reconnects())
                                        .arg(r.User->Reconnects()));
}

void PrintUser(const TSoakResults& r) {
    Lines("user actions", Counted(r.Record->Kinds()));
    QStringList overwritten;
    for (auto it = r.Pending->ByCode().cbegin(); it != r.Pending->ByCode().cend(); ++it)
        overwritten << QStringLiteral("%1 x%2").arg(QChar::fromLatin1(it.key())).arg(it.value());
    Row("pending writes not shown", QStringLiteral("%1 (a reply replaced the value while its "
                                                   "write waited) %2")
                                        .arg(r.Pending->Overwritten())
                                        .arg(overwritten.join(u' ')));
}

void PrintWrites(const TSoakResults& r) {
    const TWriteVerdict& w = r.Writes;
    Row("writes checked", QStringLiteral("%1 frames; %2 points set by the user: %3 reached with "
                                         "their last value, %4 needed no write")
                              .arg(w.FramesChecked)
                              .arg(w.PointsChecked)
                              .arg(w.PointsReached)
                              .arg(w.NoWriteNeeded));
    Row("settings lost", QStringLiteral("%1 (changed nothing while a write of another value "
                                        "waited, which stayed queued instead)")
                             .arg(w.SettingsLost));
    Row("read back", QStringLiteral("%1 of %2 points equal to their last write")
                         .arg(w.ReadBackEqual)
                         .arg(w.ReadBackCompared));
    Lines("notes", w.Notes);
}

void PrintBoxes(const TSoakResults& r) {
    Lines("boxes, expected", Counted(r.Boxes->ExpectedBoxes()));
    Lines("boxes, unexpected", Counted(r.Boxes->UnexpectedBoxes()));
    Row("port prompts", QString::number(r.Boxes->PortPrompts()));
}

// About ten samples spread over the run, in MiB or as they are.
void PrintCourse(const char* label, const QList<qint64>& samples, bool bytes = true) {
    const auto shown = [bytes](qint64 sample) {
        return bytes ? QString::number(MiB(sample), 'f', 2) : QString::number(sample);
    };
    const qsizetype step = std::max<qsizetype>(1, samples.size() / 10);
    QStringList course;
    for (qsizetype i = 0; i < samples.size(); i += step)
        course << QStringLiteral("%1 s %2").arg(i + 1).arg(shown(samples.at(i)));
    if (!samples.isEmpty())
        course << QStringLiteral("end %1").arg(shown(samples.last()));
    Row(label, course.join(QStringLiteral(", ")));
}

void PrintStallAndMemory(const TSoakResults& r) {
    Row("largest UI stall",
        QStringLiteral("%1 ms at %2 s, in \"%3\" (%4 gaps over 100 ms; limit %5 ms)")
            .arg(r.Stall->LargestGapMs())
            .arg(r.Stall->LargestGapAtMs() / 1000.0, 0, 'f', 1)
            .arg(r.Conductor->StageAt(r.Stall->LargestGapAtSteadyMs()))
            .arg(r.Stall->GapsOver100Ms())
            .arg(kLargestAllowedStallMs));
    QStringList gaps;
    for (const TStallMonitor::TGap& gap : r.Stall->LongGaps())
        gaps << QStringLiteral("%1 ms (%2 ms of it running) in \"%3\"")
                    .arg(gap.Ms)
                    .arg(gap.CpuMs)
                    .arg(r.Conductor->StageAt(gap.AtSteadyMs));
    Lines("gaps over 100 ms", gaps);
    const TMemorySampler& m = *r.Memory;
    if (!m.HasBaseline()) {
        Row("memory", QStringLiteral("no level taken (run too short)"));
        return;
    }
    Row("memory",
        QStringLiteral("%1 MiB at %2 s, peak %3 MiB, final %4 MiB, growth %5 %")
            .arg(MiB(m.Baseline()), 0, 'f', 1)
            .arg(m.BaselineAtMs() / 1000)
            .arg(MiB(m.Peak()), 0, 'f', 1)
            .arg(MiB(m.Last()), 0, 'f', 1)
            .arg(100.0 * double(m.Last() - m.Baseline()) / double(m.Baseline()), 0, 'f', 2));
    PrintCourse("memory course (MiB)", m.Samples());
    PrintCourse("heap in use (MiB)", m.HeapSamples());
    PrintCourse("objects", m.ObjectSamples(), false);
    Row("left out of memory",
        QStringLiteral("the soak's own: %1 actions recorded, %2 KiB in all")
            .arg(r.Record->ActionCount())
            .arg(m.OwnSamples().isEmpty() ? 0 : m.OwnSamples().last() / 1024));
}

QStringList Verdict(const TSoakResults& r) {
    QStringList reasons = r.Failures;
    reasons << r.Conductor->Failures() << r.Writes.Failures;
    for (auto it = r.Boxes->UnexpectedBoxes().cbegin(); it != r.Boxes->UnexpectedBoxes().cend();
         ++it)
        reasons << QStringLiteral("unexpected %1").arg(it.key());
    if (r.Boxes->PortPrompts() > 0)
        reasons << QStringLiteral("the port prompt appeared %1 times").arg(r.Boxes->PortPrompts());
    if (r.Stall->LargestGapMs() > kLargestAllowedStallMs)
        reasons << QStringLiteral("the user-interface thread stalled for %1 ms")
                       .arg(r.Stall->LargestGapMs());
    const TMemorySampler& m = *r.Memory;
    const double limit = double(m.Baseline()) * (1.0 + kAllowedGrowthPercent / 100.0);
    if (m.HasBaseline() && (double(m.Peak()) > limit || double(m.Last()) > limit))
        reasons << QStringLiteral("memory grew from %1 to %2 MiB (peak %3 MiB)")
                       .arg(MiB(m.Baseline()), 0, 'f', 1)
                       .arg(MiB(m.Last()), 0, 'f', 1)
                       .arg(MiB(m.Peak()), 0, 'f', 1);
    return reasons;
}

} // namespace

QStringList PrintReport(const TSoakResults& results) {
    TTranscriptFigures total;
    PrintLink(results, total);
    PrintUser(results);
    PrintWrites(results);
    PrintBoxes(results);
    PrintStallAndMemory(results);
    const QStringList reasons = Verdict(results);
    Lines("failures", reasons);
    return reasons;
}
