#include "model/CaseFileBlock.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <map>
#include <optional>

#include "model/ByteCodec.h"
#include "model/FieldTable.h"

namespace morvek {
namespace {

using codec::Reader;
using codec::Writer;

// Tag, version and the length of the items; the CRC follows the items.
constexpr size_t kHeadBytes = sizeof(kCaseFileBlockTag) + 2 + 4;
constexpr size_t kCrcBytes = 4;

uint32_t Crc32(const std::string& bytes, size_t begin, size_t end) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // A block is at most a few hundred kilobytes: one call of zlib covers it.
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + begin),
                static_cast<uInt>(end - begin));
    return static_cast<uint32_t>(crc);
}

// The items that hold numbers of the field table, each with its fields in
// slot order.
const std::map<int, std::vector<const Field*>>& NumberItems() {
    static const std::map<int, std::vector<const Field*>> items = [] {
        std::map<int, std::vector<const Field*>> found;
        for (const Field& f : FieldTable())
            if (f.blockItem != kNoBlockItem && f.kind != FieldKind::Text)
                found[f.blockItem].push_back(&f);
        for (auto& [item, fields] : found)
            std::sort(fields.begin(), fields.end(),
                      [](const Field* a, const Field* b) { return a->blockSlot < b->blockSlot; });
        return found;
    }();
    return items;
}

bool IsDefault(float v) {
    return std::bit_cast<uint32_t>(v) == 0u;  // +0.0: the default of every block number
}

// A number of an item: a float, or a choice as a 32-bit integer; 0 is the
// default of both.
bool IsDefault(const Field* f, const CaseInputs& in) {
    return f->kind == FieldKind::Choice ? in.*f->choice == 0 : IsDefault(f->Number(in));
}

void WriteNumber(Writer& w, const Field* f, const CaseInputs& in) {
    if (f->kind == FieldKind::Choice)
        w.U32(static_cast<uint32_t>(in.*f->choice));
    else
        w.Float(f->Number(in));
}

// A choice outside its range is never written, so it is refused on reading.
bool ReadNumber(Reader& r, const Field* f, CaseInputs& in) {
    if (f->kind != FieldKind::Choice) return r.Float(f->Number(in));
    return r.Int(in.*f->choice) && in.*f->choice >= 0 && in.*f->choice < f->choiceCount;
}

// The production history: its file name, the date of day 0 ("" without
// dates), the row count (2 bytes, 1 ... kMaxHistoryRows) and the rows of
// HistoryRow::kColumns floats.
bool WriteHistory(const ProductionHistory& h, std::string& content) {
    std::string name, date;
    if (!IsValidHistory(h) || !Utf8ToCp1252(h.fileName, name) || !Utf8ToCp1252(h.startDate, date))
        return false;
    Writer w(content);
    w.String(name);
    w.String(date);
    w.U16(static_cast<uint16_t>(h.rows.size()));
    for (const HistoryRow& row : h.rows)
        for (float v : row.Numbers()) w.Float(v);
    return true;
}

bool ReadHistory(const std::string& content, std::optional<ProductionHistory>& target) {
    Reader in(content);
    ProductionHistory h;
    uint16_t count = 0;
    if (!in.String(h.fileName) || !in.String(h.startDate) || !in.U16(count)) return false;
    if (count < 1 || count > kMaxHistoryRows) return false;
    h.rows.resize(count);
    for (HistoryRow& row : h.rows) {
        std::array<float, HistoryRow::kColumns> numbers{};
        for (float& v : numbers)
            if (!in.Float(v)) return false;
        row = HistoryRow::FromNumbers(numbers);
    }
    if (in.Remaining() != 0 || !IsValidHistory(h)) return false;
    target = std::move(h);
    return true;
}

template <class Table>
bool WriteTable(const Table& table, std::string& content) {
    std::string name;
    if (!IsValidTable(table) || !Utf8ToCp1252(table.fileName, name)) return false;
    Writer w(content);
    w.String(name);
    w.U16(static_cast<uint16_t>(table.rows.size()));
    for (const auto& row : table.rows)
        for (float v : row.Numbers()) w.Float(v);
    return true;
}

