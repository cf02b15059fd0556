// The case file's optional block: a case with tables and compressibilities
// saves and loads back to the same bytes, every case without them is written
// as before, and a damaged block is refused like any damaged file.

#include <gtest/gtest.h>
#include <zlib.h>

#include <bit>
#include <cmath>

#include "ExampleCases.h"
#include "ScriptedCase.h"
#include "TestSupport.h"
#include "case/MorvekDoc.h"
#include "model/CaseFile.h"
#include "model/CaseFileBlock.h"

namespace {

morvek::LabPvtTable PvtTable() {
    return {"labor-pvt.txt",
            {{50, 1.10f, 20, 0.02f, 1.5f, 0.012f},
             {120, 1.20f, 55, 0.009f, 1.1f, 0.016f},
             {200, 1.30f, 90, 0.005f, 0.8f, 0.02f},
             {250, 1.29f, 90, 0, 0.79f, -1}}};
}

morvek::LabRelPermTable RelPermTable() {
    return {"kern 7 Süd.txt", {{0, 0, 1}, {0.05f, 0, 0.8f}, {0.3f, 0.2f, 0.1f}, {0.6f, 0.7f, 0}}};
}

class CaseFileBlock : public ScriptedCase {
protected:
    CaseFileBlock() {
        FillNordfeld(doc);
        plainBytes = Encode(doc.m_Inputs);
        doc.m_Cf = 4.5e-5f;
        doc.m_Cw = 6e-5f;
        doc.m_Inputs.pvtTable = PvtTable();
        doc.m_Inputs.relPermTable = RelPermTable();
        bytes = Encode(doc.m_Inputs);
    }
    static std::string Encode(const morvek::CaseInputs& in) {
        std::string out, problem;
        EXPECT_TRUE(EncodeCaseFile(in, out, problem)) << problem;
        return out;
    }
    TempDir dir;
    std::string plainBytes;  // Nordfeld as every earlier program wrote it
    std::string bytes;       // the same with tables and compressibilities
};

std::string U16(unsigned v) {
    return {char(v & 0xFF), char(v >> 8)};
}
std::string U32(uint32_t v) {
    return U16(v & 0xFFFF) + U16(v >> 16);
}

// A block around the given items with a correct CRC: what a careful forger
// (or a newer program) could write.
std::string Block(const std::string& items, unsigned version = 1) {
    std::string b = "MVKE" + U16(version) + U32(uint32_t(items.size())) + items;
    const uLong crc =
        crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(b.data()), uInt(b.size()));
    return b + U32(uint32_t(crc));
}

std::string Item(unsigned id, const std::string& content) {
    return U16(id) + U32(uint32_t(content.size())) + content;
}

std::string Floats(std::initializer_list<float> values) {
    std::string out;
    for (float v : values) out += U32(std::bit_cast<uint32_t>(v));
    return out;
}

TEST_F(CaseFileBlock, ACaseWithTablesSavesAndLoadsBackToTheSameBytes) {
    // The record stays as it was; the block follows it, items in order.
    ASSERT_GT(bytes.size(), plainBytes.size());
    EXPECT_EQ(bytes.substr(0, plainBytes.size()), plainBytes);
    const std::string block = bytes.substr(plainBytes.size());
    EXPECT_EQ(block.substr(0, 6), "MVKE" + U16(1));
    EXPECT_EQ(block.substr(10, 6), U16(1) + U32(8)) << "item 1: the compressibilities";
    EXPECT_EQ(block.substr(16, 8), Floats({4.5e-5f, 6e-5f}));
    EXPECT_EQ(block.substr(24, 2), U16(2));
    EXPECT_EQ(block[30], char(13))
        << "the table's name, code page 1252, as the record writes strings";
    EXPECT_EQ(block.substr(31, 13), "labor-pvt.txt");

    const std::string path = dir.File("labor.mvk");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(ReadBytes(path), bytes);
    CMorvekDoc other;
    other.SetMessageSink(&sink);
    other.OnNewDocument();
    ASSERT_TRUE(other.ReadCaseFile(path));
    EXPECT_TRUE(other.m_Inputs == doc.m_Inputs);
    EXPECT_EQ(other.m_Inputs.relPermTable->fileName, "kern 7 Süd.txt");
    const std::string again = dir.File("wieder.mvk");
    ASSERT_TRUE(other.OnSaveDocument(again));
    EXPECT_EQ(ReadBytes(again), bytes);

    // A table that no reader could have produced is never written.
    other.m_Inputs.pvtTable->rows[1].pressureBar = 300;  // out of order
    EXPECT_FALSE(other.OnSaveDocument(again));
    EXPECT_EQ(ReadBytes(again), bytes);
}

