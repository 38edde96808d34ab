#include "simoptions.h"

#include "comdevices.h"

#include <QCommandLineParser>

#include <cmath>
#include <type_traits>

namespace {

const char kStateHelp[] =
    "MainState (point X):\n"
    "  0 standby (no demand; outputs written by the PC hold)\n"
    "  1 start dose (screw and rotor, T1)\n"
    "  2 ignition: hot air, rotor pulses T2 on / T2B off, 4 times\n"
    "  3 ignition: hot air, rotor off (T3)\n"
    "  4 rotor on before the second hot-air pulse (T4)\n"
    "  5 second hot-air pulse until VMax has run out\n"
    "  6 flame seen, hot air continues (VTill)\n"
    "  7 running (feed pulses T5 within T6 at the regulated feed %)\n"
    "  8 waiting before a new start attempt (T7)\n"
    "  9 after-run of fan and rotor once the demand has ended (T8)\n"
    " 10 alarm: stopped until the PC writes LarmRegister (0 clears)\n"
    "TermoState (point Y): 0 no demand, 1 demand, 2 after-run\n"
    "Signals: SIGINT/SIGTERM quit (the COM link is removed), SIGUSR1 pulls the line,\n"
    "SIGUSR2 plugs it in again at once. Without --replug-after a pulled line stays\n"
    "pulled until a signal ends the program.\n"
    "The reply faults (--drop, --late, --noise, --split, --crlf) act on protocol\n"
    "replies; the boot loader has its own --bl-... faults.\n";

// Reads option `name` into `value` when it is given: a number (or, for an
// integer `value`, a whole number) from low to high.
template <typename T>
bool ReadValue(const QCommandLineParser& parser, const QString& name, T low, T high, T& value,
               QString& error) {
    if (!parser.isSet(name))
        return true;
    constexpr bool whole = std::is_integral_v<T>;
    bool ok = false;
    const QString text = parser.value(name);
    const T number = whole ? T(text.toLongLong(&ok)) : T(text.toDouble(&ok));
    if (!ok || !std::isfinite(double(number)) || number < low || number > high) {
        error =
            QStringLiteral("--%1: \"%2\" is not a %3 from %4 to %5")
                .arg(name, text, whole ? QStringLiteral("whole number") : QStringLiteral("number"))
                .arg(low)
                .arg(high);
        return false;
    }
    value = number;
    return true;
}

bool ReadNumber(const QCommandLineParser& parser, const QString& name, double low, double high,
                double& value, QString& error) {
    return ReadValue(parser, name, low, high, value, error);
}

bool ReadInteger(const QCommandLineParser& parser, const QString& name, qint64 low, qint64 high,
                 qint64& value, QString& error) {
    return ReadValue(parser, name, low, high, value, error);
}

} // namespace

