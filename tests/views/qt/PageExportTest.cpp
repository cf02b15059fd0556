// The graph page and the printed pages as files: formats by extension, the
// picture a person sees, page counts, and refusals that keep an earlier file.

#include <gtest/gtest.h>

#include <filesystem>

#include <QImage>
#include <QRegularExpression>
#include <QString>

#include "case/MorvekDoc.h"
#include "support/GraphCases.h"
#include "support/TestSupport.h"
#include "views/qt/PageExport.h"

namespace {

int CountPixels(const QImage& image, bool (*match)(QRgb)) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += match(image.pixel(x, y)) ? 1 : 0;
    }
    return n;
}

// Pages of a PDF: page objects, not the page tree.
int PdfPages(const std::string& bytes) {
    return static_cast<int>(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()))
                                .count(QRegularExpression("/Type\\s*/Page(?!s)")));
}

// The case's graph page and report as the window and batch mode hand them over.
bool ExportGraph(const CMorvekDoc& doc, const std::string& path, std::string& error) {
    return ExportGraph(GraphPageOf(doc), doc.GetTitle(), path, error);
}
bool PrintToPdf(const CMorvekDoc& doc, const std::string& path, std::string& error) {
    return PrintToPdf(doc.m_Text, GraphPageOf(doc), doc.GetTitle(), path, error);
}

class PageExport : public ::testing::Test {
protected:
    void SetUp() override {
        FillDepletionLikeGraph(doc);
        for (int i = 0; i < 100; ++i) doc.m_Text.push_back("Zeile des Berichts");
    }
    CMorvekDoc doc;
    TempDir dir;
    std::string error;
};

TEST_F(PageExport, DrawsTheGraphIntoA150DpiPngWithTheCurvesInTheirColours) {
    const std::string path = dir.File("graph.png");
    ASSERT_TRUE(ExportGraph(doc, path, error)) << error;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(path), "PNG"));
    EXPECT_EQ(image.width(), 1240);
    EXPECT_EQ(image.height(), 827);  // 140 mm: the footer below the legends
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 150, 0.5);
    const int red =
        CountPixels(image, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80; });
    const int blue =
        CountPixels(image, [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 80 && qGreen(p) < 80; });
    const int green =
        CountPixels(image, [](QRgb p) { return qGreen(p) > 200 && qRed(p) < 80 && qBlue(p) < 80; });
    const int dark = CountPixels(image, [](QRgb p) { return qGray(p) < 60; });
    EXPECT_GT(red, 1000);            // about 590 px of curve, 2 px wide, and the legend line
    EXPECT_GT(blue, 500);            // the dashed curve has gaps
    EXPECT_GT(green, 300);           // ten filled symbols and the legend's sample
    EXPECT_GT(dark, 5000);           // frame, ticks, grid and texts
    EXPECT_EQ(doc.m_bGrafikNeu, 1);  // the window's view still recomputes
}

// The page of every export has the size of the paper at the export's
// resolution: a field name of any length and a long path change nothing of
// it (a page that grew with the title took gigabytes and overflowed the
// pixel arithmetic).
TEST_F(PageExport, KeepsThePageSizeWhateverTheFieldNameAndPathSay) {
    auto pageOf = [&](const std::string& name) {
        const std::string bytes = ReadBytes(dir.File(name));
        if (name.ends_with(".png")) {
            QImage image;
            image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                               static_cast<int>(bytes.size()), "PNG");
            return std::to_string(image.width()) + "x" + std::to_string(image.height());
        }
        const char* key = name.ends_with(".svg") ? "viewBox=" : "/MediaBox";
        const size_t at = bytes.find(key);
        return at == std::string::npos ? std::string("?") : bytes.substr(at, 40);
    };
    std::vector<std::string> shortPages;
    for (const char* name : {"g.png", "g.svg", "g.pdf"}) {
        ASSERT_TRUE(ExportGraph(doc, dir.File(name), error)) << error;
        shortPages.push_back(pageOf(name));
    }
    ASSERT_TRUE(PrintToPdf(doc, dir.File("druck.pdf"), error)) << error;
    const std::string printPage = pageOf("druck.pdf");
    EXPECT_EQ(shortPages[0], "1240x827");

    doc.m_Feldname = std::string(300000, 'W');
    doc.SetPathName("/home/ingenieur/" + std::string(5000, 'v') + "/nordfeld.mvk");
    for (size_t i = 0; i < 3; ++i) {
        const std::string name = std::vector<std::string>{"g.png", "g.svg", "g.pdf"}[i];
        ASSERT_TRUE(ExportGraph(doc, dir.File(name), error)) << error;
        EXPECT_EQ(pageOf(name), shortPages[i]) << name;
    }
    ASSERT_TRUE(PrintToPdf(doc, dir.File("druck.pdf"), error)) << error;
    EXPECT_EQ(pageOf("druck.pdf"), printPage);
    // The footer and the title lie on the picture: its outermost columns hold
    // paper only.
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(dir.File("g.png")), "PNG"));
    for (int y = 0; y < image.height(); ++y) {
        ASSERT_GT(qGray(image.pixel(0, y)), 200) << y;
        ASSERT_GT(qGray(image.pixel(image.width() - 1, y)), 200) << y;
    }
}

