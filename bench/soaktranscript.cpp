#include "soaktranscript.h"

#include "tzuiolist.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr double kLateAfter = 0.25; // seconds; split pieces follow within 0.15 s
constexpr double kSecondWaitLow = 0.95;
constexpr double kSecondWaitHigh = 1.25;

bool IsUpperHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool EndsReply(const QByteArray& bytes) {
    return bytes.endsWith('\r') || bytes.endsWith("\r\n");
}

// The fewest digits a write frame of this type carries: two for a byte point,
// four for a word. A byte point may hold up to 16 bits (a reply can carry four
// digits for any type), and its frame then carries three or four.
int FewestDigitsFor(IOType type) {
    return type == IOType::sByte ? 2 : 4;
}

constexpr qsizetype kMostDigits = 4;

// Zero-padded to the fewest digits and no further, in uppercase.
bool WellFormedDigits(QByteArrayView digits, IOType type) {
    const qsizetype fewest = FewestDigitsFor(type);
    if (digits.size() < fewest || digits.size() > kMostDigits ||
        !std::all_of(digits.begin(), digits.end(), IsUpperHex))
        return false;
    return digits.size() == fewest || digits.front() != '0';
}

// Reads the transcript line by line, keeping what the figures and checks need.
class TTranscriptReader {
public:
    TTranscriptReader(TTranscript& result, const TTypeOfCode& typeOf)
        : FResult(result), FTypeOf(typeOf) {}

    void Line(const QByteArray& line) {
        const qsizetype first = line.indexOf(' ');
        if (first < 0)
            return;
        const double time = line.left(first).toDouble();
        const qsizetype second = line.indexOf(' ', first + 1);
        const QByteArray kind = line.mid(first + 1, second < 0 ? -1 : second - first - 1);
        const QByteArray bytes = second < 0 ? QByteArray() : UnescapeBytes(line.mid(second + 1));
        if (kind == "RX")
            Received(time, bytes);
        else if (kind == "TX")
            Sent(time, bytes);
        else if (kind == "DROP")
            ++FResult.Figures.Dropped;
        else if (kind == "PULL")
            LineChanged(FResult.Figures.Pulls);
        else if (kind == "PLUG")
            LineChanged(FResult.Figures.Plugs);
    }

private:
    void LineChanged(int& counter) {
        ++counter;
        FLastRequest = kNone;
        FReplyEnded = true;
    }

    void Received(double time, const QByteArray& frame) {
        TTranscriptFigures& figures = FResult.Figures;
        ++figures.Requests;
        if (FLastRequest != kNone && time - FLastRequest >= kSecondWaitLow &&
            time - FLastRequest <= kSecondWaitHigh)
            ++figures.SecondWaits;
        FLastRequest = time;
        if (IsRead(frame)) {
            ++figures.Reads;
        } else if (std::optional<TWriteSeen> write = Write(frame)) {
            ++figures.Writes;
            write->Instance = FResult.Instance;
            write->Time = time;
            FResult.Writes.append(*write);
        } else {
            FResult.Malformed.append(frame);
        }
    }

    void Sent(double time, const QByteArray& bytes) {
        TTranscriptFigures& figures = FResult.Figures;
        if (FLastRequest != kNone && time - FLastRequest > kLateAfter)
            ++figures.Late;
        if (FReplyEnded && !bytes.isEmpty() && bytes[0] != ' ')
            ++figures.Noisy;
        if (FReplyEnded && !EndsReply(bytes))
            ++figures.Split;
        if (bytes.endsWith("\r\n"))
            ++figures.CrLf;
        FReplyEnded = EndsReply(bytes);
    }

    bool IsRead(const QByteArray& frame) const {
        return frame.size() == 4 && frame.startsWith(" R") && frame[3] == '\r' &&
               FTypeOf(frame[2]).has_value();
    }

    // " W<code><digits>\r" with the uppercase digits the point's type asks for.
    std::optional<TWriteSeen> Write(const QByteArray& frame) const {
        if (frame.size() < 5 || !frame.startsWith(" W") || !frame.endsWith('\r'))
            return std::nullopt;
        const std::optional<IOType> type = FTypeOf(frame[2]);
        if (!type ||
            (*type != IOType::sByte && *type != IOType::sWord && *type != IOType::SignsWord))
            return std::nullopt;
        const QByteArray digits = frame.mid(3, frame.size() - 4);
        if (!WellFormedDigits(digits, *type))
            return std::nullopt;
        TWriteSeen write;
        write.Code = frame[2];
        write.Value = digits.toInt(nullptr, 16);
        write.Frame = frame;
        return write;
    }

    TTranscript& FResult;
    const TTypeOfCode& FTypeOf;
    static constexpr double kNone = -1; // no request since the line was plugged
    double FLastRequest = kNone;
    bool FReplyEnded = true;
};

} // namespace

TTranscriptFigures& TTranscriptFigures::operator+=(const TTranscriptFigures& other) {
    Requests += other.Requests;
    Reads += other.Reads;
    Writes += other.Writes;
    Dropped += other.Dropped;
    Late += other.Late;
    Noisy += other.Noisy;
    Split += other.Split;
    CrLf += other.CrLf;
    SecondWaits += other.SecondWaits;
    Pulls += other.Pulls;
    Plugs += other.Plugs;
    return *this;
}

QByteArray UnescapeBytes(QByteArrayView quoted) {
    QByteArray bytes;
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"')
        return bytes;
    const QByteArrayView body = quoted.sliced(1, quoted.size() - 2);
    for (qsizetype i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c != '\\' || i + 1 >= body.size()) {
            bytes += c;
            continue;
        }
        const char escaped = body[++i];
        switch (escaped) {
        case 'r':
            bytes += '\r';
            break;
        case 'n':
            bytes += '\n';
            break;
        case 't':
            bytes += '\t';
            break;
        case 'x':
            if (i + 2 < body.size()) {
                bytes += char(HexWord(body.sliced(i + 1, 2)).value_or(0));
                i += 2;
            }
            break;
        default:
            bytes += escaped; // \" and \\ stand for themselves
        }
    }
    return bytes;
}

TTranscript ReadTranscript(int instance, const QString& phase, const QString& path,
                           const TTypeOfCode& typeOf) {
    TTranscript result;
    result.Instance = instance;
    result.Phase = phase;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    result.Readable = true;
    TTranscriptReader reader(result, typeOf);
    while (!file.atEnd())
        reader.Line(file.readLine().trimmed());
    return result;
}
