#include "input/MeasuredDataFile.h"

#include <cmath>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/PrintableText.h"
#include "base/TextPieceReader.h"
#include "case/CaseLimits.h"

int ScanMeasuredRow(const std::string& row, float& oil, float& pressure, float& gor) {
    int n = ScanRow(row, oil, pressure, gor);
    const float values[3] = {oil, pressure, gor};
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(values[i])) return i;
    }
    return n;
}

bool ReadMeasuredDataFile(const std::string& path, float ooip, float initialdruck,
                          MessageSink& sink, std::vector<std::string>& rows) {
    TextPieceReader file(TextPieceReader::LoneCr::EndsLine);
    if (!file.Open(path)) {
        sink.Show(Format("Die Datei %s kann nicht geöffnet werden.", DisplayPath(path).c_str()));
        return false;
    }
    rows.clear();
    std::string line;
    // A piece of 100 characters without its line end is a line too long.
    for (int number = 1; file.ReadPiece(kMaxMeasuredLineChars + 1, line); ++number) {
        StripLineEnd(line);
        if (line.size() > kMaxMeasuredLineChars) {
            sink.Show(Format("In der %d.Zeile 100 Zeichen gelesen", number));
            break;
        }
        // The numbers would be read only up to it.
        if (line.find('\0') != std::string::npos) {
            sink.Show(Format("In der %d.Zeile steht ein Nullzeichen.", number));
            break;
        }
        if (number == 1) continue;  // the header, whatever it holds
        float oil = 0, pressure = 0, gor = 0;
        const int count = ScanMeasuredRow(line, oil, pressure, gor);
        if (count < 2) {
            sink.Show(Format("Die Zeile enhält keine 2 Werte\n %s", Cp1252ToUtf8(line).c_str()));
            break;
        }
        const std::string row =
            count == 3
                ? Format("%10.3f   %18.1f  %18.1f", double(oil), double(pressure), double(gor))
                : Format("%10.3f   %18.1f   * ", double(oil), double(pressure));
        // Production equal to the oil in place already ends the reading here,
        // while the OK check refuses only more than it.
        if (oil >= ooip) {
            sink.Show(Format("ABBRUCH!!\nKum.Ölproduktion %7.2f > OOIP %7.2f", double(oil),
                             double(ooip)));
            break;
        }
        if (pressure > initialdruck) {
            sink.Show(Format("ABBRUCH!!\nMeßdruck %6.1f > Initialer Druck %6.1f", double(pressure),
                             double(initialdruck)));
            break;
        }
        if (rows.size() == kMaxMeasuredRows) {
            sink.Show(
                Format("In der %d.Zeile: mehr als %zu Meßwerte kann der Fall nicht "
                       "aufnehmen.",
                       number, kMaxMeasuredRows));
            break;
        }
        rows.push_back(row);
    }
    return true;
}
