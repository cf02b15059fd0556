#include "results/SeriesCsv.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/PrintableText.h"
#include "case/MorvekDoc.h"

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

// The shortest decimal text that reads back as the same single-precision
// value; std::to_chars never uses the locale's decimal comma.
void AppendNumber(std::string& out, float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::vector<Column> ColumnsOf(const CMorvekDoc& doc) {
    const int curve = ValidCount(doc.m_MaxWerte);
    switch (RunKindOf(doc)) {
        case SeriesRunKind::RelPerm:
            return {{Trimmed(doc.m_TitelX), &doc.m_XWerte, curve},
                    {Trimmed(doc.m_TitelY1), &doc.m_Y1Werte, curve},
                    {Trimmed(doc.m_TitelY2), &doc.m_Y2Werte, curve}};
        case SeriesRunKind::PvtTable:
            // The left axis carries two curves ("Bo/Nuo"): name them by their
            // legends instead.
            return {{Trimmed(doc.m_TitelX), &doc.m_XWerte, curve},
                    {Trimmed(doc.m_Legende1), &doc.m_Y1Werte, curve},
                    {Trimmed(doc.m_TitelY2), &doc.m_Y2Werte, curve},
                    {Trimmed(doc.m_Legende3), &doc.m_Mess1YWerte, ValidCount(doc.m_Max2Werte)}};
        case SeriesRunKind::Depletion:
            break;
    }
    const std::string x = Trimmed(doc.m_TitelX);
    const std::string pressure = Trimmed(doc.m_TitelY1);
    const std::string gor = Trimmed(doc.m_TitelY2);
    const int measured = ValidCount(doc.m_Max2Werte);
    const int measuredGor = ValidCount(doc.m_Max3Werte);
    return {{x, &doc.m_XWerte, curve},
            {pressure, &doc.m_Y1Werte, curve},
            {gor, &doc.m_Y2Werte, curve},
            {kMeasuredPrefix + x, &doc.m_Mess1XWerte, measured},
            {kMeasuredPrefix + pressure, &doc.m_Mess1YWerte, measured},
            {kMeasuredPrefix + x + " (mit GOEV)", &doc.m_Mess2XWerte, measuredGor},
            {kMeasuredPrefix + gor, &doc.m_Mess2YWerte, measuredGor}};
}

}  // namespace

SeriesRunKind RunKindOf(const CMorvekDoc& doc) {
    if (doc.m_bRelPermAusgabe) return SeriesRunKind::RelPerm;
    if (doc.m_bPVTAusgabe) return SeriesRunKind::PvtTable;
    return SeriesRunKind::Depletion;
}

std::string SeriesCsvText(const CMorvekDoc& doc) {
    const std::vector<Column> columns = ColumnsOf(doc);
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
            if (r < columns[c].count) AppendNumber(out, (*columns[c].values)[r]);
        }
        out += '\n';
    }
    return out;
}

bool WriteSeriesCsv(const CMorvekDoc& doc, const std::string& path, std::string& error) {
    std::string problem;
    if (WriteFileAtomically(path, SeriesCsvText(doc), problem)) return true;
    error = Format("Die Datei %s kann nicht geschrieben werden.\n%s", DisplayPath(path).c_str(),
                   problem.c_str());
    return false;
}
