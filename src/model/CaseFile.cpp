#include "model/CaseFile.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "model/FieldTable.h"

namespace {

constexpr unsigned kByteLimit = 0xFF;         // a length from here on needs a longer prefix
constexpr unsigned kWordLimit = 0xFFFE;       // a length from here on needs four bytes
constexpr unsigned kCountWordLimit = 0xFFFF;  // a row count from here on needs four bytes

class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}
    void U8(uint8_t v) { out_ += static_cast<char>(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void Float(float v) { U32(std::bit_cast<uint32_t>(v)); }
    void String(const std::string& cp1252) {
        const size_t n = cp1252.size();
        if (n < kByteLimit) {
            U8(static_cast<uint8_t>(n));
        } else if (n < kWordLimit) {
            U8(0xFF);
            U16(static_cast<uint16_t>(n));
        } else {
            U8(0xFF);
            U16(0xFFFF);
            U32(static_cast<uint32_t>(n));
        }
        out_ += cp1252;
    }

private:
    std::string& out_;
};

class Reader {
public:
    explicit Reader(const std::string& in) : in_(in) {}
    bool U8(uint8_t& v) {
        if (pos_ + 1 > in_.size()) return false;
        v = static_cast<uint8_t>(in_[pos_++]);
        return true;
    }
    bool U16(uint16_t& v) {
        uint8_t lo, hi;
        if (!U8(lo) || !U8(hi)) return false;
        v = static_cast<uint16_t>(lo | (hi << 8));
        return true;
    }
    bool U32(uint32_t& v) {
        uint16_t lo, hi;
        if (!U16(lo) || !U16(hi)) return false;
        v = static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16);
        return true;
    }
    bool Int(int32_t& v) {
        uint32_t u;
        if (!U32(u)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool Float(float& v) {
        uint32_t u;
        if (!U32(u)) return false;
        v = std::bit_cast<float>(u);
        return true;
    }
    bool String(std::string& utf8) {
        uint8_t b;
        if (!U8(b)) return false;
        uint32_t n = b;
        if (b == 0xFF) {
            uint16_t w;
            if (!U16(w)) return false;
            if (w == 0xFFFF) {
                if (!U32(n) || n < kWordLimit) return false;
            } else {
                // 0xFFFE is no length any writer of this format produces.
                if (w == 0xFFFE || w < kByteLimit) return false;
                n = w;
            }
        }
        if (n > Remaining() || n > morvek::kMaxCaseTextBytes) return false;
        utf8 = Cp1252ToUtf8(in_.substr(pos_, n));
        pos_ += n;
        return true;
    }
    bool Count(uint32_t& c) {
        uint16_t w;
        if (!U16(w)) return false;
        if (w != 0xFFFF) {
            c = w;
            return true;
        }
        return U32(c) && c >= kCountWordLimit;
    }
    size_t Remaining() const { return in_.size() - pos_; }

private:
    const std::string& in_;
    size_t pos_ = 0;
};

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
    if (in.Remaining() != 0) return false;
    inputs = std::move(r);
    return true;
}
