#include "sweep/qt/SweepDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontMetricsF>
#include <QResizeEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "base/AtomicFileWriter.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "base/qt/SaveFileName.h"
#include "base/qt/ScreenRoom.h"
#include "case/MorvekDoc.h"
#include "forecast/qt/ForecastDialog.h"
#include "forecast/qt/PageWidget.h"
#include "input/CaseRefusal.h"
#include "sweep/SweepText.h"
#include "sweep/qt/SweepChartWidget.h"
#include "base/FileIO.h"
#include "base/PrintableText.h"
#include "views/MorvekView.h"
#include "views/qt/ChartExport.h"
#include "views/qt/QtSurface.h"

namespace {

constexpr int kMaxSamples = 10000000;
constexpr int kDefaultSamples = 1000;
constexpr int kProgressSteps = 1000;
// The table's suggestion for a ticked input: 20 % either side of the base.
constexpr double kSuggestedSpread = 0.2;
constexpr float kMinAbandonBar = 1.0f;
constexpr float kMaxAbandonBar = 1000.0f;
constexpr std::streamsize kCopyBlock = 1 << 20;
// The summary's font shrinks to let its widest line fit, but not below this.
constexpr double kSmallestSummaryPoints = 6.0;

QString Q(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}

// A check's message in this dialog, without the data-entry dialog's mark.
std::string WithoutErrorMark(const std::string& text) {
    const std::string mark = "FEHLER!!\n";
    return text.rfind(mark, 0) == 0 ? text.substr(mark.size()) : text;
}

std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos
                                                                    : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}
std::string S(const QString& s) {
    return s.trimmed().toUtf8().toStdString();
}

class QtSweepFileChooser : public SweepFileChooser {
public:
    QString SaveCsv(QWidget* parent) override {
        return Ask(parent, "CSV speichern", "CSV-Dateien (*.csv)", "csv");
    }
    QString SaveChart(QWidget* parent) override {
        return Ask(parent, "Grafik speichern",
                   "PNG-Bild (*.png);;SVG-Grafik (*.svg);;PDF-Dokument (*.pdf)", "png");
    }
    QString SaveText(QWidget* parent) override {
        return Ask(parent, "Kennwerte speichern", "Textdateien (*.txt)", "txt");
    }

private:
    static QString Ask(QWidget* parent, const char* title, const char* filter, const char* suffix) {
        return AskSaveFileName(parent, QString::fromUtf8(title), QString::fromUtf8(filter),
                               QString::fromUtf8(suffix));
    }
};

