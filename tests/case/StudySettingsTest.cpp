// The settings of the window's match and uncertainty analysis in the case
// file's optional block: items 20 and 21 with the documented bytes, a case
// that never used them written as before, every older file read as before,
// and a damaged item refused like any damaged file.

#include <gtest/gtest.h>
#include <zlib.h>

#include <bit>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "model/CaseFile.h"
#include "support/TestSupport.h"

namespace {

std::string U16(unsigned v) {
    return {char(v & 0xFF), char(v >> 8)};
}
std::string U32(uint32_t v) {
    return U16(v & 0xFFFF) + U16(v >> 16);
}
std::string F32(float v) {
    return U32(std::bit_cast<uint32_t>(v));
}
std::string Str(const std::string& s) {
    return char(s.size()) + s;
}

// The bytes of a block around items with a correct CRC.
std::string Block(const std::string& items) {
    std::string block = "MVKE" + U16(1) + U32(static_cast<uint32_t>(items.size())) + items;
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(block.data()),
                            static_cast<uInt>(block.size()));
    return block + U32(static_cast<uint32_t>(crc));
}

std::string Item(unsigned id, const std::string& content) {
    return U16(id) + U32(static_cast<uint32_t>(content.size())) + content;
}

morvek::CaseInputs Nordfeld() {
    CMorvekDoc doc;
    FillNordfeld(doc);
    return doc.m_Inputs;
}

std::string Encode(const morvek::CaseInputs& in) {
    std::string out, problem;
    EXPECT_TRUE(EncodeCaseFile(in, out, problem)) << problem;
    return out;
}

morvek::MatchSettings Match() {
    return {{{"m_OOIP", 4500.5f, 760, 7000}, {"m_Swi", 0.22f, 0.01f, 0.9f}}, 2.0f, 0.5f};
}

morvek::SweepSettings Sweep() {
    return {{{"m_KrgMax", false, 0.4f, 0.4f, 0.8f}, {"m_Sgc", true, 0.02f, 0.05f, 0.1f}},
            400,
            1,
            0x0000000300000001ull,
            60.5f};
}

}  // namespace

TEST(StudySettings, AreWrittenAsItems20And21WithTheDocumentedBytes) {
    const morvek::CaseInputs plain = Nordfeld();
    const std::string record = Encode(plain);
    morvek::CaseInputs in = plain;
    in.matchSettings = Match();
    in.sweepSettings = Sweep();
    const std::string matchItem =
        U16(2) + Str("m_OOIP") + F32(4500.5f) + F32(760) + F32(7000) + Str("m_Swi") +
        F32(0.22f) + F32(0.01f) + F32(0.9f) + F32(2.0f) + F32(0.5f);
    const std::string sweepItem = U16(2) + Str("m_KrgMax") + char(0) + F32(0.4f) + F32(0.4f) +
                                  F32(0.8f) + Str("m_Sgc") + char(1) + F32(0.02f) + F32(0.05f) +
                                  F32(0.1f) + U32(400) + char(1) + U32(1) + U32(3) + F32(60.5f);
    EXPECT_EQ(Encode(in), record + Block(Item(20, matchItem) + Item(21, sweepItem)));

    morvek::CaseInputs back;
    ASSERT_TRUE(DecodeCaseFile(Encode(in), back));
    EXPECT_TRUE(back == in);
    EXPECT_EQ(back.sweepSettings->seed, 0x0000000300000001ull);
    EXPECT_EQ(back.matchSettings->inputs[1].name, "m_Swi");

    // Beside the compressibilities, in the order of the items' ids.
    in.poreCompressibilityPerBar = 4.5e-5f;
    in.sweepSettings.reset();
    const std::string both = Encode(in);
    EXPECT_EQ(both, record + Block(Item(1, F32(4.5e-5f) + F32(0)) + Item(20, matchItem)));
    ASSERT_TRUE(DecodeCaseFile(both, back));
    EXPECT_TRUE(back == in);
}

