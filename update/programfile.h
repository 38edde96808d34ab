#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// A controller program file: lines of 8-bit text, normally Intel HEX records.

// The lines of a file's text: a line ends at CR, LF or CR LF (not part of
// the line); a last line without an end still counts; empty lines count;
// nothing is trimmed; a NUL byte ends the text.
QList<QByteArray> SplitProgramLines(QByteArrayView text);

// Reads a program file into lines; a file that cannot be read raises the
// system's file error (std::runtime_error).
QList<QByteArray> ReadProgramFile(const QString& path);

// The record filter: a line is sent when it has at least 8 characters,
// starts with ':' and its address field (characters 4 to 7) is four
// hexadecimal digits whose value is below `addressLimit`.
bool IsProgramRecord(QByteArrayView line, int addressLimit);

// One Intel HEX record with its byte count and checksum, for tools and tests
// that write program files.
QByteArray MakeHexRecord(int address, int type, const QByteArray& data);