QTableWidgetItem* Fixed(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

SweepDialog::SweepDialog(CMorvekDoc& doc, MessageSink& messages, QWidget* parent)
    : QDialog(parent),
      m_Doc(doc),
      m_Messages(messages),
      m_pOwnChooser(std::make_unique<QtSweepFileChooser>()),
      m_pChooser(m_pOwnChooser.get()) {
    setWindowTitle(QStringLiteral("Unsicherheitsanalyse"));
    setObjectName(QStringLiteral("SweepDialog"));

    auto* inputs = new QGroupBox(QStringLiteral("Eingaben (ankreuzen, was variiert wird)"));
    m_pTable = new QTableWidget(0, kColumnCount);
    m_pTable->setHorizontalHeaderLabels(
        {"Eingabe", "Einheit", "Basis", "Unten", "Wahrsch.", "Oben"});
    m_pTable->horizontalHeaderItem(kMode)->setToolTip(
        QStringLiteral("Wahrscheinlichster Wert (Dreiecksverteilung); leer: gleichverteilt"));
    m_pTable->verticalHeader()->hide();
    BuildTable();
    auto* inputsLayout = new QVBoxLayout(inputs);
    inputsLayout->addWidget(m_pTable);
    inputsLayout->addWidget(new QLabel(QStringLiteral(
        "Ohne wahrscheinlichsten Wert gleichverteilt zwischen unten und oben, sonst Dreieck.")));

    m_pSamples = new QSpinBox;
    m_pSamples->setRange(1, kMaxSamples);
    m_pSamples->setValue(kDefaultSamples);
    m_pSamples->setGroupSeparatorShown(false);
    m_pSeed = new QLineEdit(QStringLiteral("1"));
    m_pSampling = new QComboBox;
    m_pSampling->addItems({"Latin Hypercube", "Monte Carlo"});
    m_pAbandon = new QLineEdit;
    m_pAbandon->setPlaceholderText(QStringLiteral("keiner"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Stichproben"), m_pSamples);
    form->addRow(QStringLiteral("Startwert"), m_pSeed);
    form->addRow(QStringLiteral("Verfahren"), m_pSampling);
    form->addRow(QStringLiteral("Aufgabedruck (bar)"), m_pAbandon);
    m_pForecastRun = new QCheckBox(QStringLiteral("Prognose über die Zeit als Rechnung"));
    m_pForecastRun->setToolTip(QStringLiteral(
        "Jede Stichprobe rechnet die Prognose über die Zeit mit den Eingaben des Falls "
        "(Bearbeiten – Prognose über die Zeit…)"));
    m_pNpBy = new QLineEdit;
    m_pNpBy->setPlaceholderText(QStringLiteral("z. B. 2030, 2035"));
    form->addRow(QString(), m_pForecastRun);
    form->addRow(QStringLiteral("Kum. Öl bis Ende der Jahre"), m_pNpBy);

    m_pStart = new QPushButton(QStringLiteral("Start"));
    m_pCancel = new QPushButton(QStringLiteral("Abbrechen"));
    m_pProgress = new QProgressBar;
    m_pProgress->setRange(0, kProgressSteps);
    m_pProgress->setValue(0);
    m_pStatus = new QLabel(QStringLiteral("Bereit"));
    auto* run = new QHBoxLayout;
    run->addWidget(m_pStart);
    run->addWidget(m_pProgress, 1);
    run->addWidget(m_pCancel);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(inputs, 1);
    leftLayout->addLayout(form);
    leftLayout->addLayout(run);
    leftLayout->addWidget(m_pStatus);

    m_pTabs = new QTabWidget;
    m_pTornado = new SweepChartWidget(SweepChartWidget::Kind::Tornado);
    m_pDistribution = new SweepChartWidget(SweepChartWidget::Kind::Distribution);
    m_pSummary = new QPlainTextEdit;
    m_pSummary->setReadOnly(true);
    m_pSummary->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("Liberation Mono"));
    fixed.setStyleHint(QFont::TypeWriter);
    m_pSummary->setFont(fixed);
    m_fSummaryPoints = fixed.pointSizeF();
    m_pTabs->addTab(m_pTornado, QStringLiteral("Tornado"));
    m_pTabs->addTab(m_pDistribution, QStringLiteral("S-Kurve"));
    m_pTabs->addTab(m_pSummary, QStringLiteral("Kennwerte"));
    m_pFan = new PageWidget;
    m_pTabs->addTab(m_pFan, QStringLiteral("Fächer"));

    m_pPrint = new QPushButton(QStringLiteral("Drucken..."));
    m_pSaveChart = new QPushButton(QStringLiteral("Grafik speichern..."));
    m_pSaveCsv = new QPushButton(QStringLiteral("CSV speichern..."));
    auto* close = new QPushButton(QStringLiteral("Schließen"));
    auto* resultButtons = new QHBoxLayout;
    resultButtons->addWidget(m_pPrint);
    resultButtons->addWidget(m_pSaveChart);
    resultButtons->addWidget(m_pSaveCsv);
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
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({540, 680});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    // Only the buttons start anything: Enter in an edit never runs or closes.
    for (QPushButton* b : {m_pStart, m_pCancel, m_pPrint, m_pSaveChart, m_pSaveCsv, close}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(m_pStart, &QPushButton::clicked, this, [this] { Start(); });
    connect(m_pCancel, &QPushButton::clicked, this, &SweepDialog::Cancel);
    connect(m_pPrint, &QPushButton::clicked, this, &SweepDialog::Print);
    connect(m_pSaveChart, &QPushButton::clicked, this, [this] { SaveChart(); });
    connect(m_pSaveCsv, &QPushButton::clicked, this, [this] { SaveCsv(); });
    connect(close, &QPushButton::clicked, this, &SweepDialog::reject);
    connect(m_pTabs, &QTabWidget::currentChanged, this, [this] { UpdateButtons(); });
    m_pSaveChart->setToolTip(
        QStringLiteral("Tornado und S-Kurve als PNG, SVG oder PDF, die Kennwerte als Text"));
    RestoreSettings();
    ResizeWithinScreen(*this, QSize(1240, 780));
    UpdateButtons();
}

SweepDialog::~SweepDialog() {
    if (m_pWorker != nullptr) {
        m_bCancel = true;
        m_pWorker->wait();
        delete m_pWorker;
    }
}

void SweepDialog::SetFileChooser(SweepFileChooser* chooser) {
    m_pChooser = chooser != nullptr ? chooser : m_pOwnChooser.get();
}

void SweepDialog::BuildTable() {
    for (const morvek::Field& f : morvek::FieldTable()) {
        if (f.kind != morvek::FieldKind::Number || f.date) continue;
        const int row = m_pTable->rowCount();
        m_pTable->insertRow(row);
        m_RowFields.push_back(&f);
        auto* input = Fixed(Q(f.Caption()));
        input->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        input->setCheckState(Qt::Unchecked);
        m_pTable->setItem(row, kInput, input);
        // The names of the command line and of the CSV's column.
        input->setToolTip(QStringLiteral("%1: %2 (%3)")
                              .arg(Q(f.Caption()), QString::fromLatin1(f.recordName),
                                   QString::fromLatin1(f.name)));
        m_pTable->setItem(row, kUnit, Fixed(Q(f.unit)));
        const float base = f.Number(m_Doc.m_Inputs);
        m_pTable->setItem(row, kBase, Fixed(Q(FloatForDisplay(base))));
        QString low, high;
        if (base != 0.0f) {
            float lo = static_cast<float>(base * (1.0 - kSuggestedSpread));
            float hi = static_cast<float>(base * (1.0 + kSuggestedSpread));
            if (lo > hi) std::swap(lo, hi);
            if (f.bounded) {
                lo = std::clamp(lo, f.min, f.max);
                hi = std::clamp(hi, f.min, f.max);
            }
            low = Q(FloatForDisplay(lo));
            high = Q(FloatForDisplay(hi));
        }
        m_pTable->setItem(row, kLow, new QTableWidgetItem(low));
        m_pTable->setItem(row, kMode, new QTableWidgetItem());
        m_pTable->setItem(row, kHigh, new QTableWidgetItem(high));
    }
    // Every column in view: the captions take what the numbers leave and are
    // shortened where they must be (the tool tip holds the whole caption).
    m_pTable->resizeColumnsToContents();
    for (int column : {kLow, kMode, kHigh}) m_pTable->setColumnWidth(column, 60);
    m_pTable->horizontalHeader()->setSectionResizeMode(kInput, QHeaderView::Stretch);
    m_pTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pTable->setTextElideMode(Qt::ElideMiddle);
    m_pTable->verticalHeader()->setDefaultSectionSize(m_pTable->fontMetrics().height() + 8);
}

int SweepDialog::RowOf(const char* recordName) const {
    for (size_t i = 0; i < m_RowFields.size(); ++i)
        if (std::string(m_RowFields[i]->recordName) == recordName) return static_cast<int>(i);
    return -1;
}

void SweepDialog::SetRow(const char* recordName, const QString& low, const QString& mode,
                         const QString& high) {
    const int row = RowOf(recordName);
    if (row < 0) return;
    m_pTable->item(row, kInput)->setCheckState(Qt::Checked);
    m_pTable->item(row, kLow)->setText(low);
    m_pTable->item(row, kMode)->setText(mode);
    m_pTable->item(row, kHigh)->setText(high);
}

void SweepDialog::Warn(const std::string& text) {
    m_Messages.Warn(text);
}

bool SweepDialog::ReadVariations(std::vector<morvek::Variation>& variations) {
    variations.clear();
    for (int row = 0; row < m_pTable->rowCount(); ++row) {
        if (m_pTable->item(row, kInput)->checkState() != Qt::Checked) continue;
        const morvek::Field& f = *m_RowFields[static_cast<size_t>(row)];
        morvek::Variation v;
        v.field = &f;
        const std::string modeText = S(m_pTable->item(row, kMode)->text());
        v.distribution =
            modeText.empty() ? morvek::Distribution::Uniform : morvek::Distribution::Triangular;
        for (auto [column, target] :
             {std::pair{kLow, &v.low}, std::pair{kMode, &v.mode}, std::pair{kHigh, &v.high}}) {
            if (column == kMode && modeText.empty()) continue;
            const std::string text = S(m_pTable->item(row, column)->text());
            if (!ParseFloatWithDecimalComma(text, *target)) {
                m_pTable->setCurrentCell(row, column);
                Warn(Format("Spalte \"%s\": %s",
                            S(m_pTable->horizontalHeaderItem(column)->text()).c_str(),
                            morvek::NotANumberMessage(f).c_str()) +
                     DecimalSignHint(text));
                return false;
            }
        }
        if (modeText.empty()) v.mode = v.low;
        std::string refused = morvek::CheckVariation(v);
        if (!refused.empty()) {
            // The window names the input by its caption, as its row does; the
            // command line's record name stays in the row's tool tip.
            const std::string prefix = std::string(f.recordName) + ": ";
            if (refused.rfind(prefix, 0) == 0)
                refused = "\"" + f.Caption() + "\": " + refused.substr(prefix.size());
            m_pTable->setCurrentCell(row, kLow);
            Warn(refused);
            return false;
        }
        variations.push_back(v);
    }
    if (variations.empty()) {
        Warn("Bitte mindestens eine Eingabe ankreuzen, die variiert werden soll.");
        return false;
    }
    return true;
}

bool SweepDialog::ReadOptions(morvek::SweepOptions& options) {
    options = {};
    options.plan.samples = static_cast<uint64_t>(m_pSamples->value());
    options.plan.sampling = m_pSampling->currentIndex() == 1 ? morvek::Sampling::MonteCarlo
                                                             : morvek::Sampling::LatinHypercube;
    const std::string seed = S(m_pSeed->text());
    const std::from_chars_result r =
        std::from_chars(seed.data(), seed.data() + seed.size(), options.plan.seed);
    if (seed.empty() || r.ec != std::errc() || r.ptr != seed.data() + seed.size()) {
        m_pSeed->setFocus();
        Warn("Der Startwert muß eine ganze Zahl ab 0 sein.");
        return false;
    }
    const std::string abandon = S(m_pAbandon->text());
    if (!abandon.empty()) {
        float bar = 0.0f;
        if (!ParseFloatWithDecimalComma(abandon, bar) || bar < kMinAbandonBar ||
            bar > kMaxAbandonBar) {
            m_pAbandon->setFocus();
            Warn(Format("Der Aufgabedruck muß zwischen %g und %g bar liegen.",
                        double(kMinAbandonBar), double(kMaxAbandonBar)) +
                 DecimalSignHint(abandon));
            return false;
        }
        options.abandonmentPressureBar = bar;
    }
    return true;
}

bool SweepDialog::ReadForecastOptions(const morvek::CaseInputs& base,
                                      morvek::ForecastSweepOptions& options) {
    options = {};
    if (!S(m_pAbandon->text()).empty()) {
        m_pAbandon->setFocus();
        Warn("Die Prognose über die Zeit endet am Aufgabedruck des Falls (Bearbeiten – Prognose "
             "über die Zeit…); bitte das Feld Aufgabedruck leer lassen.");
        return false;
    }
    // Years separated by commas or blanks, ascending.
    std::string text = S(m_pNpBy->text());
    std::replace(text.begin(), text.end(), ',', ' ');
    std::stringstream words(text);
    std::string word;
    while (words >> word) {
        int year = 0;
        const auto r = std::from_chars(word.data(), word.data() + word.size(), year);
        if (r.ec != std::errc() || r.ptr != word.data() + word.size() ||
            (!options.npByYears.empty() && year <= options.npByYears.back())) {
            m_pNpBy->setFocus();
            Warn("Bitte die Jahre aufsteigend als ganze Zahlen angeben, etwa 2030, 2035.");
            return false;
        }
        options.npByYears.push_back(year);
    }
    std::string why = morvek::ForecastRefusal(base);
    if (!why.empty())
        why = "Die Prognose über die Zeit des Falls kann nicht rechnen:\n" +
              WithoutCommandLineNames(why);
    if (why.empty()) why = morvek::CheckForecastSweep(base, options);
    if (!why.empty()) {
        Warn(why);
        return false;
    }
    return true;
}

bool SweepDialog::FanShown() const {
    return m_pTabs->currentWidget() == m_pFan && m_ForecastResult.has_value();
}

bool SweepDialog::Start() {
    if (m_pWorker != nullptr) return false;
    std::vector<morvek::Variation> variations;
    morvek::SweepOptions options;
    if (!ReadVariations(variations) || !ReadOptions(options)) return false;
    const morvek::CaseInputs base = m_Doc.m_Inputs;
    const std::string refused = RefusalOfCase(base);
    if (!refused.empty()) {
        Warn("Der Fall besteht die Prüfungen der Dateneingabe nicht:\n" + WithoutErrorMark(refused));
        return false;
    }
    const bool forecast = m_pForecastRun->isChecked();
    if (forecast) {
        if (!ReadForecastOptions(base, m_RunForecastOptions)) return false;
    } else if (const std::string why =
                   morvek::CheckAbandonment(base, options.abandonmentPressureBar);
               !why.empty()) {
        m_pAbandon->setFocus();
        Warn(why);
        return false;
    }
    KeepSettings(variations, options);
    // The question every run of the case asks, answered once for all samples.
    options.run.useApiFromInitialGor = base.initialGorSm3PerM3 != 0.0f && m_Doc.CheckOilGravity();
    options.check = RefusalOfCase;
    m_RunForecastOptions.plan = options.plan;
    m_RunForecastOptions.threads = options.threads;
    m_RunForecastOptions.run = options.run;
    m_RunForecastOptions.check = RefusalOfCase;
    m_bForecastRun = forecast;

    m_pCsv = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/morvek-sweep-XXXXXX.csv");
    if (!m_pCsv->open()) {
        Warn(Format("Die Zwischendatei der Stichproben kann nicht angelegt werden.\n%s",
                    S(m_pCsv->errorString()).c_str()));
        m_pCsv.reset();
        return false;
    }
    const bool abandonment = options.HasAbandonment();
    m_pCsv->write(forecast ? morvek::ForecastSweepCsvHeader(variations, m_RunForecastOptions).c_str()
                           : morvek::SweepCsvHeader(variations, abandonment).c_str());
    m_RunVariations = variations;
    m_RunOptions = options;
    m_bCancel = false;
    m_bCsvWritten = true;
    m_Result.reset();
    m_ForecastResult.reset();
    m_pFan->SetDrawing({});
    m_pTornado->SetData(nullptr);
    m_pDistribution->SetData(nullptr);
    m_pSummary->clear();
    m_pProgress->setValue(0);
    m_pStatus->setText(QStringLiteral("Rechnet..."));

    QTemporaryFile* csv = m_pCsv.get();
    if (forecast) {
        const morvek::ForecastSweepOptions runOptions = m_RunForecastOptions;
        m_pWorker = QThread::create([this, base, variations, runOptions, csv] {
            const std::vector<morvek::ForecastOutcomeColumn> columns =
                morvek::ForecastOutcomeColumns(runOptions);
            const morvek::ForecastSweepSink sink = [this, csv,
                                                    &columns](const morvek::ForecastSweepRow& row) {
                const std::string line = morvek::ForecastSweepCsvLine(row, columns);
                if (csv->write(line.data(), static_cast<qint64>(line.size())) !=
                    static_cast<qint64>(line.size()))
                    m_bCsvWritten = false;
            };
            const morvek::SweepProgress progress = [this](uint64_t done, uint64_t total) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { OnProgress(done, total); }, Qt::QueuedConnection);
                return !m_bCancel.load();
            };
            m_WorkerForecast = morvek::ForecastSweep(base, variations, runOptions, sink, progress);
            if (!csv->flush()) m_bCsvWritten = false;
        });
        connect(m_pWorker, &QThread::finished, this, &SweepDialog::OnWorkerDone);
        m_pWorker->start();
        UpdateButtons();
        return true;
    }
    m_pWorker = QThread::create([this, base, variations, options, csv, abandonment] {
        const morvek::SweepSink sink = [this, csv, abandonment](const morvek::SweepRow& row) {
            const std::string line = morvek::SweepCsvLine(row, abandonment);
            if (csv->write(line.data(), static_cast<qint64>(line.size())) !=
                static_cast<qint64>(line.size()))
                m_bCsvWritten = false;
        };
        const morvek::SweepProgress progress = [this](uint64_t done, uint64_t total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { OnProgress(done, total); }, Qt::QueuedConnection);
            return !m_bCancel.load();
        };
        m_WorkerResult = morvek::Sweep(base, variations, options, sink, progress);
        if (!csv->flush()) m_bCsvWritten = false;
        m_WorkerTornado = morvek::Tornado(base, variations, options);
    });
    connect(m_pWorker, &QThread::finished, this, &SweepDialog::OnWorkerDone);
    m_pWorker->start();
    UpdateButtons();
    return true;
}

