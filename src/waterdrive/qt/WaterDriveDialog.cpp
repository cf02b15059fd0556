#include "waterdrive/qt/WaterDriveDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <chrono>
#include <string_view>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "base/qt/ScreenRoom.h"
#include "case/MorvekDoc.h"
#include "input/FileChooser.h"
#include "input/LabTableEntry.h"
#include "match/qt/DiagnosticGraphWindow.h"
#include "model/FieldTable.h"
#include "waterdrive/Aquifer.h"
#include "waterdrive/HistoryFile.h"
#include "waterdrive/WaterDriveGraphs.h"
#include "waterdrive/WaterDriveReport.h"

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(200);

const char* const kGridHeads[] = {"Tage",        "Druck (bar)", "Np (1000 m3)",  "Gp (Mio sm3)",
                                  "Wp (1000 m3)", "Wi (1000 m3)", "Gi (Mio sm3)"};
constexpr int kGridColumns = 7;

const char* const kAquiferNames[] = {
    "aquifer_constant_m3_per_bar", "reservoir_radius_m",      "aquifer_radius_m",
    "aquifer_thickness_m",         "aquifer_porosity",        "aquifer_permeability_md",
    "aquifer_angle_deg",           "aquifer_compressibility_per_bar", "water_viscosity_cp",
    "aquifer_length_m",            "aquifer_width_m"};

QString Q(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}

std::string U(const QString& s) {
    return s.trimmed().toUtf8().toStdString();
}

}  // namespace

WaterDriveDialog::WaterDriveDialog(CMorvekDoc& doc, FileChooser& chooser, QWidget* parent)
    : QDialog(parent),
      m_Doc(doc),
      m_Chooser(chooser),
      m_Work(doc.m_Inputs),
      m_FitThread(
          this, kProgressInterval, [this](const morvek::MatchProgress& p) { ShowProgress(p); },
          [this](std::optional<morvek::MatchResult> r) { OnFinished(std::move(r)); }) {
    setWindowTitle(QStringLiteral("Materialbilanz mit Wasserzufluß"));
    auto* layout = new QVBoxLayout(this);

    // The production history.
    auto* historyBox = new QGroupBox(QStringLiteral("Produktionshistorie"), this);
    auto* historyLayout = new QVBoxLayout(historyBox);
    m_pGrid = new QTableWidget(0, kGridColumns, historyBox);
    QStringList heads;
    for (const char* h : kGridHeads) heads << Q(h);
    m_pGrid->setHorizontalHeaderLabels(heads);
    m_pGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    historyLayout->addWidget(m_pGrid);
    auto* historyButtons = new QHBoxLayout;
    auto* read = new QPushButton(QStringLiteral("Produktionshistorie lesen…"), historyBox);
    auto* add = new QPushButton(QStringLiteral("Zeile anfügen"), historyBox);
    auto* remove = new QPushButton(QStringLiteral("Zeile löschen"), historyBox);
    m_pHistorySource = new QLabel(historyBox);
    for (QPushButton* b : {read, add, remove}) historyButtons->addWidget(b);
    historyButtons->addWidget(m_pHistorySource, 1);
    historyLayout->addLayout(historyButtons);
    layout->addWidget(historyBox, 2);

    // The aquifer.
    auto* aquiferBox = new QGroupBox(QStringLiteral("Aquifer"), this);
    auto* grid = new QGridLayout(aquiferBox);
    grid->addWidget(new QLabel(QStringLiteral("Aquifermodell"), aquiferBox), 0, 0);
    m_pModel = new QComboBox(aquiferBox);
    for (int i = 0; i < morvek::kAquiferModelCount; ++i)
        m_pModel->addItem(Q(morvek::AquiferModelCaption(static_cast<morvek::AquiferModel>(i))));
    grid->addWidget(m_pModel, 0, 1);
    int index = 0;
    for (const char* name : kAquiferNames) {
        const morvek::Field* f = morvek::FindField(name);
        auto* edit = new QLineEdit(aquiferBox);
        edit->setObjectName(Q(name));
        const int row = 1 + index / 2, column = (index % 2) * 2;
        grid->addWidget(new QLabel(Q(f->Caption()), aquiferBox), row, column);
        grid->addWidget(edit, row, column + 1);
        m_Aquifer.push_back({f, edit});
        ++index;
    }
    layout->addWidget(aquiferBox);

    // The regression.
    auto* fitBox = new QGroupBox(QStringLiteral("Anpassung F = N Et + We"), this);
    auto* fitLayout = new QVBoxLayout(fitBox);
    auto* checks = new QHBoxLayout;
    for (const morvek::Field* f : morvek::MbFittableFields()) {
        auto* check = new QCheckBox(Q(f->Caption()), fitBox);
        check->setObjectName(Q(f->name));
        check->setChecked(std::string(f->name) == "ooip_1000m3");
        checks->addWidget(check);
        m_Fit.push_back({f, check});
    }
    fitLayout->addLayout(checks);
    auto* run = new QHBoxLayout;
    run->addWidget(new QLabel(QStringLiteral("Ziel"), fitBox));
    m_pObjective = new QComboBox(fitBox);
    m_pObjective->addItem(QStringLiteral("F - N Et - We"));
    m_pObjective->addItem(QStringLiteral("Druck"));
    run->addWidget(m_pObjective);
    m_pStart = new QPushButton(QStringLiteral("Anpassen"), fitBox);
    m_pCancel = new QPushButton(QStringLiteral("Abbrechen"), fitBox);
    m_pGraphButton = new QPushButton(QStringLiteral("Diagramme…"), fitBox);
    for (QPushButton* b : {m_pStart, m_pCancel, m_pGraphButton}) run->addWidget(b);
    m_pProgress = new QLabel(fitBox);
    run->addWidget(m_pProgress, 1);
    fitLayout->addLayout(run);
    m_pDetails = new QPlainTextEdit(fitBox);
    m_pDetails->setReadOnly(true);
    m_pDetails->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    fitLayout->addWidget(m_pDetails);
    layout->addWidget(fitBox, 2);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    m_pApply = new QPushButton(QStringLiteral("Übernehmen"), this);
    m_pDiscard = new QPushButton(QStringLiteral("Verwerfen"), this);
    bottom->addWidget(m_pApply);
    bottom->addWidget(m_pDiscard);
    layout->addLayout(bottom);

    connect(read, &QPushButton::clicked, this, [this] { ReadHistoryFile(); });
    connect(add, &QPushButton::clicked, this, &WaterDriveDialog::AddRow);
    connect(remove, &QPushButton::clicked, this, &WaterDriveDialog::RemoveRow);
    connect(m_pModel, &QComboBox::currentIndexChanged, this,
            &WaterDriveDialog::EnableAquiferInputs);
    connect(m_pStart, &QPushButton::clicked, this, [this] { Start(); });
    connect(m_pCancel, &QPushButton::clicked, this, &WaterDriveDialog::Cancel);
    connect(m_pGraphButton, &QPushButton::clicked, this, [this] { ShowGraphs(); });
    connect(m_pApply, &QPushButton::clicked, this, [this] { Apply(); });
    connect(m_pDiscard, &QPushButton::clicked, this, &WaterDriveDialog::reject);

    ShowHistory(m_Work.history);
    ShowAquifer(m_Work);
    EnableAquiferInputs();
    UpdateButtons();
    ResizeWithinScreen(*this, QSize(1000, 760));
}

