// The readers of the laboratory tables. Invariants: a refused text leaves the
// table exactly as it was and says why, each reason on one line without
// control characters; a table that is read is one the case file can store
// (sorted, within the row limits, every value allowed, a printable name in
// code page 1252), and written out again with every digit it read, it reads
// back to the very same table.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Format.h"
#include "model/LabTables.h"

namespace {

bool HasControlCharacter(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

template <class Table, class Parse, class Line>
void Check(const std::string& text, const std::string& name, Parse parse, Line line) {
    Table table;
    table.fileName = "vorher";
    const Table before = table;
    std::vector<std::string> problems;
    if (parse(text, name, table, problems) != morvek::TableReadStatus::Read) {
        if (problems.empty() || !morvek::SameTable(table, before)) std::abort();
        // Each problem is one line that sends nothing to a terminal.
        for (const std::string& p : problems)
            if (HasControlCharacter(p)) std::abort();
        return;
    }
    // The name is one the report shows on its line and the case file stores.
    if (!problems.empty() || !morvek::IsValidTable(table) || HasControlCharacter(table.fileName))
        std::abort();
    std::string again = "Kopfzeile\n";
    for (const auto& row : table.rows) again += line(row);
    Table back;
    if (parse(again, name, back, problems) != morvek::TableReadStatus::Read ||
        !morvek::SameTable(back, table))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The file's name from the bytes of its first line, as odd as names come.
    const std::string name = text.substr(0, std::min<size_t>(text.find('\n'), 40));
    Check<morvek::LabPvtTable>(text, name, morvek::ParsePvtTableText, [](const morvek::LabPvtRow& r) {
        return Format("%.9g %.9g %.9g %.9g %.9g %.9g\n", double(r.pressureBar), double(r.bo),
                      double(r.rs), double(r.bg), double(r.oilViscosityCp),
                      double(r.gasViscosityCp));
    });
    Check<morvek::LabRelPermTable>(text, name, morvek::ParseRelPermTableText,
                                   [](const morvek::LabRelPermRow& r) {
                                       return Format("%.9g;%.9g;%.9g\r\n", double(r.gasSaturation),
                                                     double(r.krg), double(r.kro));
                                   });
    return 0;
}
