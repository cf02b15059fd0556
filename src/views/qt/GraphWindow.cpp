#include "views/qt/GraphWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/FileIO.h"
#include "base/MessageSink.h"
#include "base/qt/SaveFileName.h"
#include "base/qt/ScreenRoom.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/PageExport.h"

namespace {

QString AskExportFile(QWidget* parent) {
    return AskSaveFileName(
        parent, QStringLiteral("Grafik exportieren"),
        QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg);;PDF-Datei (*.pdf)"),
        QStringLiteral("png"));
}

}  // namespace

std::string WithDrawingExtension(const std::string& path) {
    const std::string name = FileNameOf(path);
    if (name.find('.') == std::string::npos) return path + ".png";
    return path;
}

GraphWindow::GraphWindow(const QString& title, MessageSink& messages, QWidget* parent)
    : QDialog(parent), m_Messages(messages), m_Chooser(AskExportFile) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    m_pStack = new QStackedWidget(this);
    m_pTabs = new QTabWidget(m_pStack);
    m_pTabs->setDocumentMode(true);
    m_pReason = new QLabel(m_pStack);
    m_pReason->setWordWrap(true);
    m_pReason->setAlignment(Qt::AlignCenter);
    m_pReason->setTextFormat(Qt::PlainText);
    m_pStack->addWidget(m_pTabs);
    m_pStack->addWidget(m_pReason);
    layout->addWidget(m_pStack, 1);
    m_pReading = new QLabel(this);
    m_pReading->setTextFormat(Qt::PlainText);
    m_pReading->setMinimumHeight(m_pReading->fontMetrics().height());
    layout->addWidget(m_pReading);
    auto* buttons = new QHBoxLayout;
    m_pPrint = new QPushButton(QStringLiteral("Drucken..."), this);
    m_pPreview = new QPushButton(QStringLiteral("Seitenansicht..."), this);
    m_pExport = new QPushButton(QStringLiteral("Exportieren..."), this);
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    buttons->addWidget(m_pPrint);
    buttons->addWidget(m_pPreview);
    buttons->addWidget(m_pExport);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(m_pPrint, &QPushButton::clicked, this, &GraphWindow::OnPrint);
    connect(m_pPreview, &QPushButton::clicked, this, &GraphWindow::OnPreview);
    connect(m_pExport, &QPushButton::clicked, this, [this] { OnExport(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    ResizeWithinScreen(*this, QSize(1000, 680));
}

void GraphWindow::ShowGraphs(const std::vector<Shown>& pages, const std::string& reason) {
    const int shown = m_pTabs->currentIndex();
    while (m_pTabs->count() > 0) delete m_pTabs->widget(0);
    m_Titles.clear();
    m_pReading->clear();
    for (const Shown& page : pages) {
        m_Titles.push_back(page.title);
        auto* view = new GraphViewWidget(m_pTabs);
        view->OnInitialUpdate();
        view->SetPage(page.page);
        connect(view, &GraphViewWidget::ReadingChanged, m_pReading, &QLabel::setText);
        m_pTabs->addTab(view, page.tabTitle);
    }
    m_pTabs->tabBar()->setVisible(pages.size() > 1);
    if (shown >= 0 && shown < m_pTabs->count()) m_pTabs->setCurrentIndex(shown);
    m_pReason->setText(pages.empty() ? QString::fromStdString(reason) : QString());
    m_pStack->setCurrentWidget(pages.empty() ? static_cast<QWidget*>(m_pReason) : m_pTabs);
    for (QPushButton* b : {m_pPrint, m_pPreview, m_pExport}) b->setEnabled(!pages.empty());
}

int GraphWindow::PageCount() const {
    return m_pTabs->count();
}

GraphViewWidget* GraphWindow::View(int index) const {
    return static_cast<GraphViewWidget*>(m_pTabs->widget(index));
}

const GraphPage& GraphWindow::PageData(int index) const {
    return View(index)->Logic().Page();
}

std::string GraphWindow::PageTitle(int index) const {
    return m_Titles.at(static_cast<size_t>(index));
}

QString GraphWindow::Reason() const {
    return m_pReason->text();
}

bool GraphWindow::PrintTo(QPrinter& printer) {
    const int index = m_pTabs->currentIndex();
    if (index < 0) return false;
    printer.setDocName(QString::fromStdString(PageTitle(index)));
    View(index)->PrintTo(printer);
    return true;
}

void GraphWindow::OnPrint() {
    if (m_pTabs->currentIndex() < 0) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

void GraphWindow::OnPreview() {
    if (m_pTabs->currentIndex() < 0) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("Seitenansicht"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { PrintTo(*p); });
    preview.exec();
}

bool GraphWindow::OnExport() {
    const int index = m_pTabs->currentIndex();
    if (index < 0) return false;
    const QString chosen = m_Chooser(this);
    if (chosen.isEmpty()) return false;
    const std::string path = WithDrawingExtension(QFile::encodeName(chosen).toStdString());
    std::string error;
    if (ExportGraph(PageData(index), PageTitle(index), path, error)) return true;
    m_Messages.Warn(error);
    return false;
}