WaterDriveDialog::~WaterDriveDialog() = default;

QLineEdit* WaterDriveDialog::AquiferEdit(const std::string& name) const {
    for (const AquiferRow& r : m_Aquifer)
        if (name == r.field->name || name == r.field->recordName) return r.edit;
    return nullptr;
}

QCheckBox* WaterDriveDialog::FitCheck(const std::string& name) const {
    for (const FitRow& r : m_Fit)
        if (name == r.field->name || name == r.field->recordName) return r.check;
    return nullptr;
}

void WaterDriveDialog::ShowHistory(const std::optional<morvek::ProductionHistory>& history) {
    m_pGrid->setRowCount(0);
    m_StartDate = history ? history->startDate : std::string();
    m_HistoryName = history ? history->fileName : std::string();
    if (history) {
        m_pGrid->setRowCount(static_cast<int>(history->rows.size()));
        int row = 0;
        for (const morvek::HistoryRow& r : history->rows) {
            const auto v = r.Numbers();
            for (int c = 0; c < kGridColumns; ++c) {
                auto* item = new QTableWidgetItem(Q(FloatForDisplay(v[c])));
                item->setData(Qt::UserRole, v[c]);
                m_pGrid->setItem(row, c, item);
            }
            ++row;
        }
    }
    m_pHistorySource->setText(
        history ? Q(Format("%s, %zu Zeilen%s", history->fileName.c_str(), history->rows.size(),
                           m_StartDate.empty() ? "" : (", Tag 0 = " + m_StartDate).c_str()))
                : QStringLiteral("keine Produktionshistorie"));
}

void WaterDriveDialog::ShowAquifer(const morvek::CaseInputs& in) {
    m_pModel->setCurrentIndex(static_cast<int>(morvek::AquiferModelOf(in.aquiferModel)));
    for (const AquiferRow& r : m_Aquifer)
        r.edit->setText(Q(FloatForDisplay(r.field->Number(in))));
}