TEST(StudySettings, ACaseThatNeverUsedThemIsWrittenAsBeforeAndOldFilesReadAsBefore) {
    for (const char* name : {"nordfeld.mvk", "gaskappe.mvk", "sauergas.mvk"}) {
        std::string bytes;
        bytes = ReadBytes(SourcePath(std::string("examples/") + name));
        morvek::CaseInputs in;
        ASSERT_TRUE(DecodeCaseFile(bytes, in)) << name;
        EXPECT_FALSE(in.matchSettings);
        EXPECT_FALSE(in.sweepSettings);
        EXPECT_EQ(Encode(in), bytes) << name;
    }
}

// Settings change the case (the window asks before closing it), and their
// change is told apart from any other.
TEST(StudySettings, TakePartInTheCasesComparisonBitForBit) {
    morvek::CaseInputs a = Nordfeld(), b = Nordfeld();
    a.matchSettings = Match();
    EXPECT_FALSE(a == b);
    b.matchSettings = Match();
    EXPECT_TRUE(a == b);
    b.matchSettings->inputs[0].upper = 7000.001f;
    EXPECT_FALSE(a == b);
    b.matchSettings = Match();
    b.matchSettings->gorWeight = -0.0f;
    a.matchSettings->gorWeight = 0.0f;
    EXPECT_FALSE(a == b);  // as the file holds them: -0 is not +0
    a.sweepSettings = Sweep();
    b.sweepSettings = Sweep();
    b.matchSettings = a.matchSettings;
    EXPECT_TRUE(a == b);
    b.sweepSettings->seed += 1;
    EXPECT_FALSE(a == b);
}

// Only what the program writes is read: an unknown or repeated name, a
// distribution or sampling it does not know, a short or long item; and a
// save of settings that name no input of the case is refused.
TEST(StudySettings, ADamagedItemIsRefusedWholeAndBadSettingsAreNotSaved) {
    const std::string record = Encode(Nordfeld());
    const std::string tail = F32(2) + F32(1);
    const std::string good = U16(1) + Str("m_OOIP") + F32(5000) + F32(1) + F32(9000) + tail;
    morvek::CaseInputs in;
    ASSERT_TRUE(DecodeCaseFile(record + Block(Item(20, good)), in));
    const std::string bad[] = {
        Item(20, U16(1) + Str("m_Unbekannt") + F32(5000) + F32(1) + F32(9000) + tail),
        Item(20, U16(1) + Str("ooip_1000m3") + F32(5000) + F32(1) + F32(9000) + tail),
        Item(20, U16(1) + Str("m_Feldname") + F32(5000) + F32(1) + F32(9000) + tail),
        Item(20, U16(2) + Str("m_OOIP") + F32(5000) + F32(1) + F32(9000) + Str("m_OOIP") +
                     F32(5000) + F32(1) + F32(9000) + tail),
        Item(20, good + char(0)),
        Item(20, good.substr(0, good.size() - 1)),
        Item(20, U16(9999) + tail),
        Item(21, U16(1) + Str("m_Sgc") + char(2) + F32(0) + F32(0) + F32(1) + U32(10) + char(0) +
                     U32(1) + U32(0) + F32(0)),
        Item(21, U16(0) + U32(10) + char(2) + U32(1) + U32(0) + F32(0)),
        Item(21, U16(0) + U32(10) + char(0) + U32(1) + U32(0)),
        Item(21, U16(0) + U32(10) + char(0) + U32(1) + U32(0) + F32(0)) + Item(20, good),
    };
    for (const std::string& items : bad) {
        morvek::CaseInputs kept = Nordfeld();
        kept.fieldName = "vorher";
        EXPECT_FALSE(DecodeCaseFile(record + Block(items), kept));
        EXPECT_EQ(kept.fieldName, "vorher");
    }

    morvek::CaseInputs unknown = Nordfeld();
    unknown.matchSettings = morvek::MatchSettings{{{"m_Unbekannt", 1, 0, 2}}, 1, 1};
    std::string out, problem;
    EXPECT_FALSE(EncodeCaseFile(unknown, out, problem));
    EXPECT_EQ(problem,
              "Die Einstellungen der Anpassung sind ungültig und können nicht gespeichert werden.");
    morvek::CaseInputs sampling = Nordfeld();
    sampling.sweepSettings = Sweep();
    sampling.sweepSettings->sampling = 7;
    EXPECT_FALSE(EncodeCaseFile(sampling, out, problem));
}
