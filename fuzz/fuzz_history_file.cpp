// The reader of production-history files. Invariants: a refused text leaves
// the history exactly as it was and says why; a history that is read is one
// the case file can store, and written out again with every digit it read
// (days or dates, as it was read), it reads back to the very same history.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Format.h"
#include "waterdrive/HistoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    morvek::ProductionHistory history;
    history.fileName = "vorher";
    history.rows = {{0, 250, 0, 0, 0, 0, 0}};
    const morvek::ProductionHistory before = history;
    std::vector<std::string> problems;
    if (morvek::ParseHistoryText(text, "historie.txt", history, problems) !=
        morvek::TableReadStatus::Read) {
        if (problems.empty() || !morvek::SameHistory(history, before)) std::abort();
        return 0;
    }
    if (!problems.empty() || !morvek::IsValidHistory(history)) std::abort();
    const bool dated = !history.startDate.empty();
    std::string again = dated ? "date;pressure_bar;np_1000m3;gp_mio_sm3;wp_1000m3;wi_1000m3;gi_mio_sm3\n"
                              : "days pressure_bar np_1000m3 gp_mio_sm3 wp_1000m3 wi_1000m3 gi_mio_sm3\n";
    const long day0 = dated ? morvek::DayNumber(history.startDate) : 0;
    for (const morvek::HistoryRow& r : history.rows) {
        const std::string time = dated ? morvek::DateOfDayNumber(day0 + long(r.days))
                                       : Format("%.9g", double(r.days));
        again += time + Format(dated ? ";%.9g;%.9g;%.9g;%.9g;%.9g;%.9g\n" : " %.9g %.9g %.9g %.9g %.9g %.9g\n",
                               double(r.pressureBar), double(r.np1000m3), double(r.gpMioSm3),
                               double(r.wp1000m3), double(r.wi1000m3), double(r.giMioSm3));
    }
    morvek::ProductionHistory back;
    if (morvek::ParseHistoryText(again, "historie.txt", back, problems) !=
            morvek::TableReadStatus::Read ||
        !morvek::SameHistory(back, history))
        std::abort();
    return 0;
}