TEST_F(CaseFileBlock, CasesWithoutThemAreWrittenAndReadAsBefore) {
    for (const char* example : {"nordfeld.mvk", "gaskappe.mvk", "sauergas.mvk"}) {
        SCOPED_TRACE(example);
        const std::string file = ReadBytes(SourcePath(std::string("examples/") + example));
        morvek::CaseInputs in;
        ASSERT_TRUE(DecodeCaseFile(file, in));
        EXPECT_FALSE(in.pvtTable || in.relPermTable);
        EXPECT_EQ(in.poreCompressibilityPerBar, 0.0f);
        EXPECT_EQ(Encode(in), file);
    }
    // Dropping the tables and the compressibilities drops the block.
    morvek::CaseInputs in = doc.m_Inputs;
    in.pvtTable.reset();
    in.relPermTable.reset();
    in.poreCompressibilityPerBar = in.waterCompressibilityPerBar = 0.0f;
    EXPECT_EQ(Encode(in), plainBytes);
    // A compressibility alone is kept; -0 is kept as -0.
    in.waterCompressibilityPerBar = -0.0f;
    morvek::CaseInputs back;
    ASSERT_TRUE(DecodeCaseFile(Encode(in), back));
    EXPECT_TRUE(std::signbit(back.waterCompressibilityPerBar));
    EXPECT_FALSE(back.pvtTable || back.relPermTable);
}

TEST_F(CaseFileBlock, ADamagedBlockIsRefusedWithTheDamagedFileMessage) {
    morvek::CaseInputs sentinel;
    sentinel.fieldName = "unberührt";
    sentinel.pvtTable = PvtTable();
    auto refused = [&](const std::string& file) {
        morvek::CaseInputs target = sentinel;
        const bool loaded = DecodeCaseFile(file, target);
        return !loaded && target == sentinel;
    };
    // Every flipped bit and every cut inside the block (a file cut exactly
    // where the record ends is an older file's record and loads as one).
    for (size_t i = plainBytes.size(); i < bytes.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string damaged = bytes;
            damaged[i] = char(damaged[i] ^ (1 << bit));
            EXPECT_TRUE(refused(damaged)) << "byte " << i << " bit " << bit;
        }
        if (i > plainBytes.size()) {
            EXPECT_TRUE(refused(bytes.substr(0, i))) << "cut at " << i;
        }
    }
    EXPECT_TRUE(refused(bytes + '\0')) << "a byte after the block";

    // Blocks with a correct CRC that this program never writes.
    const std::string tables =
        bytes.substr(plainBytes.size() + 24, bytes.size() - plainBytes.size() - 24 - 4);
    const std::string numbers = Item(1, Floats({4.5e-5f, 6e-5f}));
    morvek::CaseInputs forgedOk;
    ASSERT_TRUE(DecodeCaseFile(plainBytes + Block(numbers + tables), forgedOk));
    EXPECT_TRUE(forgedOk == doc.m_Inputs) << "the helper builds blocks as the program does";
    const std::vector<std::pair<const char*, std::string>> forged = {
        {"a newer version", Block(numbers, 2)},
        {"an unknown item", Block(numbers + Item(9, "x"))},
        {"items out of order", Block(tables + numbers)},
        {"an item twice", Block(numbers + numbers)},
        {"only defaults", Block(Item(1, Floats({0.0f, 0.0f})))},
        {"a short number item", Block(Item(1, Floats({1e-5f})))},
        {"an empty block", Block("")},
        {"a table of one row", Block(Item(2, std::string("\x01x", 2) + U16(1) +
                                                 Floats({100, 1.2f, 50, 0.01f, 1, 0.01f})))},
        {"rows out of order",
         Block(Item(3, std::string("\x01x", 2) + U16(2) + Floats({0.5f, 0.1f, 0.2f, 0.1f, 0, 1})))},
        {"an item longer than the block", Block(U16(1) + U32(100) + Floats({1e-5f, 0}))},
    };
    for (const auto& [what, block] : forged) EXPECT_TRUE(refused(plainBytes + block)) << what;

    // Through the document: the message of every damaged file, nothing changed.
    const std::string path = dir.File("beschaedigt.mvk");
    std::string damaged = bytes;
    damaged[bytes.size() - 7] ^= 0x10;
    WriteBytes(path, damaged);
    const morvek::CaseInputs before = doc.m_Inputs;
    sink.Clear();
    EXPECT_FALSE(doc.OnOpenDocument(path));
    EXPECT_TRUE(doc.m_Inputs == before);
    EXPECT_EQ(sink.Texts(),
              std::vector<std::string>{"Die Datei " + path + " ist keine gültige Morvek-Datei."});
}

