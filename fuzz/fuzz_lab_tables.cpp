// The readers of the laboratory tables. Invariants: a refused text leaves the
// table exactly as it was and says why; a table that is read is one the case
// file can store (sorted, within the row limits, every value allowed), and
// written out again with every digit it read, it reads back to the very same
// table.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Format.h"
#include "model/LabTables.h"

namespace {

template <class Table, class Parse, class Line>
void Check(const std::string& text, Parse parse, Line line) {
    Table table;
    table.fileName = "vorher";
    const Table before = table;
    std::vector<std::string> problems;
    if (parse(text, "tabelle.txt", table, problems) != morvek::TableReadStatus::Read) {
        if (problems.empty() || !morvek::SameTable(table, before)) std::abort();
        return;
    }
    if (!problems.empty() || !morvek::IsValidTable(table)) std::abort();
    std::string again = "Kopfzeile\n";
    for (const auto& row : table.rows) again += line(row);
    Table back;
    if (parse(again, "tabelle.txt", back, problems) != morvek::TableReadStatus::Read ||
        !morvek::SameTable(back, table))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Check<morvek::LabPvtTable>(text, morvek::ParsePvtTableText, [](const morvek::LabPvtRow& r) {
        return Format("%.9g %.9g %.9g %.9g %.9g %.9g\n", double(r.pressureBar), double(r.bo),
                      double(r.rs), double(r.bg), double(r.oilViscosityCp),
                      double(r.gasViscosityCp));
    });
    Check<morvek::LabRelPermTable>(text, morvek::ParseRelPermTableText,
                                   [](const morvek::LabRelPermRow& r) {
                                       return Format("%.9g;%.9g;%.9g\r\n", double(r.gasSaturation),
                                                     double(r.krg), double(r.kro));
                                   });
    return 0;
}