template <class Table>
bool ReadTable(const std::string& content, std::optional<Table>& target) {
    Reader in(content);
    Table table;
    uint16_t count = 0;
    if (!in.String(table.fileName) || !in.U16(count)) return false;
    if (count < kMinLabTableRows || count > kMaxLabTableRows) return false;
    table.rows.resize(count);
    using Row = typename decltype(Table::rows)::value_type;
    for (Row& row : table.rows) {
        std::array<float, Row::kColumns> numbers{};
        for (float& v : numbers)
            if (!in.Float(v)) return false;
        row = Row::FromNumbers(numbers);
    }
    if (in.Remaining() != 0 || !IsValidTable(table)) return false;
    target = std::move(table);
    return true;
}

// The PVT table's optional columns: which it holds (bit 0 Rv, bit 1 Bw), then
// row by row their values, Rv before Bw.
constexpr uint16_t kRvColumn = 1;
constexpr uint16_t kBwColumn = 2;

void WritePvtColumns(const LabPvtTable& table, std::string& content) {
    Writer w(content);
    w.U16(static_cast<uint16_t>((table.hasRv ? kRvColumn : 0) | (table.hasBw ? kBwColumn : 0)));
    for (const LabPvtRow& row : table.rows) {
        if (table.hasRv) w.Float(row.rv);
        if (table.hasBw) w.Float(row.bw);
    }
}

bool ReadPvtColumns(const std::string& content, LabPvtTable& table) {
    Reader in(content);
    uint16_t mask = 0;
    if (!in.U16(mask) || mask == 0 || (mask & ~(kRvColumn | kBwColumn)) != 0) return false;
    table.hasRv = (mask & kRvColumn) != 0;
    table.hasBw = (mask & kBwColumn) != 0;
    for (LabPvtRow& row : table.rows) {
        if (table.hasRv && !in.Float(row.rv)) return false;
        if (table.hasBw && !in.Float(row.bw)) return false;
    }
    return in.Remaining() == 0 && IsValidTable(table);
}
// The record name of a number of the field table, or nullptr.
const Field* NumberField(const std::string& name) {
    const Field* f = FindField(name);
    return f != nullptr && f->kind == FieldKind::Number && name == f->recordName ? f : nullptr;
}

// Names of the field table's numbers, each at most once: what a settings
// item may name.
template <class Entries, class NameOf>
bool KnownNamesOnce(const Entries& entries, NameOf nameOf) {
    std::vector<const Field*> seen;
    for (const auto& e : entries) {
        const Field* f = NumberField(nameOf(e));
        if (f == nullptr || std::find(seen.begin(), seen.end(), f) != seen.end()) return false;
        seen.push_back(f);
    }
    return true;
}

bool WriteMatchSettings(const MatchSettings& m, std::string& content) {
    if (m.inputs.size() > FieldTable().size() ||
        !KnownNamesOnce(m.inputs, [](const MatchSettings::Input& i) { return i.name; }))
        return false;
    Writer w(content);
    w.U16(static_cast<uint16_t>(m.inputs.size()));
    for (const MatchSettings::Input& i : m.inputs) {
        w.String(i.name);  // a record name: ASCII
        w.Float(i.start);
        w.Float(i.lower);
        w.Float(i.upper);
    }
    w.Float(m.pressureWeight);
    w.Float(m.gorWeight);
    return true;
}

bool ReadMatchSettings(const std::string& content, std::optional<MatchSettings>& target) {
    Reader in(content);
    MatchSettings m;
    uint16_t count = 0;
    if (!in.U16(count) || count > FieldTable().size()) return false;
    m.inputs.resize(count);
    for (MatchSettings::Input& i : m.inputs)
        if (!in.String(i.name) || !in.Float(i.start) || !in.Float(i.lower) || !in.Float(i.upper))
            return false;
    if (!in.Float(m.pressureWeight) || !in.Float(m.gorWeight) || in.Remaining() != 0) return false;
    if (!KnownNamesOnce(m.inputs, [](const MatchSettings::Input& i) { return i.name; }))
        return false;
    target = std::move(m);
    return true;
}