void SweepDialog::Cancel() {
    if (m_pWorker == nullptr) return;
    m_bCancel = true;
    m_pStatus->setText(QStringLiteral("Wird abgebrochen..."));
}

void SweepDialog::OnProgress(uint64_t done, uint64_t total) {
    if (total == 0 || m_pWorker == nullptr) return;
    m_pProgress->setValue(static_cast<int>(kProgressSteps * done / total));
    m_pStatus->setText(
        Q(Format("Rechnet: %llu von %llu Stichproben", static_cast<unsigned long long>(done),
                 static_cast<unsigned long long>(total))));
}

void SweepDialog::OnWorkerDone() {
    if (m_pWorker == nullptr) return;
    m_pWorker->wait();
    delete m_pWorker;
    m_pWorker = nullptr;

    const auto n = [](uint64_t v) { return static_cast<unsigned long long>(v); };
    if (m_bForecastRun) {
        m_ForecastResult = std::move(m_WorkerForecast);
        const morvek::ForecastSweepResult& r = *m_ForecastResult;
        m_Summary = morvek::ForecastSweepSummaryText(m_Doc.m_Feldname, m_RunVariations,
                                                     m_RunForecastOptions, r);
        m_pSummary->setPlainText(Q(m_Summary));
        m_Fan = FanChartData{m_Doc.m_Feldname, m_Doc.GetPathName(), r.fan};
        m_pFan->SetDrawing([this](Surface& dc) { DrawFanPage(dc, m_Fan, ForecastScreenFrame()); });
        m_pTabs->setCurrentWidget(m_pFan);
        m_pProgress->setValue(static_cast<int>(r.samples ? kProgressSteps * r.completed / r.samples
                                                         : kProgressSteps));
        m_pStatus->setText(Q(
            r.cancelled ? Format("Abgebrochen nach %llu von %llu Stichproben, %llu ohne Ergebnis",
                                 n(r.completed), n(r.samples), n(r.failedCount))
                        : Format("Fertig: %llu Prognosen, %llu ohne Ergebnis", n(r.completed),
                                 n(r.failedCount))));
        UpdateButtons();
        emit RunEnded();
        return;
    }
    m_Result = std::move(m_WorkerResult);
    const morvek::SweepResult& r = *m_Result;
    m_Charts =
        SweepChartDataOf(m_Doc.m_Feldname, m_Doc.GetPathName(), std::move(m_WorkerTornado), r);
    m_Summary = morvek::SweepSummaryText(
        {m_Doc.m_Feldname, m_RunVariations, m_RunOptions, r, &m_Charts.tornado});
    m_pSummary->setPlainText(Q(m_Summary));
    FitSummaryFont();
    m_pTornado->SetData(&m_Charts);
    m_pDistribution->SetData(&m_Charts);
    m_pProgress->setValue(
        static_cast<int>(r.samples ? kProgressSteps * r.completed / r.samples : kProgressSteps));
    m_pStatus->setText(
        Q(r.cancelled ? Format("Abgebrochen nach %llu von %llu Stichproben, %llu ohne Ergebnis",
                               n(r.completed), n(r.samples), n(r.failedCount))
                      : Format("Fertig: %llu Stichproben, %llu ohne Ergebnis", n(r.completed),
                               n(r.failedCount))));
    UpdateButtons();
    emit RunEnded();
}

