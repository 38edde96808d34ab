#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <optional>

// The values of an initialisation file, read once from its bytes.
//
// The text is Windows-1252 with any line end (CR, LF, CR LF) and ends at a
// zero byte. A line "[name]" begins a section that runs to the next one;
// within it a line "key = value" gives a value. Blanks and tabs around the
// section name, the key and the value are ignored; a value enclosed in a
// pair of double or single quotes loses them. Section names and keys are
// matched without regard to case. The first occurrence of a key in a section
// counts. A section that occurs twice reads as one section holding the lines
// of both in file order, so a key's first occurrence in the file still counts.
// Lines before the first section, lines beginning with ";" (comments), lines
// without "=" and lines with an empty key are ignored.
class TIniFile {
public:
    explicit TIniFile(QByteArrayView bytes);

    // The value of the key in the section; none when the key is not there.
    std::optional<QString> Value(const QString& section, const QString& key) const;

private:
    QHash<QString, QHash<QString, QString>> FSections; // by folded name, then folded key
};
