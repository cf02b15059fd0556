#include "case/OilGravityQuestion.h"

#include "base/Format.h"
#include "base/MessageSink.h"
#include "pvt/OilGravityCheck.h"

bool AskForApiFromInitialGor(const morvek::CaseInputs& in, double gasRelativeDensity,
                             MessageSink& sink) {
    const morvek::ApiFromInitialGor found = morvek::BackCalculateApi(in, gasRelativeDensity);
    // No gravity reproduces the ratio (a negative one, say): nothing to offer.
    if (!found.given || found.api != found.api) return false;
    if (!found.inRange) {
        sink.Show(morvek::ApiOutOfRangeMessage(in, found));
        return false;
    }
    if (morvek::CorrelationOf(in.correlation) == morvek::OilCorrelationId::Glasoe &&
        !sink.AskYesNo(Format("Soll der API-Wert nach GLASOE von %8.3f verwendet werden?",
                              double(found.glasoeApi))))
        return false;
    if (found.api == in.apiGravity) return false;
    const std::string values = Format(
        "AENDERUNG DER OELDICHTE(GRAD API)\n"
        "\tAlter WERT                 :%6.3f\n"
        "\tNeuer WERT                 :%6.3f\n"
        "\tGasdichte(LUFT=1)          :%6.3f\n"
        "\tGasentloesungsdruck(bar)   :%6.1f\n"
        "\tInitiales Gas-Öl-Verhältnis:%6.1f\n",
        double(in.apiGravity), double(found.api), gasRelativeDensity,
        double(in.bubblePointPressureBar), double(in.initialGorSm3PerM3));
    return sink.AskYesNo(values + "Soll das initiale Gas-Öl-Verhältnis verwendet werden?");
}