bool WriteSweepSettings(const SweepSettings& s, std::string& content) {
    if (s.ranges.size() > FieldTable().size() || s.sampling > 1 ||
        !KnownNamesOnce(s.ranges, [](const SweepSettings::Range& r) { return r.name; }))
        return false;
    Writer w(content);
    w.U16(static_cast<uint16_t>(s.ranges.size()));
    for (const SweepSettings::Range& r : s.ranges) {
        w.String(r.name);
        w.U8(r.triangular ? 1 : 0);
        w.Float(r.low);
        w.Float(r.mode);
        w.Float(r.high);
    }
    w.U32(s.samples);
    w.U8(s.sampling);
    w.U32(static_cast<uint32_t>(s.seed));
    w.U32(static_cast<uint32_t>(s.seed >> 32));
    w.Float(s.abandonmentPressureBar);
    return true;
}

bool ReadSweepSettings(const std::string& content, std::optional<SweepSettings>& target) {
    Reader in(content);
    SweepSettings s;
    uint16_t count = 0;
    if (!in.U16(count) || count > FieldTable().size()) return false;
    s.ranges.resize(count);
    for (SweepSettings::Range& r : s.ranges) {
        uint8_t kind = 0;
        if (!in.String(r.name) || !in.U8(kind) || kind > 1 || !in.Float(r.low) ||
            !in.Float(r.mode) || !in.Float(r.high))
            return false;
        r.triangular = kind == 1;
    }
    uint32_t seedLow = 0, seedHigh = 0;
    if (!in.U32(s.samples) || !in.U8(s.sampling) || s.sampling > 1 || !in.U32(seedLow) ||
        !in.U32(seedHigh) || !in.Float(s.abandonmentPressureBar) || in.Remaining() != 0)
        return false;
    s.seed = (uint64_t{seedHigh} << 32) | seedLow;
    if (!KnownNamesOnce(s.ranges, [](const SweepSettings::Range& r) { return r.name; }))
        return false;
    target = std::move(s);
    return true;
}

void AppendItem(Writer& w, std::string& items, int id, const std::string& content) {
    w.U16(static_cast<uint16_t>(id));
    w.U32(static_cast<uint32_t>(content.size()));
    items += content;
}

}  // namespace

bool AppendCaseFileBlock(const CaseInputs& in, std::string& out, std::string& problem) {
    // Items in ascending order of their ids, each only when it holds more
    // than defaults.
    std::map<int, std::string> contents;
    for (const auto& [item, fields] : NumberItems()) {
        if (std::all_of(fields.begin(), fields.end(),
                        [&](const Field* f) { return IsDefault(f, in); }))
            continue;
        Writer w(contents[item]);
        for (const Field* f : fields) WriteNumber(w, f, in);
    }
    if (in.history && !WriteHistory(*in.history, contents[kBlockHistory])) {
        problem = "Die Produktionshistorie des Falls ist ungültig und kann nicht gespeichert werden.";
        return false;
    }
    if (in.pvtTable && !WriteTable(*in.pvtTable, contents[kBlockPvtTable])) {
        problem = "Die PVT-Tabelle des Falls ist ungültig und kann nicht gespeichert werden.";
        return false;
    }
    if (in.pvtTable && (in.pvtTable->hasRv || in.pvtTable->hasBw))
        WritePvtColumns(*in.pvtTable, contents[kBlockPvtTableColumns]);
    if (in.relPermTable && !WriteTable(*in.relPermTable, contents[kBlockRelPermTable])) {
        problem =
            "Die Tabelle der relativen Permeabilitäten ist ungültig und kann nicht gespeichert "
            "werden.";
        return false;
    }
    if (in.waterCutTable && !WriteTable(*in.waterCutTable, contents[kBlockWaterCutTable])) {
        problem = "Die Tabelle des Wasseranteils ist ungültig und kann nicht gespeichert werden.";
        return false;
    }
    if (in.matchSettings && !WriteMatchSettings(*in.matchSettings, contents[kBlockMatchSettings])) {
        problem = "Die Einstellungen der Anpassung sind ungültig und können nicht gespeichert werden.";
        return false;
    }
    if (in.sweepSettings && !WriteSweepSettings(*in.sweepSettings, contents[kBlockSweepSettings])) {
        problem =
            "Die Einstellungen der Unsicherheitsanalyse sind ungültig und können nicht gespeichert "
            "werden.";
        return false;
    }
    if (contents.empty()) return true;

    std::string items;
    Writer itemWriter(items);
    for (const auto& [id, content] : contents) AppendItem(itemWriter, items, id, content);

    const size_t begin = out.size();
    out.append(kCaseFileBlockTag, sizeof(kCaseFileBlockTag));
    Writer w(out);
    w.U16(kCaseFileBlockVersion);
    w.U32(static_cast<uint32_t>(items.size()));
    out += items;
    w.U32(Crc32(out, begin, out.size()));
    return true;
}

