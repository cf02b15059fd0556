// Printing the active view through the print path, onto a PDF file instead
// of a printer: the report page by page, counted from the paper's shape, and
// the graph on one page.

#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>

#include "app/qt/WindowFixture.h"
#include "views/qt/GraphViewWidget.h"

namespace {

int PdfPageCount(const std::string& bytes) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return static_cast<int>(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())).count(page));
}

void PrintToPdf(Window& w, const std::string& path, QPageLayout::Orientation orientation) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation);
    w.frame->PrintActiveView(printer);
}

// Prints a report of n lines, as a long table would give, and counts the
// pages of the PDF file.
int PrintedReportPages(int lines, QPageLayout::Orientation orientation) {
    Window w;
    for (int i = 0; i < lines; ++i) w.doc.m_Text.push_back("   Zeile " + std::to_string(i));
    w.doc.UpdateAllViews();
    const std::string pdf = w.Path("bericht.pdf");
    PrintToPdf(w, pdf, orientation);
    const std::string bytes = ReadBytes(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    return PdfPageCount(bytes);
}

}  // namespace

TEST(Printing, ReportPrintsOnPortraitPagesOf61Lines) {
    EXPECT_EQ(PrintedReportPages(100, QPageLayout::Portrait), 2);
    EXPECT_EQ(PrintedReportPages(60, QPageLayout::Portrait), 1);
}

TEST(Printing, LandscapeReportPrintsEveryLineOnPagesOf40) {
    // 40 lines a page: lines 80 to 99 need a third page.
    EXPECT_EQ(PrintedReportPages(100, QPageLayout::Landscape), 3);
}

TEST(Printing, ReportOfAnExactMultipleEndsWithAHeaderOnlyPage) {
    EXPECT_EQ(PrintedReportPages(122, QPageLayout::Portrait), 3);
}

TEST(Printing, GraphPrintsOnOnePageAndTheScreenKeepsTheMagnifier) {
    Window w;
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(QString::fromStdString(SourcePath("examples/nordfeld.mvk"))));
    w.Run(ID_GRAFIK);
    w.Run(ID_GRAFIKLUPE);
    GraphViewWidget* graph = w.frame->GraphView();
    graph->viewport()->repaint();
    const std::string pdf = w.Path("grafik.pdf");
    PrintToPdf(w, pdf, QPageLayout::Portrait);
    const std::string bytes = ReadBytes(pdf);
    ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_EQ(PdfPageCount(bytes), 1);
    // A portrait page gets the tall frame while printing; the screen is back
    // to the magnified frame afterwards.
    EXPECT_EQ(graph->Logic().m_bPrint, 0);
    EXPECT_EQ(graph->Logic().breite, 1950);
    EXPECT_EQ(graph->Logic().hoehe, 1125);
}
