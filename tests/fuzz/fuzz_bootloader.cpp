// A boot loader's byte stream against one line of a program. Whatever it
// sends, the exchange decides at most once, and only as the characters
// allow: accepted after the whole echo and a ".", an echo error only at a
// character that differs, "S" only when one came.

#include "fuzzsupport.h"
#include "lineexchange.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte gives the line's length; the line and the peer's bytes follow.
    const size_t length = std::min<size_t>(data[0] % 48, size - 1);
    const QByteArray line(reinterpret_cast<const char*>(data + 1), qsizetype(length));
    TLineExchange exchange(line);
    for (size_t i = 1 + length; i < size; ++i) {
        const char c = char(data[i]);
        const TLineExchange::TStep step = exchange.Add(c);
        const QByteArray& reply = exchange.Reply();
        const qsizetype at = reply.size() - 1;
        switch (step.Result) {
        case DownloadResult::None:
            FUZZ_CHECK(!step.Final);
            continue;
        case DownloadResult::LineAccepted:
            FUZZ_CHECK(reply.startsWith(line) && c == '.' && at >= line.size());
            break;
        case DownloadResult::Finished:
            FUZZ_CHECK(c == 'S');
            FUZZ_CHECK(step.Final == (at < line.size()));
            break;
        case DownloadResult::EchoError:
            FUZZ_CHECK(at < line.size() && c != line[at] && c != 'S');
            FUZZ_CHECK(reply.first(at) == line.first(at));
            break;
        case DownloadResult::CannotProgram:
            FUZZ_CHECK(c == 'F' && at >= line.size() && reply.startsWith(line));
            break;
        default:
            FUZZ_CHECK(false);
        }
        return 0; // decided: the download moves on
    }
    return 0;
}
