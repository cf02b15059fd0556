#include "forecast/qt/ForecastDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "base/qt/SaveFileName.h"
#include "base/qt/ScreenRoom.h"
#include "case/MorvekDoc.h"
#include "forecast/ForecastText.h"
#include "input/CaseRefusal.h"
#include "model/FieldTable.h"
#include "views/BoundsSurface.h"
#include "views/qt/ChartExport.h"
#include "views/qt/QtSurface.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}
std::string S(const QString& s) {
    return s.trimmed().toUtf8().toStdString();
}

// The forecast's inputs in the order the dialog shows them.
std::vector<const morvek::Field*> ForecastFields() {
    std::vector<const morvek::Field*> fields;
    for (const morvek::Field& f : morvek::FieldTable())
        if (f.blockItem == morvek::kBlockForecast) fields.push_back(&f);
    std::sort(fields.begin(), fields.end(),
              [](const morvek::Field* a, const morvek::Field* b) { return a->blockSlot < b->blockSlot; });
    return fields;
}

std::string Shown(const morvek::Field& f, float value) {
    if (f.date) return morvek::DateFieldText(value);
    return FloatForDisplay(value);
}

class QtForecastFileChooser : public ForecastFileChooser {
public:
    QString OpenWaterCut(QWidget* parent) override {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Wasseranteil lesen"), QString(),
                                            QStringLiteral("Alle Dateien (*.TXT *.CSV *.txt *.csv *)"));
    }
    QString SaveCsv(QWidget* parent) override {
        return Ask(parent, "CSV speichern", "CSV-Datei (*.csv)", "csv");
    }
    QString SaveChart(QWidget* parent) override {
        return Ask(parent, "Grafik speichern",
                   "PNG-Bild (*.png);;SVG-Grafik (*.svg);;PDF-Dokument (*.pdf)", "png");
    }
    QString SaveReport(QWidget* parent) override {
        return Ask(parent, "Bericht speichern", "Textdatei (*.txt)", "txt");
    }

private:
    static QString Ask(QWidget* parent, const char* title, const char* filter, const char* suffix) {
        return AskSaveFileName(parent, QString::fromUtf8(title), QString::fromUtf8(filter),
                               QString::fromUtf8(suffix));
    }
};

}  // namespace