bool SweepDialog::SummaryShown() const {
    return m_pTabs->currentWidget() == m_pSummary;
}

SweepChartWidget* SweepDialog::ActiveChart() const {
    QWidget* current = m_pTabs->currentWidget();
    if (current == m_pTornado) return m_pTornado;
    if (current == m_pDistribution) return m_pDistribution;
    return nullptr;
}

void SweepDialog::UpdateButtons() {
    const bool running = m_pWorker != nullptr;
    const bool results = HasResults() && !running;
    m_pStart->setEnabled(!running);
    m_pCancel->setEnabled(running);
    m_pTable->setEnabled(!running);
    for (QWidget* w : std::initializer_list<QWidget*>{m_pSamples, m_pSeed, m_pSampling, m_pAbandon,
                                                      m_pForecastRun, m_pNpBy})
        w->setEnabled(!running);
    m_pSaveCsv->setEnabled(results && m_pCsv != nullptr);
    const bool picture =
        (m_Result && (ActiveChart() != nullptr || SummaryShown())) || FanShown();
    m_pPrint->setEnabled(results && picture);
    m_pSaveChart->setEnabled(results && picture);
}

bool SweepDialog::SaveCsv() {
    if (!HasResults() || m_pCsv == nullptr || m_pWorker != nullptr) return false;
    const QString chosen = m_pChooser->SaveCsv(this);
    if (chosen.isEmpty()) return false;
    const std::string path = QFile::encodeName(chosen).toStdString();
    std::string error;
    bool ok = m_bCsvWritten;
    if (!ok) error = S(m_pCsv->errorString());
    AtomicFileWriter out;
    if (ok) ok = out.Open(path, error);
    if (ok) {
        // The samples' lines are streamed, not held: the copy goes block by block.
        std::ifstream in(QFile::encodeName(m_pCsv->fileName()).toStdString(), std::ios::binary);
        std::string block(static_cast<size_t>(kCopyBlock), '\0');
        while (in) {
            in.read(block.data(), kCopyBlock);
            out.Append(block.substr(0, static_cast<size_t>(in.gcount())));
        }
        if (in.bad()) {
            ok = false;
            error = "Lesefehler der Zwischendatei";
        } else {
            ok = out.Commit(error);
        }
    }
    if (!ok) {
        Warn(
            Format("Die Datei %s kann nicht geschrieben werden.\n%s", path.c_str(), error.c_str()));
        return false;
    }
    return true;
}

