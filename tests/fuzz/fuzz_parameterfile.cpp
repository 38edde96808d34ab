// Parameter files of any content loaded into the process image. Only the
// points of the parameter keys change, each change prepares its write, and
// loading the same file again changes nothing and writes nothing.

#include "fuzzimage.h"
#include "fuzzsupport.h"
#include "parameterfile.h"
#include "parameterkeys.h"

#include <QSet>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    static FuzzImage image;
    static const QSet<TZuIO*> keyPoints = [] {
        QSet<TZuIO*> points;
        for (const ParameterKey& key : ParameterKeys())
            points << &ParameterPoint(image.image, key);
        return points;
    }();
    const QLocale locale = FuzzLocale(data[0]);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QList<int> before;
    for (const TZuIO* point : image.image.Points())
        before << point->Value();

    image.changed.clear();
    LoadParameters(bytes, image.image, locale);
    for (TZuIO* point : image.changed)
        FUZZ_CHECK(keyPoints.contains(point));
    const QList<TZuIO*>& points = image.image.Points();
    for (qsizetype p = 0; p < points.size(); ++p) {
        if (points[p]->Value() != before[p])
            FUZZ_CHECK(image.changed.contains(points[p]));
        FUZZ_CHECK(points[p]->Value() >= 0 && points[p]->Value() <= 0xFFFF);
    }

    image.changed.clear();
    LoadParameters(bytes, image.image, locale);
    FUZZ_CHECK(image.changed.isEmpty());
    return 0;
}
