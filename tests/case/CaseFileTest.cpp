// The case file: exact byte layout, bit-for-bit round trips, refusal of
// damaged files without touching the case, and saves that never damage the
// earlier file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "ExampleCases.h"
#include "ScriptedCase.h"
#include "ScriptedDataEntry.h"
#include "ScriptedMessageSink.h"
#include "TestSupport.h"
#include "model/CaseFile.h"
#include "case/MorvekDoc.h"
#include "model/CaseFile.h"

namespace {

std::string Encode(const morvek::CaseInputs& r) {
    std::string bytes, problem;
    EXPECT_TRUE(EncodeCaseFile(r, bytes, problem)) << problem;
    return bytes;
}

morvek::CaseInputs NordfeldRecord() {
    CMorvekDoc doc;
    FillNordfeld(doc);
    return doc.m_Inputs;
}

TEST(CaseFileLayout, AnEmptyCaseIs115Bytes) {
    morvek::CaseInputs r;
    const std::string bytes = Encode(r);
    ASSERT_EQ(bytes.size(), 115u);
    EXPECT_EQ(bytes[44], '\0') << "field name length";
    EXPECT_EQ(bytes.substr(113), std::string("\0\0", 2)) << "row count";
}

TEST(CaseFileLayout, WritesFieldsLittleEndianInTheirOrder) {
    morvek::CaseInputs r;
    r.ooip1000m3 = 5000.0f;
    r.gasCapRatio = 0.5f;
    r.correlation = 3;
    r.fieldName = "Süd";
    r.oilViscosityAtBubblePointCp = 0.9f;
    r.gasMolePercent[14] = 1.25f;
    r.measuredRows = {"1 2", ""};
    const std::string b = Encode(r);
    auto floatAt = [&](size_t off) {
        uint32_t u = 0;
        for (int k = 3; k >= 0; --k) u = (u << 8) | static_cast<unsigned char>(b[off + k]);
        return std::bit_cast<float>(u);
    };
    EXPECT_EQ(floatAt(0), 5000.0f);
    EXPECT_EQ(floatAt(36), 0.5f);
    EXPECT_EQ(b.substr(40, 4), std::string("\x03\0\0\0", 4));
    EXPECT_EQ(b.substr(44, 4),
              "\x03S\xFC"
              "d")
        << "code page 1252 on disk";
    EXPECT_EQ(floatAt(48), 0.9f);
    EXPECT_EQ(floatAt(56 + 14 * 4), 1.25f);
    EXPECT_EQ(b.substr(116), std::string("\x02\0\x03"
                                         "1 2\x00",
                                         7));
}

TEST(CaseFileLayout, ChoosesTheLengthPrefixByLength) {
    auto prefixOf = [](size_t n) {
        morvek::CaseInputs r;
        r.fieldName = std::string(n, 'x');
        return Encode(r).substr(44, 7);
    };
    EXPECT_EQ(prefixOf(254).substr(0, 1), "\xFE");
    EXPECT_EQ(prefixOf(255).substr(0, 3), std::string("\xFF\xFF\x00", 3));
    EXPECT_EQ(prefixOf(256).substr(0, 3), std::string("\xFF\x00\x01", 3));
    EXPECT_EQ(prefixOf(0xFFFD).substr(0, 3), "\xFF\xFD\xFF");
    EXPECT_EQ(prefixOf(0xFFFE), std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7))
        << "0xFFFE itself is written in the four-byte form";
    EXPECT_EQ(prefixOf(kMaxCaseTextBytes), std::string("\xFF\xFF\xFF\x00\x00\x01\x00", 7));
}

TEST(CaseFileLayout, WritesLargeRowCountsInTheLongForm) {
    morvek::CaseInputs r;
    r.measuredRows.assign(0xFFFF, "");
    const std::string b = Encode(r);
    EXPECT_EQ(b.substr(113, 6), std::string("\xFF\xFF\xFF\xFF\x00\x00", 6));
    morvek::CaseInputs back;
    ASSERT_TRUE(DecodeCaseFile(b, back));
    EXPECT_EQ(back.measuredRows.size(), 0xFFFFu);
}

TEST(CaseFileRoundTrip, ReproducesEveryInputBitForBit) {
    morvek::CaseInputs r = NordfeldRecord();
    r.apiGravity = 34.99123f;
    r.connateWaterSaturation = std::nextafter(0.2f, 1.0f);
    r.temperatureC = -0.0f;
    r.initialGorSm3PerM3 = std::bit_cast<float>(0x7FC00001u);  // a NaN with payload stays that NaN
    r.fieldName = std::string(300, 'a') + "Öl€";
    r.measuredRows = {"  1000.000                240.0               95.5", "2000 230"};
    morvek::CaseInputs back;
    ASSERT_TRUE(DecodeCaseFile(Encode(r), back));
    EXPECT_TRUE(back == r);
    EXPECT_EQ(Encode(back), Encode(r));
}

