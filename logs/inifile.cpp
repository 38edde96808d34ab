#include "inifile.h"

#include "logfile.h"

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView WithoutBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QStringView WithoutQuotes(QStringView value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

QString Folded(QStringView text) {
    return text.toString().toCaseFolded();
}

} // namespace

TIniFile::TIniFile(QByteArrayView bytes) {
    // A parameter file is text of the same kind as a log file.
    const QStringList lines = SplitLogLines(bytes);
    std::optional<QString> section; // folded name of the section the lines are in
    for (const QString& line : lines) {
        const QStringView text = WithoutBlanks(line);
        if (text.startsWith(u'[')) {
            const qsizetype close = text.indexOf(u']');
            if (close > 0) {
                section = Folded(WithoutBlanks(text.sliced(1, close - 1)));
                continue;
            }
        }
        if (!section || text.startsWith(u';'))
            continue;
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView key = WithoutBlanks(text.first(equals));
        if (key.isEmpty())
            continue;
        QHash<QString, QString>& values = FSections[*section];
        const QString folded = Folded(key);
        if (!values.contains(folded))
            values.insert(folded, WithoutQuotes(WithoutBlanks(text.sliced(equals + 1))).toString());
    }
}

std::optional<QString> TIniFile::Value(const QString& section, const QString& key) const {
    const auto found = FSections.constFind(section.toCaseFolded());
    if (found == FSections.constEnd())
        return std::nullopt;
    const auto value = found->constFind(key.toCaseFolded());
    if (value == found->constEnd())
        return std::nullopt;
    return *value;
}