bool WaterDriveDialog::ReadHistoryFile() {
    const std::optional<std::string> path = m_Chooser.ChooseFileToOpen("Alle Dateien", "*.TXT");
    if (!path) return false;
    morvek::CaseInputs probe = m_Work;
    if (ReadHistoryInto(*path, probe, m_Doc.Messages()) != TableEntry::Taken) return false;
    m_Work.history = probe.history;
    ShowHistory(m_Work.history);
    return true;
}

void WaterDriveDialog::AddRow() {
    const int row = m_pGrid->rowCount();
    m_pGrid->insertRow(row);
    for (int c = 0; c < kGridColumns; ++c)
        m_pGrid->setItem(row, c, new QTableWidgetItem(QStringLiteral("0")));
}

void WaterDriveDialog::RemoveRow() {
    const int row = m_pGrid->currentRow();
    if (row >= 0) m_pGrid->removeRow(row);
}

bool WaterDriveDialog::ReadInputs() {
    morvek::CaseInputs in = m_Work;
    MessageSink& sink = m_Doc.Messages();
    // The grid: every cell a number, the rows checked as a history file's.
    std::vector<morvek::HistoryRow> rows;
    for (int r = 0; r < m_pGrid->rowCount(); ++r) {
        std::array<float, morvek::HistoryRow::kColumns> v{};
        for (int c = 0; c < kGridColumns; ++c) {
            const QTableWidgetItem* item = m_pGrid->item(r, c);
            const std::string text = item ? U(item->text()) : std::string();
            // A cell left as shown keeps the value it stands for (the display
            // rounds to six digits).
            const QVariant stored = item ? item->data(Qt::UserRole) : QVariant();
            if (stored.isValid() && text == FloatForDisplay(stored.toFloat())) {
                v[static_cast<size_t>(c)] = stored.toFloat();
                continue;
            }
            if (!ParseFloatWithDecimalComma(text, v[static_cast<size_t>(c)])) {
                sink.Warn(Format("Produktionshistorie, Zeile %d, Spalte \"%s\": \"%s\" ist keine "
                                 "Zahl.%s",
                                 r + 1, kGridHeads[c], text.c_str(),
                                 DecimalSignHint(text).c_str()));
                m_pGrid->setCurrentCell(r, c);
                return false;
            }
        }
        rows.push_back(morvek::HistoryRow::FromNumbers(v));
    }
    if (rows.empty()) {
        in.history.reset();
    } else {
        morvek::ProductionHistory history;
        std::vector<std::string> problems;
        if (morvek::HistoryFromRows(rows, m_HistoryName.empty() ? "Tabelle" : m_HistoryName,
                                    m_StartDate, history, problems) !=
            morvek::TableReadStatus::Read) {
            sink.Warn(morvek::TableProblemMessage(kHistoryKind, m_HistoryName, problems));
            return false;
        }
        in.history = std::move(history);
    }
    // The aquifer's fields, checked as --set checks them.
    in.aquiferModel = m_pModel->currentIndex();
    for (const AquiferRow& r : m_Aquifer) {
        const std::string text = U(r.edit->text());
        // A field left as shown keeps the value it stands for.
        if (text == FloatForDisplay(r.field->Number(m_Work))) continue;
        float value = 0;
        std::string problem;
        if (!ParseFloatWithDecimalComma(text, value))
            problem = morvek::NotANumberMessage(*r.field) + DecimalSignHint(text);
        else
            problem = morvek::CheckNumber(*r.field, value);
        if (!problem.empty()) {
            sink.Warn(problem);
            r.edit->setFocus();
            r.edit->selectAll();
            return false;
        }
        r.field->Number(in) = value;
    }
    if (const std::string problem = morvek::AquiferProblem(morvek::Aquifer::Of(in));
        !problem.empty()) {
        sink.Warn(problem);
        return false;
    }
    m_Work = std::move(in);
    return true;
}

bool WaterDriveDialog::Start() {
    if (Running() || !ReadInputs()) return false;
    morvek::MbFitOptions options;
    for (const FitRow& r : m_Fit)
        if (r.check->isChecked() && r.check->isEnabled())
            options.parameters.push_back({r.field->name, {}, {}});
    options.objective =
        m_pObjective->currentIndex() == 1 ? morvek::MbObjective::Pressure : morvek::MbObjective::F;
    if (const std::string why = morvek::CheckMbFit(m_Work, options); !why.empty()) {
        m_Doc.Messages().Warn(why);
        return false;
    }
    m_Result.reset();
    m_pDetails->clear();
    m_RunObjective = options.objective;
    m_RunInputs = m_Work;
    m_pProgress->setText(QStringLiteral("Die Anpassung läuft ..."));
    m_FitThread.Start([inputs = m_Work, options](const morvek::MatchCallback& callback) {
        return morvek::MbFit(inputs, options, callback);
    });
    UpdateButtons();
    return true;
}