ParseResult ParseOptions(const QStringList& arguments, SimOptions& options) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a Kolvo pellet-burner controller on a pseudo-terminal published "
                       "as COMn for Glodrik.\n\n") +
        QString::fromLatin1(kStateHelp));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    const auto add = [&parser](const char* name, const char* description,
                               const char* valueName = nullptr) {
        if (valueName != nullptr)
            parser.addOption(QCommandLineOption(QString::fromLatin1(name),
                                                QString::fromLatin1(description),
                                                QString::fromLatin1(valueName)));
        else
            parser.addOption(
                QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description)));
    };
    add("com", "COM number to publish, 1..50 (default 37).", "N");
    add("version",
        "Version text of the controller program (default 1.07); 1.06 and older "
        "do not know point j.",
        "TEXT");
    add("speed", "Simulated time runs X times as fast (default 1).", "X");
    add("fast", "No line timing: replies go out at once instead of one character per 0.52 ms.");
    add("seed", "Seed for all randomness (default 1).", "N");
    add("demand", "Thermostat demand: auto (comes and goes), on or off (default auto).", "MODE");
    add("no-flame", "The pellets never catch fire (every start attempt fails).");
    add("pellets-kg", "Pellets in the store at start and after a refill (default 200).", "X");
    add("pellets-out-after", "Empty the pellet store after SECS of simulated time.", "SECS");
    add("drop", "Drop PCT percent of the replies.", "PCT");
    add("late", "Answer PCT percent of the replies 1.3 s late.", "PCT");
    add("noise", "Put 1-5 noise characters before PCT percent of the replies.", "PCT");
    add("split", "Send PCT percent of the replies in 2-3 pieces 5-50 ms apart.", "PCT");
    add("crlf", "End replies with CR LF instead of CR.");
    add("pull-after",
        "Pull the line (close the pty, remove the link) after SECS real "
        "seconds.",
        "SECS");
    add("replug-after",
        "After a pull, publish a new pty on the same COM number after SECS "
        "real seconds.",
        "SECS");
    add("transcript", "Write every frame received and sent, with a timestamp, to FILE.", "FILE");
    add("registers", "Print the table of points with their defaults and exit.");
    add("bootloader", "Play the boot loader for a program download instead of the protocol.");
    add("bl-output", "Boot loader: write the accepted records to FILE.", "FILE");
    add("bl-wrong-echo", "Boot loader: echo one wrong character in record K.", "K");
    add("bl-fail", "Boot loader: answer F instead of . for record K.", "K");
    add("bl-silent", "Boot loader: no echo and no status from record K on.", "K");
    add("bl-extra", "Boot loader: send 2 extra letters before the . of record K.", "K");
    add("bl-crlf", "Boot loader: send CR LF after every \".\".");
    add("bl-late", "Boot loader: send the status of record K after 1.3 s.", "K");

    ParseResult result;
    if (!parser.parse(arguments)) {
        result.outcome = ParseResult::Error;
        result.text = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.outcome = ParseResult::Help;
        result.text = parser.helpText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.outcome = ParseResult::Error;
        result.text = QStringLiteral("unexpected argument \"%1\"")
                          .arg(parser.positionalArguments().constFirst());
        return result;
    }

    QString error;
    qint64 com = options.comNumber;
    qint64 seed = options.seed;
    qint64 records[5] = {};
    double pct[4] = {};
    bool ok =
        ReadInteger(parser, QStringLiteral("com"), kFirstComNumber, kLastComNumber, com, error) &&
        ReadInteger(parser, QStringLiteral("seed"), 0, 0xFFFFFFFFLL, seed, error) &&
        ReadNumber(parser, QStringLiteral("speed"), 0.01, 1000, options.speed, error) &&
        ReadNumber(parser, QStringLiteral("pellets-kg"), 0.1, 1e6, options.model.pelletsKg,
                   error) &&
        ReadNumber(parser, QStringLiteral("pellets-out-after"), 0, 1e9,
                   options.model.pelletsOutAfter, error) &&
        ReadNumber(parser, QStringLiteral("pull-after"), 0, 1e9, options.pullAfter, error) &&
        ReadNumber(parser, QStringLiteral("replug-after"), 0, 1e9, options.replugAfter, error);
    const char* percentNames[] = {"drop", "late", "noise", "split"};
    for (int n = 0; ok && n < 4; ++n)
        ok = ReadNumber(parser, QString::fromLatin1(percentNames[n]), 0, 100, pct[n], error);
    const char* recordNames[] = {"bl-wrong-echo", "bl-fail", "bl-silent", "bl-extra", "bl-late"};
    for (int n = 0; ok && n < 5; ++n)
        ok =
            ReadInteger(parser, QString::fromLatin1(recordNames[n]), 1, 1000000, records[n], error);
    if (ok && parser.isSet(QStringLiteral("version"))) {
        const QString version = parser.value(QStringLiteral("version"));
        bool printable = !version.isEmpty() && version.size() <= 16;
        for (QChar c : version)
            printable = printable && c.unicode() > 0x20 && c.unicode() < 0x7F;
        if (!printable) {
            ok = false;
            error = QStringLiteral("--version: \"%1\" must be 1 to 16 printable characters "
                                   "without blanks")
                        .arg(version);
        }
        options.version = version.toLatin1();
    }
    if (ok && parser.isSet(QStringLiteral("demand"))) {
        const QString mode = parser.value(QStringLiteral("demand"));
        if (mode == QLatin1String("auto"))
            options.model.demand = Demand::Auto;
        else if (mode == QLatin1String("on"))
            options.model.demand = Demand::On;
        else if (mode == QLatin1String("off"))
            options.model.demand = Demand::Off;
        else {
            ok = false;
            error = QStringLiteral("--demand: \"%1\" is not auto, on or off").arg(mode);
        }
    }
    if (!ok) {
        result.outcome = ParseResult::Error;
        result.text = error;
        return result;
    }

    options.comNumber = int(com);
    options.seed = quint32(seed);
    options.model.seed = options.seed;
    options.fast = parser.isSet(QStringLiteral("fast"));
    options.model.noFlame = parser.isSet(QStringLiteral("no-flame"));
    options.faults.dropPercent = pct[0];
    options.faults.latePercent = pct[1];
    options.faults.noisePercent = pct[2];
    options.faults.splitPercent = pct[3];
    options.faults.crlf = parser.isSet(QStringLiteral("crlf"));
    options.transcriptFile = parser.value(QStringLiteral("transcript"));
    options.listRegisters = parser.isSet(QStringLiteral("registers"));
    options.bootLoader = parser.isSet(QStringLiteral("bootloader"));
    BootLoaderSettings& bl = options.bootLoaderSettings;
    bl.outputFile = parser.value(QStringLiteral("bl-output"));
    bl.wrongEchoRecord = int(records[0]);
    bl.failRecord = int(records[1]);
    bl.silentRecord = int(records[2]);
    bl.extraRecord = int(records[3]);
    bl.lateRecord = int(records[4]);
    bl.crlf = parser.isSet(QStringLiteral("bl-crlf"));

    const bool blOption = !bl.outputFile.isEmpty() || bl.wrongEchoRecord || bl.failRecord ||
                          bl.silentRecord || bl.extraRecord || bl.lateRecord || bl.crlf;
    if (blOption && !options.bootLoader) {
        result.outcome = ParseResult::Error;
        result.text = QStringLiteral("the --bl-... options need --bootloader");
    }
    return result;
}

QString RegisterTable(const SimOptions& options) {
    const Registers registers(options.version);
    QString text = QStringLiteral("code  type  default  name\n");
    for (const RegisterInfo& info : Registers::All()) {
        if (!registers.Knows(info.code))
            continue;
        const char* type = info.type == RegType::Byte         ? "b"
                           : info.type == RegType::Word       ? (info.scaled ? "w*" : "w")
                           : info.type == RegType::SignedWord ? "sw"
                                                              : "s";
        const QByteArray reply = registers.Reply(info.code);
        text += QStringLiteral("%1     %2 %3 %4\n")
                    .arg(QLatin1Char(info.code))
                    .arg(QString::fromLatin1(type), -5)
                    .arg(QString::fromLatin1(reply.mid(2, reply.size() - 3)), -8)
                    .arg(QString::fromLatin1(info.name));
    }
    text += QStringLiteral("w* = time in units of 65.536 ms (10 s = 152)\n");
    return text;
}
