#include "model/CaseFile.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "model/ByteCodec.h"
#include "model/CaseFileBlock.h"
#include "model/FieldTable.h"

namespace {

using morvek::codec::kCountWordLimit;
using morvek::codec::Reader;
using morvek::codec::Writer;

// The fields the file holds, in their order there.
const std::vector<const morvek::Field*>& FieldsInFileOrder() {
    static const std::vector<const morvek::Field*> fields = [] {
        std::vector<const morvek::Field*> stored;
        for (const morvek::Field& f : morvek::FieldTable())
            if (f.filePosition >= 0) stored.push_back(&f);
        std::sort(stored.begin(), stored.end(), [](const morvek::Field* a, const morvek::Field* b) {
            return a->filePosition < b->filePosition;
        });
        return stored;
    }();
    return fields;
}

}  // namespace

bool EncodeCaseFile(const morvek::CaseInputs& in, std::string& bytes, std::string& problem) {
    std::string out;
    Writer w(out);
    for (const morvek::Field* f : FieldsInFileOrder()) {
        switch (f->kind) {
            case morvek::FieldKind::Number:
                w.Float(f->Number(in));
                break;
            case morvek::FieldKind::Choice:
                w.U32(static_cast<uint32_t>(in.*f->choice));
                break;
            case morvek::FieldKind::Text: {
                std::string encoded;
                if (!Utf8ToCp1252(in.*f->text, encoded)) {
                    problem = "Der Feldname enthält Zeichen, die die Datei nicht aufnehmen kann.";
                    return false;
                }
                // What the loader would refuse is never written.
                if (encoded.size() > morvek::kMaxCaseTextBytes) {
                    problem =
                        Format("Der Feldname ist zu lang: die Datei nimmt höchstens %zu Zeichen auf.",
                               morvek::kMaxCaseTextBytes);
                    return false;
                }
                w.String(encoded);
                break;
            }
        }
    }
    if (in.measuredRows.size() > morvek::kMaxMeasuredRows) {
        problem = Format("Die Datei nimmt höchstens %zu Meßwertzeilen auf.", morvek::kMaxMeasuredRows);
        return false;
    }
    std::vector<std::string> rows(in.measuredRows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!Utf8ToCp1252(in.measuredRows[i], rows[i])) {
            problem = Format(
                "Die %zu. Meßwertzeile enthält Zeichen, die die Datei nicht "
                "aufnehmen kann.",
                i + 1);
            return false;
        }
        if (rows[i].size() > morvek::kMaxCaseTextBytes) {
            problem = Format(
                "Die %zu. Meßwertzeile ist zu lang: die Datei nimmt höchstens %zu "
                "Zeichen auf.",
                i + 1, morvek::kMaxCaseTextBytes);
            return false;
        }
    }
    if (rows.size() < kCountWordLimit) {
        w.U16(static_cast<uint16_t>(rows.size()));
    } else {
        w.U16(0xFFFF);
        w.U32(static_cast<uint32_t>(rows.size()));
    }
    for (const std::string& row : rows) w.String(row);
    // Inputs that older files do not hold follow in the optional block.
    if (!morvek::AppendCaseFileBlock(in, out, problem)) return false;
    bytes.swap(out);
    return true;
}

bool DecodeCaseFile(const std::string& bytes, morvek::CaseInputs& inputs) {
    Reader in(bytes);
    morvek::CaseInputs r;
    for (const morvek::Field* f : FieldsInFileOrder()) {
        bool ok = false;
        switch (f->kind) {
            case morvek::FieldKind::Number:
                ok = in.Float(f->Number(r));
                break;
            case morvek::FieldKind::Choice:
                ok = in.Int(r.*f->choice);
                break;
            case morvek::FieldKind::Text:
                ok = in.String(r.*f->text);
                break;
        }
        if (!ok) return false;
    }
    uint32_t count;
    if (!in.Count(count)) return false;
    // Every row takes at least its one-byte length prefix.
    if (count > in.Remaining() || count > morvek::kMaxMeasuredRows) return false;
    r.measuredRows.resize(count);
    for (std::string& row : r.measuredRows)
        if (!in.String(row)) return false;
    // Bytes after the rows must be the optional block, exactly as written.
    if (in.Remaining() != 0 && !morvek::ReadCaseFileBlock(bytes, in.Position(), r)) return false;
    inputs = std::move(r);
    return true;
}
