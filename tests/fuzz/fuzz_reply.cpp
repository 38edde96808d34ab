// Replies from the line, character by character, as the transaction
// assembles them, decoded into the whole process image. A reply is a change
// from the controller: it never raises a change event and never prepares a
// write, and it touches only the points of its own code.

#include "frames.h"
#include "fuzzimage.h"
#include "fuzzsupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static FuzzImage image; // the image lives on, as in the program
    TReplyAssembler reply;
    for (size_t i = 0; i < size; ++i) {
        if (!reply.Add(char(data[i])))
            continue;
        const QByteArray text = reply.Text();
        QList<int> before;
        for (const TZuIO* point : image.image.Points())
            before << point->Value();
        image.image.IOList()->UnpackMsg(text);
        const QList<TZuIO*>& points = image.image.Points();
        for (qsizetype p = 0; p < points.size(); ++p) {
            const TZuIO* point = points[p];
            FUZZ_CHECK(!point->WriteRequest);
            if (point->Value() != before[p])
                FUZZ_CHECK(!text.isEmpty() && text[0] == point->MsgCode());
        }
        FUZZ_CHECK(image.changed.isEmpty());
        reply.Reset();
    }
    return 0;
}