bool SweepDialog::SaveChart() {
    if (m_Result && SummaryShown()) {
        const QString chosen = m_pChooser->SaveText(this);
        if (chosen.isEmpty()) return false;
        const std::string path = QFile::encodeName(chosen).toStdString();
        std::string error;
        if (!WriteFileAtomically(path, m_Summary, error)) {
            Warn(Format("Die Datei %s kann nicht geschrieben werden.\n%s",
                        DisplayPath(path).c_str(), error.c_str()));
            return false;
        }
        return true;
    }
    SweepChartWidget* chart = ActiveChart();
    if (!FanShown() && (!m_Result || chart == nullptr)) return false;
    const QString chosen = m_pChooser->SaveChart(this);
    if (chosen.isEmpty()) return false;
    const std::string path = QFile::encodeName(chosen).toStdString();
    std::string error;
    if (FanShown()) {
        if (ExportDrawing([this](Surface& dc) { DrawFanPage(dc, m_Fan, ForecastScreenFrame()); },
                          kFanTitle, path, error))
            return true;
        Warn(error);
        return false;
    }
    const ChartFrame frame = chart->Frame();
    if (!ExportDrawing([chart, frame](Surface& dc) { chart->DrawPage(dc, frame); },
                       chart->ChartKind() == SweepChartWidget::Kind::Tornado ? kTornadoTitle
                                                                             : kDistributionTitle,
                       path, error)) {
        Warn(error);
        return false;
    }
    return true;
}

