#include "input/MeasuredDataFile.h"

#include <cmath>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "base/PrintableText.h"
#include "base/TextPieceReader.h"
#include "case/CaseLimits.h"

std::string NegativeMeasuredValueMessage(int count, float oil, float pressure, float gor) {
    const float values[3] = {oil, pressure, gor};
    static const char* const kColumns[3] = {"Kum.Ölproduktion (1000 m3)", "Schließdruck (Bar)",
                                            "GOEV (m3/m3)"};
    for (int i = 0; i < count && i < 3; ++i) {
        if (values[i] < 0.0f) return Format("Bitte einen Wert ab 0 eingeben: \"%s\".", kColumns[i]);
    }
    return std::string();
}

bool ReadMeasuredDataFile(const std::string& path, float ooip, float initialdruck,
                          MessageSink& sink, std::vector<std::string>& rows) {
    TextPieceReader file(TextPieceReader::LoneCr::EndsLine);
    if (!file.Open(path)) {
        sink.Show(Format("Die Datei %s kann nicht geöffnet werden.\n%s", DisplayPath(path).c_str(),
                         Utf8FromUtf8OrCp1252(file.Error()).c_str()));
        return false;
    }
    rows.clear();
    std::string line;
    // A piece of 100 characters without its line end is a line too long.
    for (int number = 1; file.ReadPiece(kMaxMeasuredLineChars + 1, line); ++number) {
        StripLineEnd(line);
        if (line.size() > kMaxMeasuredLineChars) {
            sink.Warn(Format("In der %d.Zeile 100 Zeichen gelesen", number));
            break;
        }
        // The numbers would be read only up to it.
        if (line.find('\0') != std::string::npos) {
            sink.Warn(Format("In der %d.Zeile steht ein Nullzeichen.", number));
            break;
        }
        if (number == 1) continue;  // the header, whatever it holds
        float oil = 0, pressure = 0, gor = 0;
        const int count = ScanMeasuredRow(line, oil, pressure, gor);
        if (count < 2) {
            const std::string text = Cp1252ToUtf8(line);
            sink.Warn(Format("Die %d. Zeile der Datei %s enthält keine 2 Werte:\n %s", number,
                             DisplayPath(path).c_str(), text.c_str()) +
                      DecimalPointHint(text));
            break;
        }
        const std::string negative = NegativeMeasuredValueMessage(count, oil, pressure, gor);
        if (!negative.empty()) {
            sink.Warn(Format("ABBRUCH!!\n%d. Zeile: ", number) + negative);
            break;
        }
        const std::string row =
            count == 3
                ? Format("%10.3f   %18.1f  %18.1f", double(oil), double(pressure), double(gor))
                : Format("%10.3f   %18.1f   * ", double(oil), double(pressure));
        // Production equal to the oil in place already ends the reading here,
        // while the OK check refuses only more than it.
        if (oil >= ooip) {
            sink.Warn(Format("ABBRUCH!!\n%d. Zeile: Kum.Ölproduktion %7.2f > OOIP %7.2f", number,
                             double(oil), double(ooip)));
            break;
        }
        if (pressure > initialdruck) {
            sink.Warn(Format("ABBRUCH!!\n%d. Zeile: Meßdruck %6.1f > Initialer Druck %6.1f",
                             number, double(pressure), double(initialdruck)));
            break;
        }
        if (rows.size() == kMaxMeasuredRows) {
            sink.Warn(
                Format("In der %d.Zeile: mehr als %zu Meßwerte kann der Fall nicht "
                       "aufnehmen.",
                       number, kMaxMeasuredRows));
            break;
        }
        rows.push_back(row);
    }
    return true;
}