ForecastDialog::ForecastDialog(CMorvekDoc& doc, MessageSink& messages, QWidget* parent)
    : QDialog(parent),
      m_Doc(doc),
      m_Messages(messages),
      m_pOwnChooser(std::make_unique<QtForecastFileChooser>()),
      m_pChooser(m_pOwnChooser.get()),
      m_Inputs(doc.m_Inputs) {
    setWindowTitle(QStringLiteral("Prognose über die Zeit"));

    auto* inputs = new QGroupBox(QStringLiteral("Eingaben der Prognose"));
    auto* form = new QFormLayout(inputs);
    for (const morvek::Field* f : ForecastFields()) {
        auto* edit = new QLineEdit(Q(Shown(*f, f->Number(m_Inputs))));
        edit->setObjectName(Q(f->name));
        if (f->date) edit->setPlaceholderText(QStringLiteral("JJJJ-MM-TT"));
        else edit->setPlaceholderText(QStringLiteral("0: keine Angabe"));
        edit->setToolTip(Q(std::string(f->name) + " (" + f->unit + ")"));
        form->addRow(Q(f->Caption()), edit);
        m_Edits[f->name] = edit;
    }
    m_pWaterCut = new QLabel;
    m_pWaterCut->setObjectName(QStringLiteral("waterCutSource"));
    auto* readWaterCut = new QPushButton(QStringLiteral("Wasseranteil lesen…"));
    m_pRemoveWaterCut = new QPushButton(QStringLiteral("Entfernen"));
    auto* waterRow = new QHBoxLayout;
    waterRow->addWidget(readWaterCut);
    waterRow->addWidget(m_pRemoveWaterCut);
    form->addRow(QStringLiteral("Wasseranteil"), m_pWaterCut);
    form->addRow(QString(), waterRow);
    auto* note = new QLabel(QStringLiteral(
        "Die Prognose beginnt am Ende der Produktionshistorie, wenn der Fall eine hat, und "
        "nimmt den Wasserzufluß des Aquifers des Falls."));
    note->setWordWrap(true);

    auto* compute = new QPushButton(QStringLiteral("Berechnen"));
    auto* apply = new QPushButton(QStringLiteral("Übernehmen"));
    compute->setObjectName(QStringLiteral("compute"));
    apply->setObjectName(QStringLiteral("apply"));
    auto* commands = new QHBoxLayout;
    commands->addWidget(compute);
    commands->addWidget(apply);
    commands->addStretch(1);
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(inputs);
    leftLayout->addWidget(note);
    leftLayout->addStretch(1);
    leftLayout->addLayout(commands);

    m_pTabs = new QTabWidget;
    m_pGraphs = new PageWidget;
    m_pReport = new QPlainTextEdit;
    m_pReport->setReadOnly(true);
    m_pReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pTabs->addTab(m_pGraphs, QStringLiteral("Grafik"));
    m_pTabs->addTab(m_pReport, QStringLiteral("Bericht"));
    m_pPrint = new QPushButton(QStringLiteral("Drucken..."));
    m_pSaveChart = new QPushButton(QStringLiteral("Grafik speichern..."));
    m_pSaveCsv = new QPushButton(QStringLiteral("CSV speichern..."));
    m_pSaveReport = new QPushButton(QStringLiteral("Bericht speichern..."));
    auto* close = new QPushButton(QStringLiteral("Schließen"));
    auto* resultButtons = new QHBoxLayout;
    for (QPushButton* b : {m_pPrint, m_pSaveChart, m_pSaveCsv, m_pSaveReport})
        resultButtons->addWidget(b);
    resultButtons->addStretch(1);
    resultButtons->addWidget(close);
    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(m_pTabs, 1);
    rightLayout->addLayout(resultButtons);

    auto* splitter = new QSplitter;
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({420, 800});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    // Only the buttons start anything: Enter in an edit never closes.
    for (QPushButton* b : {compute, apply, readWaterCut, m_pRemoveWaterCut, m_pPrint, m_pSaveChart,
                           m_pSaveCsv, m_pSaveReport, close}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(compute, &QPushButton::clicked, this, [this] { Compute(); });
    connect(apply, &QPushButton::clicked, this, [this] { Apply(); });
    connect(readWaterCut, &QPushButton::clicked, this, [this] { ReadWaterCut(); });
    connect(m_pRemoveWaterCut, &QPushButton::clicked, this, &ForecastDialog::RemoveWaterCut);
    connect(m_pPrint, &QPushButton::clicked, this, &ForecastDialog::Print);
    connect(m_pSaveChart, &QPushButton::clicked, this, [this] { SaveChart(); });
    connect(m_pSaveCsv, &QPushButton::clicked, this, [this] { SaveCsv(); });
    connect(m_pSaveReport, &QPushButton::clicked, this, [this] { SaveReport(); });
    connect(close, &QPushButton::clicked, this, &ForecastDialog::reject);
    ShowWaterCut();
    UpdateButtons();
    ResizeWithinScreen(*this, QSize(1240, 800));
}

ForecastDialog::~ForecastDialog() = default;

void ForecastDialog::SetFileChooser(ForecastFileChooser* chooser) {
    m_pChooser = chooser != nullptr ? chooser : m_pOwnChooser.get();
}

QLineEdit* ForecastDialog::Edit(const char* name) const {
    const auto it = m_Edits.find(name);
    return it == m_Edits.end() ? nullptr : it->second;
}

std::string WithoutCommandLineNames(const std::string& text) {
    std::string shown = text;
    auto drop = [&shown](const std::string& what, const std::string& with) {
        for (size_t at = shown.find(what); at != std::string::npos; at = shown.find(what, at)) {
            shown.replace(at, what.size(), with);
            at += with.size();
        }
    };
    for (const morvek::Field* f : ForecastFields()) {
        drop(" (" + std::string(f->name) + ")", "");
        drop("(" + std::string(f->name) + ", ", "(");
    }
    return shown;
}

void ForecastDialog::Warn(const std::string& text) {
    m_Messages.Warn(WithoutCommandLineNames(text));
}

bool ForecastDialog::ReadFields(morvek::CaseInputs& inputs) {
    for (const morvek::Field* f : ForecastFields()) {
        QLineEdit* edit = m_Edits.at(f->name);
        const std::string text = S(edit->text());
        float value = 0;
        std::string problem;
        if (f->date) {
            problem = morvek::ParseDateField(*f, text, value);
        } else if (text.empty()) {
            value = 0;  // an empty field leaves the input out
        } else if (!ParseFloatWithDecimalComma(text, value)) {
            problem = morvek::NotANumberMessage(*f) + DecimalSignHint(text);
        } else {
            problem = morvek::CheckNumber(*f, value);
        }
        if (!problem.empty()) {
            Warn(problem);
            edit->setFocus();
            edit->selectAll();
            return false;
        }
        // A field left as shown keeps the value it stands for.
        if (text != Shown(*f, f->Number(inputs))) f->Number(inputs) = value;
    }
    return true;
}

bool ForecastDialog::Compute() {
    morvek::CaseInputs in = m_Inputs;
    if (!ReadFields(in)) return false;
    m_Inputs = in;
    std::string why = RefusalOfCase(in);
    if (why.empty()) why = morvek::ForecastRefusal(in);
    if (!why.empty()) {
        Warn(why);
        return false;
    }
    m_Result = morvek::ForecastCase(in);
    morvek::ForecastOrigin origin;
    if (in.history && !in.history->rows.empty()) {
        origin.afterHistory = true;
        origin.historyName = in.history->fileName;
    }
    origin.aquifer = morvek::AquiferText(morvek::Aquifer::Of(in));
    m_ReportLines = morvek::ForecastReportLines(in, *m_Result, origin);
    m_pReport->setPlainText(Q(morvek::ForecastReportText(in, *m_Result, origin)));
    m_Charts = ForecastChartDataOf(m_Doc.m_Feldname, m_Doc.GetPathName(), *m_Result,
                                   in.history ? &*in.history : nullptr);
    m_pGraphs->SetDrawing([this](Surface& dc) { DrawForecastPage(dc, m_Charts, ForecastScreenFrame()); });
    UpdateButtons();
    return true;
}

bool ForecastDialog::Apply() {
    morvek::CaseInputs in = m_Inputs;
    if (!ReadFields(in)) return false;
    m_Inputs = in;
    // The case takes no inputs that make no forecast.
    if (const std::string why = morvek::ForecastRefusal(in); !why.empty()) {
        Warn(why);
        return false;
    }
    // Only the forecast's inputs: the rest of the case stays as the document has it.
    morvek::CaseInputs target = m_Doc.m_Inputs;
    for (const morvek::Field* f : ForecastFields()) f->Number(target) = f->Number(in);
    target.waterCutTable = in.waterCutTable;
    // A step of its own for "Rückgängig" (nothing when nothing changed).
    m_Doc.ChangeInputs(target, "Prognose übernehmen", false);
    return true;
}

bool ForecastDialog::ReadWaterCut() {
    const QString chosen = m_pChooser->OpenWaterCut(this);
    if (chosen.isEmpty()) return false;
    morvek::LabWaterCutTable table;
    std::vector<std::string> problems;
    const std::string path = QFile::encodeName(chosen).toStdString();
    if (morvek::ReadWaterCutTableFile(path, table, problems) != morvek::TableReadStatus::Read) {
        Warn(morvek::TableProblemMessage("Tabelle des Wasseranteils", S(chosen), problems));
        return false;
    }
    m_Inputs.waterCutTable = std::move(table);
    ShowWaterCut();
    return true;
}

void ForecastDialog::RemoveWaterCut() {
    m_Inputs.waterCutTable.reset();
    ShowWaterCut();
}

void ForecastDialog::ShowWaterCut() {
    const auto& table = m_Inputs.waterCutTable;
    m_pWaterCut->setText(table ? Q(Format("%s (%zu Zeilen)", table->fileName.c_str(),
                                          table->rows.size()))
                               : QStringLiteral("kein Wasser"));
    m_pRemoveWaterCut->setEnabled(table.has_value());
}

void ForecastDialog::UpdateButtons() {
    const bool results = m_Result.has_value();
    for (QPushButton* b : {m_pPrint, m_pSaveChart, m_pSaveCsv, m_pSaveReport}) b->setEnabled(results);
}

bool ForecastDialog::SaveCsv() {
    if (!m_Result) return false;
    const QString chosen = m_pChooser->SaveCsv(this);
    if (chosen.isEmpty()) return false;
    std::string error;
    if (!WriteFileAtomically(QFile::encodeName(chosen).toStdString(),
                             morvek::ForecastCsvText(*m_Result), error)) {
        Warn(error);
        return false;
    }
    return true;
}

bool ForecastDialog::SaveReport() {
    if (!m_Result) return false;
    const QString chosen = m_pChooser->SaveReport(this);
    if (chosen.isEmpty()) return false;
    std::string text;
    for (const std::string& line : m_ReportLines) text += line + "\n";
    std::string error;
    if (!WriteFileAtomically(QFile::encodeName(chosen).toStdString(), text, error)) {
        Warn(error);
        return false;
    }
    return true;
}

bool ForecastDialog::SaveChart() {
    if (!m_Result) return false;
    const QString chosen = m_pChooser->SaveChart(this);
    if (chosen.isEmpty()) return false;
    std::string error;
    if (!ExportDrawing([this](Surface& dc) { DrawForecastPage(dc, m_Charts, ForecastScreenFrame()); },
                       kForecastTitle, QFile::encodeName(chosen).toStdString(), error)) {
        Warn(error);
        return false;
    }
    return true;
}

void ForecastDialog::Print() {
    if (!m_Result) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

bool ForecastDialog::PrintTo(QPrinter& printer) {
    if (!m_Result) return false;
    if (m_pTabs->currentWidget() == m_pReport) {
        m_pReport->document()->print(&printer);
        return true;
    }
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    QtSurface surface(painter);
    DrawForecastPage(surface, m_Charts, ForecastPrintFrame(LogicalPageRect(printer)));
    return painter.end();
}