TEST_F(CaseFileBlock, ThePvtTablesOptionalColumnsFollowTheTableAsAnItemOfTheirOwn) {
    morvek::CaseInputs in = doc.m_Inputs;
    morvek::LabPvtTable& t = *in.pvtTable;
    t.hasRv = true;
    t.hasBw = true;
    for (size_t i = 0; i < t.rows.size(); ++i) {
        t.rows[i].rv = 1e-5f * float(i + 1);
        t.rows[i].bw = 1.02f + 0.001f * float(i);
    }
    const std::string withColumns = Encode(in);
    // The table's item stays as it was; item 4 follows the relperm table's:
    // the columns it holds (bit 0 Rv, bit 1 Bw), then row by row Rv and Bw.
    const std::string item4 = Item(4, U16(3) + Floats({1e-5f, 1.02f, 2e-5f, 1.021f, 3e-5f, 1.022f,
                                                       4e-5f, 1.023f}));
    const size_t crc = 4;
    ASSERT_GT(withColumns.size(), bytes.size());
    EXPECT_EQ(withColumns.substr(withColumns.size() - crc - item4.size(), item4.size()), item4);
    EXPECT_EQ(withColumns.substr(plainBytes.size() + 10, bytes.size() - plainBytes.size() - 14),
              bytes.substr(plainBytes.size() + 10, bytes.size() - plainBytes.size() - 14));
    morvek::CaseInputs back;
    ASSERT_TRUE(DecodeCaseFile(withColumns, back));
    EXPECT_TRUE(back == in);
    EXPECT_TRUE(back.pvtTable->hasRv && back.pvtTable->hasBw);
    EXPECT_EQ(back.pvtTable->rows[2].rv, 3e-5f);
    EXPECT_EQ(Encode(back), withColumns);

    // Bw alone.
    t.hasRv = false;
    for (auto& r : t.rows) r.rv = 0;
    ASSERT_TRUE(DecodeCaseFile(Encode(in), back));
    EXPECT_TRUE(back == in);
    EXPECT_FALSE(back.pvtTable->hasRv);

    // Item 4 without the table, with no column or with a row too few is refused.
    const std::string numbers = Item(1, Floats({4.5e-5f, 6e-5f}));
    const std::string tables =
        bytes.substr(plainBytes.size() + 24, bytes.size() - plainBytes.size() - 24 - 4);
    for (const std::string& block :
         {Block(numbers + Item(4, U16(1) + Floats({1e-5f, 1e-5f, 1e-5f, 1e-5f}))),
          Block(numbers + tables + Item(4, U16(0))),
          Block(numbers + tables + Item(4, U16(1) + Floats({1e-5f, 1e-5f, 1e-5f}))),
          Block(numbers + tables + Item(4, U16(2) + Floats({1.0f, 1.0f, 0.0f, 1.0f}))),
          Block(numbers + tables + Item(4, U16(4) + Floats({1e-5f, 1e-5f, 1e-5f, 1e-5f})))}) {
        morvek::CaseInputs target;
        EXPECT_FALSE(DecodeCaseFile(plainBytes + block, target));
    }
    morvek::CaseInputs target;
    EXPECT_TRUE(DecodeCaseFile(
        plainBytes + Block(numbers + tables + Item(4, U16(1) + Floats({0, 1e-5f, 2e-5f, 0}))),
        target));
    EXPECT_TRUE(target.pvtTable->hasRv);
}

}  // namespace