void WaterDriveDialog::Cancel() {
    m_FitThread.Cancel();
}

void WaterDriveDialog::ShowProgress(const morvek::MatchProgress& p) {
    if (!Running()) return;
    m_pProgress->setText(Q(Format("Iteration %d, RMS %.3f %%, %d Bilanzen", p.iteration,
                                  100.0 * p.rms, p.predictions)));
}

void WaterDriveDialog::OnFinished(std::optional<morvek::MatchResult> outcome) {
    if (outcome) m_Result = std::move(outcome);
    ShowResult();
    UpdateButtons();
}

void WaterDriveDialog::ShowResult() {
    if (!m_Result) return;
    const morvek::MatchResult& r = *m_Result;
    m_pProgress->setText(r.Converged() ? Q(Format("Konvergiert nach %d Iterationen.", r.iterations))
                                       : Q(r.message + " Die Eingaben bleiben unverändert."));
    std::string details;
    for (const std::string& line :
         morvek::MbFitSummaryLines(r, m_RunInputs, m_RunObjective, m_Doc.m_Feldname))
        details += line + '\n';
    m_pDetails->setPlainText(Q(details));
    if (r.Converged()) {
        // The fitted values stand in the fields from here on.
        m_Work = r.fittedInputs;
        ShowAquifer(m_Work);
        if (m_pGraphs) ShowGraphs();
    }
}

bool WaterDriveDialog::ShowGraphs() {
    if (!Running() && !ReadInputs()) return false;
    const morvek::HistoryBalance b = morvek::BalanceOfHistory(m_Work);
    if (!b.problem.empty()) {
        m_Doc.Messages().Warn(b.problem);
        return false;
    }
    if (!m_pGraphs) {
        m_pGraphs = new DiagnosticGraphWindow(QStringLiteral("Materialbilanz mit Wasserzufluß"),
                                              m_Doc.Messages(), this);
        m_pGraphs->setAttribute(Qt::WA_DeleteOnClose);
    }
    // The pages name the case's field; they draw the working case's balance.
    m_pGraphs->ShowPages(
        m_Doc.m_Feldname, m_Doc.GetPathName(), {{QStringLiteral("Havlena-Odeh"), morvek::HavlenaOdehInfluxGraph(b),
                 morvek::kHavlenaOdehInfluxTitle},
                {QStringLiteral("Campbell"), morvek::CampbellGraph(b), morvek::kCampbellTitle},
                {QStringLiteral("Antriebsindizes"), morvek::HistoryDriveIndexGraph(b),
                 morvek::kHistoryDriveIndexTitle}});
    m_pGraphs->show();
    m_pGraphs->raise();
    return true;
}

void WaterDriveDialog::UpdateButtons() {
    const bool running = Running();
    m_pStart->setEnabled(!running);
    m_pCancel->setEnabled(running);
    m_pApply->setEnabled(!running);
    m_pGrid->setEnabled(!running);
}

void WaterDriveDialog::EnableAquiferInputs() {
    const morvek::AquiferModel model = morvek::AquiferModelOf(m_pModel->currentIndex());
    auto used = [model](const char* name) {
        for (const char* aquiferName : kAquiferNames)
            if (std::string_view(aquiferName) == name)
                return morvek::AquiferModelUses(model, name);
        return true;  // the oil in place and the gas cap
    };
    for (const AquiferRow& r : m_Aquifer) r.edit->setEnabled(used(r.field->name));
    for (const FitRow& r : m_Fit) r.check->setEnabled(used(r.field->name));
}

bool WaterDriveDialog::Apply() {
    if (Running() || !ReadInputs()) return false;
    morvek::CaseInputs target = m_Doc.m_Inputs;
    target.history = m_Work.history;
    for (const morvek::Field& f : morvek::FieldTable()) {
        if (f.blockItem != morvek::kBlockAquifer) continue;
        if (f.kind == morvek::FieldKind::Choice)
            target.*f.choice = m_Work.*f.choice;
        else
            f.Number(target) = f.Number(m_Work);
    }
    // A converged fit's N and m (the aquifer's values stand in its fields,
    // where the user may have changed them since).
    if (m_Result && m_Result->Converged())
        for (const morvek::FittedInput& f : m_Result->inputs)
            if (const morvek::Field* field = morvek::FindField(f.name);
                field->blockItem != morvek::kBlockAquifer)
                field->Number(target) = f.stored;
    accept();
    // A step of its own for "Rückgängig"; the case is computed anew.
    m_Doc.ChangeInputs(target, "Materialbilanz übernehmen", true);
    return true;
}

void WaterDriveDialog::reject() {
    Cancel();
    m_FitThread.Finish();
    QDialog::reject();
}