TEST_F(PageExport, WritesSvgAndPdfByTheFileExtensionWhateverItsCase) {
    ASSERT_TRUE(ExportGraph(doc, dir.File("graph.svg"), error)) << error;
    const std::string svg = ReadBytes(dir.File("graph.svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("Nordfeld"), std::string::npos);

    ASSERT_TRUE(ExportGraph(doc, dir.File("graph.PDF"), error)) << error;
    const std::string pdf = ReadBytes(dir.File("graph.PDF"));
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_EQ(PdfPages(pdf), 1);
}

TEST_F(PageExport, RefusesAnUnknownExtensionAndKeepsTheEarlierFile) {
    const std::string path = dir.File("graph.bmp");
    WriteBytes(path, "earlier");
    EXPECT_FALSE(ExportGraph(doc, path, error));
    EXPECT_NE(error.find(".png, .svg oder .pdf"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), "earlier");
    EXPECT_FALSE(ExportGraph(doc, dir.File("graph"), error));
}

TEST_F(PageExport, ReportsAnUnwritablePathAndKeepsTheEarlierFile) {
    const std::string missing = dir.File("fehlt/graph.png");
    EXPECT_FALSE(ExportGraph(doc, missing, error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    EXPECT_FALSE(FileExists(missing));

    // A folder where no temporary file can be made: the write fails after
    // the picture was made, and the earlier file must stay.
    std::filesystem::create_directory(dir.File("fest"));
    const std::string path = dir.File("fest/graph.png");
    WriteBytes(path, "earlier");
    ReadOnlyFolder readOnly(dir.File("fest"));
    ASSERT_TRUE(readOnly.Effective());
    EXPECT_FALSE(ExportGraph(doc, path, error));
    EXPECT_NE(error.find("kann nicht geschrieben werden"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), "earlier");
    EXPECT_FALSE(PrintToPdf(doc, path, error));
    EXPECT_EQ(ReadBytes(path), "earlier");
}

TEST_F(PageExport, PrintsTheReportPagesAndThenTheGraphPageOnA4) {
    const std::string path = dir.File("druck.pdf");
    ASSERT_TRUE(PrintToPdf(doc, path, error)) << error;
    const std::string pdf = ReadBytes(path);
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_EQ(PdfPages(pdf), 3);  // 61 + 39 report lines, then the graph
    EXPECT_NE(pdf.find("/MediaBox [0 0 595"), std::string::npos);

    doc.m_Text.clear();
    ASSERT_TRUE(PrintToPdf(doc, path, error)) << error;
    EXPECT_EQ(PdfPages(ReadBytes(path)), 2);  // the header page, then the graph
}

}  // namespace

TEST_F(PageExport, PrintedPdfCarriesTheCaseTitleAsItsDocumentTitle) {
    doc.SetPathName("/daten/nordfeld.mvk");
    ASSERT_TRUE(PrintToPdf(doc, dir.File("druck.pdf"), error)) << error;
    const std::string bytes = ReadBytes(dir.File("druck.pdf"));
    // PDF text strings in UTF-16 with a byte-order mark, as Qt writes them.
    std::string utf16 = "\xFE\xFF";
    for (char c : std::string("nordfeld.mvk")) {
        utf16 += '\0';
        utf16 += c;
    }
    const size_t title = bytes.find("/Title");
    ASSERT_NE(title, std::string::npos);
    EXPECT_NE(bytes.find(utf16, title), std::string::npos);
}