TEST(CaseFileRoundTrip, RefusesANameCodePage1252CannotHold) {
    morvek::CaseInputs r;
    r.fieldName = "Поле";
    std::string bytes = "unverändert", problem;
    EXPECT_FALSE(EncodeCaseFile(r, bytes, problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(bytes, "unverändert");
}

TEST(CaseFileDamage, EveryTruncationIsRefusedWithoutChangingTheRecord) {
    morvek::CaseInputs r = NordfeldRecord();
    r.fieldName = std::string(300, 'n');
    r.measuredRows = {"100 240 90", "200 230"};
    const std::string bytes = Encode(r);
    const morvek::CaseInputs before = NordfeldRecord();
    for (size_t n = 0; n < bytes.size(); ++n) {
        morvek::CaseInputs target = before;
        EXPECT_FALSE(DecodeCaseFile(bytes.substr(0, n), target)) << "length " << n;
        EXPECT_TRUE(target == before) << "length " << n;
    }
}

TEST(CaseFileDamage, RefusesLengthsNoWriterProducesAndTrailingBytes) {
    const std::string good = Encode(morvek::CaseInputs{});
    auto withName = [&](const std::string& prefixAndName) {
        return good.substr(0, 44) + prefixAndName + good.substr(45);
    };
    morvek::CaseInputs r;
    EXPECT_TRUE(DecodeCaseFile(good, r));
    EXPECT_FALSE(DecodeCaseFile(withName(std::string("\xFF\xFE\xFF", 3)), r)) << "0xFFFE";
    EXPECT_FALSE(DecodeCaseFile(withName(std::string("\xFF\x05\x00"
                                                     "abcde",
                                                     8)),
                                r))
        << "a short name in the long form";
    EXPECT_FALSE(DecodeCaseFile(withName(std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7)), r))
        << "a length far beyond the file is an error, not an allocation";
    EXPECT_FALSE(DecodeCaseFile(withName("\x10"
                                         "kurz"),
                                r));
    EXPECT_FALSE(DecodeCaseFile(good + "x", r)) << "bytes after the last row";
    std::string hugeCount = good.substr(0, 113) + std::string("\xFF\xFF\xFF\xFF\xFF\x7F", 6);
    EXPECT_FALSE(DecodeCaseFile(hugeCount, r));
}

// The limits bound the memory a file can ask for: a real case never comes
// near them, and a file beyond them is refused as damaged, as a save that
// would write one is refused.
TEST(CaseFileLimits, TextsAndRowCountsUpToTheLimitRoundTripAndOneMoreIsRefused) {
    const morvek::CaseInputs before = NordfeldRecord();
    struct Shape {
        size_t nameBytes, rows, rowBytes;
        bool fits;
    };
    const Shape shapes[] = {
        {kMaxCaseTextBytes, 2, 10, true}, {kMaxCaseTextBytes + 1, 2, 10, false},
        {10, 2, kMaxCaseTextBytes, true}, {10, 2, kMaxCaseTextBytes + 1, false},
        {10, kMaxMeasuredRows, 0, true},  {10, kMaxMeasuredRows + 1, 0, false},
    };
    for (const Shape& shape : shapes) {
        morvek::CaseInputs r;
        r.fieldName = std::string(shape.nameBytes, 'n');
        r.measuredRows.assign(shape.rows, std::string(shape.rowBytes, '1'));
        std::string bytes = "unverändert", problem;
        EXPECT_EQ(EncodeCaseFile(r, bytes, problem), shape.fits)
            << shape.nameBytes << " " << shape.rows;
        if (shape.fits) {
            morvek::CaseInputs back;
            ASSERT_TRUE(DecodeCaseFile(bytes, back));
            EXPECT_TRUE(back == r);
            continue;
        }
        EXPECT_EQ(bytes, "unverändert");
        EXPECT_FALSE(problem.empty());
        // The same file as a writer without the limits would have made it.
        morvek::CaseInputs small = r;
        small.fieldName = "n";
        small.measuredRows.assign(1, "1");
        ASSERT_TRUE(EncodeCaseFile(small, bytes, problem)) << problem;
        std::string big = bytes.substr(0, 44);
        auto text = [&](size_t n, char c) {
            if (n < 0xFF) {
                big += static_cast<char>(n);
            } else {
                big += std::string("\xFF\xFF\xFF", 3);
                for (int i = 0; i < 4; ++i) big += static_cast<char>((n >> (8 * i)) & 0xFF);
            }
            big += std::string(n, c);
        };
        text(shape.nameBytes, 'n');
        big += bytes.substr(46, 68);
        if (shape.rows < 0xFFFF) {
            big += static_cast<char>(shape.rows & 0xFF);
            big += static_cast<char>(shape.rows >> 8);
        } else {
            big += std::string("\xFF\xFF", 2);
            for (int i = 0; i < 4; ++i) big += static_cast<char>((shape.rows >> (8 * i)) & 0xFF);
        }
        for (size_t i = 0; i < shape.rows; ++i) text(shape.rowBytes, '1');
        morvek::CaseInputs target = before;
        EXPECT_FALSE(DecodeCaseFile(big, target)) << shape.nameBytes << " " << shape.rows;
        EXPECT_TRUE(target == before);
    }
}

class CaseDocumentFile : public ScriptedCase {
protected:
    TempDir dir;
};

TEST_F(CaseDocumentFile, SavedAndOpenedCaseIsIdenticalAndOpensTheDialog) {
    FillNordfeld(doc);
    doc.m_Messwerte = {"100 240 90"};
    const std::string path = dir.File("nordfeld.mvk");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(doc.GetTitle(), "nordfeld.mvk");
    EXPECT_FALSE(doc.IsModified());

    CMorvekDoc other;
    other.SetMessageSink(&sink);
    other.SetDataEntryRunner(&entry);
    other.OnNewDocument();
    other.m_bPVTAusgabe = 1;
    other.SetModifiedFlag(true);
    ASSERT_TRUE(other.OnOpenDocument(path));
    EXPECT_TRUE(other.m_Inputs == doc.m_Inputs);
    EXPECT_EQ(entry.Runs(), 1) << "the data-entry dialog opens after loading";
    EXPECT_EQ(other.m_bPVTAusgabe, 1) << "the output flags are not in the file";
    EXPECT_EQ(other.m_bGeaendert, 1);
    EXPECT_EQ(other.m_bGrafikNeu, 1);
    EXPECT_FALSE(other.IsModified());
    EXPECT_EQ(other.GetTitle(), "nordfeld.mvk");
    EXPECT_EQ(other.GetPathName(), path);
}

TEST_F(CaseDocumentFile, OpeningAndCancellingKeepsTheLoadedInputsAndDropsTheOldReport) {
    FillNordfeld(doc);
    const std::string path = dir.File("n.mvk");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CMorvekDoc other;
    other.SetDataEntryRunner(&entry);
    other.OnNewDocument();
    other.m_Text = {"Bericht des vorigen Falls"};
    entry.SetScript([](DlgInput&) { return false; });
    ASSERT_TRUE(other.OnOpenDocument(path));
    EXPECT_EQ(other.m_OOIP, 5000.0f);
    // The report of the case before never shows under this one.
    EXPECT_TRUE(other.m_Text.empty());
    EXPECT_FALSE(other.IsModified());
    EXPECT_EQ(other.m_bGrafikNeu, 1);
}

TEST_F(CaseDocumentFile, ADamagedFileIsRefusedByNameAndTheCaseStaysAsItWas) {
    FillNordfeld(doc);
    const std::string path = dir.File("kaputt.mvk");
    WriteBytes(path, std::string(60, '\x01'));
    const morvek::CaseInputs before = doc.m_Inputs;
    EXPECT_FALSE(doc.OnOpenDocument(path));
    EXPECT_TRUE(doc.m_Inputs == before);
    EXPECT_EQ(entry.Runs(), 0);
    ASSERT_EQ(sink.Texts().size(), 1u);
    EXPECT_EQ(sink.Texts()[0], "Die Datei " + path + " ist keine gültige Morvek-Datei.");

    sink.Clear();
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("fehlt.mvk")));
    ASSERT_EQ(sink.Texts().size(), 1u);
    EXPECT_EQ(sink.Texts()[0].rfind(
                  "Die Datei " + dir.File("fehlt.mvk") + " kann nicht gelesen werden.", 0),
              0u);
    EXPECT_TRUE(doc.m_Inputs == before);
}

TEST_F(CaseDocumentFile, AFailedSaveReportsAndKeepsTheEarlierFile) {
    FillNordfeld(doc);
    const std::string path = dir.File("nordfeld.mvk");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::string earlier = ReadBytes(path);
    doc.m_OOIP = 1.0f;
    doc.SetModifiedFlag(true);

    // A directory in the way of the file.
    EXPECT_FALSE(doc.OnSaveDocument(dir.Path()));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(sink.Texts().size(), 1u);
    EXPECT_EQ(
        sink.Texts()[0].rfind("Die Datei " + dir.Path() + " konnte nicht gespeichert werden.", 0),
        0u);

    // A field name that code page 1252 cannot hold.
    doc.m_Feldname = "Поле";
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(ReadBytes(path), earlier);

    // A read-only folder.
    doc.m_Feldname = "Nordfeld";
    {
        ReadOnlyFolder readOnly(dir.Path());
        ASSERT_TRUE(readOnly.Effective());
        EXPECT_FALSE(doc.OnSaveDocument(path));
    }
    EXPECT_EQ(ReadBytes(path), earlier);
    EXPECT_EQ(doc.GetPathName(), path);
}

}  // namespace