void SweepDialog::Print() {
    if (!FanShown() && (!m_Result || (ActiveChart() == nullptr && !SummaryShown()))) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

bool SweepDialog::PrintTo(QPrinter& printer) {
    if (m_Result && SummaryShown()) {
        // The summary as report pages: the case's path above, the date and
        // the page number below.
        const std::vector<std::string> lines = SplitTextLines(m_Summary);
        CMorvekView pages(lines);
        pages.SetPath(m_Doc.GetPathName());
        pages.SetDate(TodayText());
        printer.setDocName(QStringLiteral("Kennwerte der Unsicherheitsanalyse"));
        QPainter painter;
        if (!painter.begin(&printer)) return false;
        QtSurface surface(painter);
        const LogicalRect page = LogicalPageRect(printer);
        const int count = pages.OnPreparePrinting(page);
        for (int n = 1; n <= count; ++n) {
            if (n > 1) printer.newPage();
            pages.OnPrint(surface, n, page);
        }
        return painter.end();
    }
    SweepChartWidget* chart = ActiveChart();
    if (!FanShown() && (!m_Result || chart == nullptr)) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    QtSurface surface(painter);
    if (FanShown()) {
        DrawFanPage(surface, m_Fan, ForecastPrintFrame(LogicalPageRect(printer)));
        return painter.end();
    }
    const size_t bars =
        chart->ChartKind() == SweepChartWidget::Kind::Tornado ? m_Charts.tornado.bars.size() : 0;
    chart->DrawPage(surface, PrintFrame(LogicalPageRect(printer), bars));
    return painter.end();
}

void SweepDialog::reject() {
    // Closing while the samples run stops them first, and closing throws the
    // pictures away: both only when the user says so.
    if (m_pWorker != nullptr) {
        if (!m_Messages.AskYesNo("Die Unsicherheitsanalyse läuft noch.\n"
                                 "Abbrechen und das Fenster schließen?"))
            return;
        m_bCancel = true;
        OnWorkerDone();
    } else if (m_Result) {
        if (!m_Messages.AskYesNo(
                "Tornado und S-Kurve schließen?\nDie Kennwerte bleiben unter Ansicht > "
                "Übersicht, die Stichproben unter Datei > Exportieren…"))
            return;
    }
    QDialog::reject();
}

void SweepDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FitSummaryFont();
}

