#include "report/SeriesCsv.h"

#include <algorithm>
#include <vector>

#include "base/NumberText.h"

namespace morvek {
namespace {

constexpr char kSeparator = ';';
constexpr const char* kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kMeasuredPrefix = "Meßwert ";

struct Column {
    std::string header;
    const Series* values;
    int count;
};

int ValidCount(int count) {
    return std::clamp(count, 0, kSeriesLength);
}

// The graph labels carry blanks for the legend layout; a column head does not.
std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Quotes a head that holds the separator, a quote or a line break, as
// spreadsheets expect.
std::string CsvCell(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::vector<Column> ColumnsOf(const GraphSeries& g, ResultKind kind) {
    const int curve = ValidCount(g.curvePoints);
    const GraphLabels& l = g.labels;
    switch (kind) {
        case ResultKind::RelPermTable:
            return {{Trimmed(l.titleX), &g.x, curve},
                    {Trimmed(l.titleY1), &g.y1, curve},
                    {Trimmed(l.titleY2), &g.y2, curve}};
        case ResultKind::PvtTable:
            // The left axis carries two curves ("Bo/Nuo"): name them by their
            // legends instead.
            return {{Trimmed(l.titleX), &g.x, curve},
                    {Trimmed(l.legend1), &g.y1, curve},
                    {Trimmed(l.titleY2), &g.y2, curve},
                    {Trimmed(l.legend3), &g.measuredY, ValidCount(g.measuredPoints)}};
        case ResultKind::Prediction:
            break;
    }
    const std::string x = Trimmed(l.titleX);
    const std::string pressure = Trimmed(l.titleY1);
    const std::string gor = Trimmed(l.titleY2);
    const int measured = ValidCount(g.measuredPoints);
    const int measuredGor = ValidCount(g.measuredGorPoints);
    return {{x, &g.x, curve},
            {pressure, &g.y1, curve},
            {gor, &g.y2, curve},
            {kMeasuredPrefix + x, &g.measuredX, measured},
            {kMeasuredPrefix + pressure, &g.measuredY, measured},
            {kMeasuredPrefix + x + " (mit GOEV)", &g.measuredGorX, measuredGor},
            {kMeasuredPrefix + gor, &g.measuredGorY, measuredGor}};
}

}  // namespace

std::string SeriesCsvText(const GraphSeries& graph, ResultKind kind) {
    const std::vector<Column> columns = ColumnsOf(graph, kind);
    std::string out = kUtf8ByteOrderMark;
    int rows = 0;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (c > 0) out += kSeparator;
        out += CsvCell(columns[c].header);
        rows = std::max(rows, columns[c].count);
    }
    out += '\n';
    for (int r = 0; r < rows; ++r) {
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) out += kSeparator;
            if (r < columns[c].count) out += ShortestText((*columns[c].values)[r]);
        }
        out += '\n';
    }
    return out;
}

}  // namespace morvek
