// Program files of any content, split into lines and passed through the
// record filter as the download does. Lines never hold a line end or run
// past the text; a line the filter passes is a record below the limit.

#include "fuzzsupport.h"
#include "programfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const int limit = (data[0] << 8 | data[1]) & 0xFFFF;
    const QByteArrayView text(data + 2, qsizetype(size - 2));
    const qsizetype zero = text.indexOf('\0');
    const QByteArrayView content = zero < 0 ? text : text.first(zero);
    qsizetype characters = 0;
    for (const QByteArray& line : SplitProgramLines(text)) {
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n') && !line.contains('\0'));
        characters += line.size();
        if (!IsProgramRecord(line, limit))
            continue;
        FUZZ_CHECK(line.size() >= 8 && line[0] == ':');
        bool hex = false;
        const int address = line.mid(3, 4).toInt(&hex, 16);
        FUZZ_CHECK(hex && address < limit);
    }
    FUZZ_CHECK(characters <= content.size());
    return 0;
}