void SweepDialog::FitSummaryFont() {
    if (m_pSummary == nullptr || m_Summary.empty()) return;
    // From the usual size down to 6 points, until the widest line fits.
    QFont font = m_pSummary->font();
    const int room = m_pSummary->viewport()->width() - 2 * m_pSummary->document()->documentMargin();
    const QStringList lines = Q(m_Summary).split(QLatin1Char('\n'));
    for (double size = m_fSummaryPoints; size >= kSmallestSummaryPoints; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetricsF metrics(font);
        double widest = 0;
        for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
        if (widest <= room) break;
    }
    if (font != m_pSummary->font()) m_pSummary->setFont(font);
}

std::unique_ptr<QTemporaryFile> SweepDialog::TakeSamples() {
    if (!m_Result || !m_bCsvWritten || m_pWorker != nullptr) return nullptr;
    return std::move(m_pCsv);
}

void SweepDialog::RestoreSettings() {
    const auto& kept = m_Doc.m_Inputs.sweepSettings;
    if (!kept) return;
    for (const morvek::SweepSettings::Range& r : kept->ranges) {
        const int row = RowOf(r.name.c_str());
        if (row < 0) continue;
        SetRow(r.name.c_str(), Q(FloatForDisplay(r.low)),
               r.triangular ? Q(FloatForDisplay(r.mode)) : QString(), Q(FloatForDisplay(r.high)));
    }
    m_pSamples->setValue(static_cast<int>(
        std::clamp<uint32_t>(kept->samples, 1, static_cast<uint32_t>(kMaxSamples))));
    m_pSampling->setCurrentIndex(kept->sampling == 1 ? 1 : 0);
    m_pSeed->setText(QString::number(kept->seed));
    m_pAbandon->setText(kept->abandonmentPressureBar > 0.0f
                            ? Q(FloatForDisplay(kept->abandonmentPressureBar))
                            : QString());
}

void SweepDialog::KeepSettings(const std::vector<morvek::Variation>& variations,
                               const morvek::SweepOptions& options) {
    morvek::SweepSettings kept;
    for (const morvek::Variation& v : variations)
        kept.ranges.push_back({v.field->recordName,
                               v.distribution == morvek::Distribution::Triangular, v.low, v.mode,
                               v.high});
    kept.samples = static_cast<uint32_t>(options.plan.samples);
    kept.sampling = options.plan.sampling == morvek::Sampling::MonteCarlo ? 1 : 0;
    kept.seed = options.plan.seed;
    kept.abandonmentPressureBar = options.abandonmentPressureBar;
    morvek::CaseInputs inputs = m_Doc.m_Inputs;
    inputs.sweepSettings = kept;
    m_Doc.ChangeInputs(inputs, "Einstellungen der Unsicherheitsanalyse", false);
}
