#include "parameterkeys.h"

#include "tprocessimage.h"

#include <stdexcept>

namespace {

constexpr ParameterKey kParameterKeys[] = {
    {"T1", "T1", ParameterForm::Scaled},
    {"T2", "T2", ParameterForm::Scaled},
    {"T2B", "T2B", ParameterForm::Scaled},
    {"T3", "T3", ParameterForm::Scaled},
    {"T4", "T4", ParameterForm::Scaled},
    {"Periodtid", "T6", ParameterForm::Scaled},
    {"T7", "T7", ParameterForm::Scaled},
    {"T8", "T8", ParameterForm::Scaled},
    {"VMax", "VMax", ParameterForm::Scaled},
    {"VTill", "VTill", ParameterForm::Scaled},
    {"Reduceringstid", "EEReduceringstid", ParameterForm::Scaled},
    {"N_FelInnanLarm", "EEN_FelInnanLarm", ParameterForm::Raw},
    {"TempSet", "EETempSet", ParameterForm::Raw},
    {"PulsKvotMax", "EEPulsKvotMax", ParameterForm::Raw},
    {"PulsKvotMin", "EEPulsKvotMin", ParameterForm::Raw},
    {"Reduceringsprocent", "EEReduceringsprocent", ParameterForm::Raw},
    {"DriftTid", "EEDriftTid", ParameterForm::Raw},
    {"DriftGrans", "EEDriftGrans", ParameterForm::Raw},
    {"PT", "K-V\xc3\xa4rde T\xc3\xa4ljare", ParameterForm::Raw},
    {"PN", "K-V\xc3\xa4rde N\xc3\xa4mnare", ParameterForm::Raw},
    {"Integrator", "Integrator", ParameterForm::Raw},
    {"LarmMask", "LarmMask", ParameterForm::Raw},
    {"LarmTemp", "EELarmTemp", ParameterForm::Raw},
    {"MaxTid", "EEMaxtid", ParameterForm::Raw},
};
static_assert(std::size(kParameterKeys) == 24);

} // namespace

std::span<const ParameterKey> ParameterKeys() {
    return kParameterKeys;
}

TZuIO& ParameterPoint(const TProcessImage& image, const ParameterKey& key) {
    TZuIO* point = image.Point(QString::fromUtf8(key.Point));
    if (!point)
        throw std::logic_error(std::string("No point for parameter ") + key.Key);
    return *point;
}
