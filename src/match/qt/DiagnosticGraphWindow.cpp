#include "match/qt/DiagnosticGraphWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/MessageSink.h"
#include "base/qt/ScreenRoom.h"
#include "case/MorvekDoc.h"
#include "match/DiagnosticGraphs.h"
#include "views/GraphDocument.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/PageExport.h"

DiagnosticGraphWindow::DiagnosticGraphWindow(const QString& title, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    m_pTabs = new QTabWidget(this);
    m_pTabs->setDocumentMode(true);
    layout->addWidget(m_pTabs, 1);
    auto* buttons = new QHBoxLayout;
    auto* print = new QPushButton(QStringLiteral("Drucken..."), this);
    auto* save = new QPushButton(QStringLiteral("Exportieren..."), this);
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    buttons->addWidget(print);
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(print, &QPushButton::clicked, this, &DiagnosticGraphWindow::OnPrint);
    connect(save, &QPushButton::clicked, this, &DiagnosticGraphWindow::OnExport);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    ResizeWithinScreen(*this, QSize(1000, 680));
}

DiagnosticGraphWindow::~DiagnosticGraphWindow() {
    // The views draw from the documents: they go first.
    while (m_pTabs->count() > 0) delete m_pTabs->widget(0);
}

void DiagnosticGraphWindow::ShowPages(const CMorvekDoc& caseDoc, const std::vector<Page>& pages) {
    m_pCase = &caseDoc;
    const int shown = m_pTabs->currentIndex();
    while (m_pTabs->count() > 0) delete m_pTabs->widget(0);
    m_Docs.clear();
    for (const Page& page : pages) {
        m_Docs.push_back(std::make_unique<CMorvekDoc>(GraphDocument(
            caseDoc, page.graph, morvek::DiagnosticTitle(caseDoc.m_Feldname, page.title))));
        auto* view = new GraphViewWidget(*m_Docs.back(), m_pTabs);
        view->OnInitialUpdate();
        m_pTabs->addTab(view, page.tabTitle);
    }
    m_pTabs->tabBar()->setVisible(pages.size() > 1);
    if (shown >= 0 && shown < m_pTabs->count()) m_pTabs->setCurrentIndex(shown);
}

int DiagnosticGraphWindow::PageCount() const {
    return m_pTabs->count();
}

GraphViewWidget* DiagnosticGraphWindow::View(int index) const {
    return static_cast<GraphViewWidget*>(m_pTabs->widget(index));
}

const CMorvekDoc& DiagnosticGraphWindow::Document(int index) const {
    return *m_Docs.at(static_cast<size_t>(index));
}

void DiagnosticGraphWindow::OnPrint() {
    const int index = m_pTabs->currentIndex();
    if (index < 0) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    View(index)->PrintTo(printer);
}

void DiagnosticGraphWindow::OnExport() {
    const int index = m_pTabs->currentIndex();
    if (index < 0) return;
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Grafik exportieren"), QString(),
        QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg);;PDF-Datei (*.pdf)"));
    if (path.isEmpty()) return;
    std::string error;
    if (!ExportGraph(Document(index), QFile::encodeName(path).toStdString(), error) && m_pCase)
        m_pCase->Messages().Show(error);
}