bool ReadCaseFileBlock(const std::string& bytes, size_t pos, CaseInputs& r) {
    if (pos > bytes.size() || bytes.size() - pos < kHeadBytes + kCrcBytes) return false;
    if (bytes.compare(pos, sizeof(kCaseFileBlockTag), kCaseFileBlockTag,
                      sizeof(kCaseFileBlockTag)) != 0)
        return false;
    Reader in(bytes, pos + sizeof(kCaseFileBlockTag));
    uint16_t version = 0;
    uint32_t length = 0;
    if (!in.U16(version) || version != kCaseFileBlockVersion || !in.U32(length)) return false;
    if (in.Remaining() != size_t{length} + kCrcBytes) return false;
    const size_t itemsEnd = in.Position() + length;
    Reader crcReader(bytes, itemsEnd);
    uint32_t crc = 0;
    if (!crcReader.U32(crc) || crc != Crc32(bytes, pos, itemsEnd)) return false;

    int lastId = kNoBlockItem;
    bool pvtTableRead = false;
    while (in.Position() < itemsEnd) {
        uint16_t id = 0;
        uint32_t size = 0;
        if (!in.U16(id) || !in.U32(size)) return false;
        if (in.Position() > itemsEnd || size > itemsEnd - in.Position()) return false;
        if (id <= lastId) return false;
        lastId = id;
        const std::string content = bytes.substr(in.Position(), size);
        in.Skip(size);
        if (id == kBlockPvtTable) {
            if (!ReadTable(content, r.pvtTable)) return false;
            pvtTableRead = true;
            continue;
        }
        if (id == kBlockPvtTableColumns) {
            // Only after the table itself, in this block.
            if (!pvtTableRead || !ReadPvtColumns(content, *r.pvtTable)) return false;
            continue;
        }
        if (id == kBlockRelPermTable) {
            if (!ReadTable(content, r.relPermTable)) return false;
            continue;
        }
        if (id == kBlockHistory) {
            if (!ReadHistory(content, r.history)) return false;
            continue;
        }
        if (id == kBlockWaterCutTable) {
            if (!ReadTable(content, r.waterCutTable)) return false;
            continue;
        }
        if (id == kBlockMatchSettings) {
            if (!ReadMatchSettings(content, r.matchSettings)) return false;
            continue;
        }
        if (id == kBlockSweepSettings) {
            if (!ReadSweepSettings(content, r.sweepSettings)) return false;
            continue;
        }
        const auto item = NumberItems().find(id);
        if (item == NumberItems().end()) return false;  // an item this program does not know
        const std::vector<const Field*>& fields = item->second;
        if (size != 4 * fields.size()) return false;
        Reader numbers(content);
        bool onlyDefaults = true;
        for (const Field* f : fields) {
            if (!ReadNumber(numbers, f, r)) return false;
            onlyDefaults = onlyDefaults && IsDefault(f, r);
        }
        if (onlyDefaults) return false;  // never written so
    }
    // A block without items is never written either.
    return lastId != kNoBlockItem && in.Position() == itemsEnd;
}

}  // namespace morvek
