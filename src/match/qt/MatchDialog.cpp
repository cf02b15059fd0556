#include "match/qt/MatchDialog.h"

#include <QCheckBox>
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
#include <cctype>
#include <chrono>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "base/qt/ScreenRoom.h"
#include "case/MorvekDoc.h"
#include "input/DlgInput.h"
#include "input/InputChecks.h"
#include "match/MatchReport.h"

namespace {

// The progress line follows every iteration, and between two at most this often.
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QString Number(double value) {
    return Q(Format("%.6g", value));
}

// The engine's messages name inputs by their record names, which the
// command line uses; the dialog names them as its rows do.
std::string WithCaptions(std::string text) {
    for (const morvek::Field* f : morvek::MatchableFields()) {
        const std::string name = f->recordName;
        for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at)) {
            // Not a part of a longer name.
            const size_t end = at + name.size();
            if (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) ||
                                      text[end] == '_')) {
                at = end;
                continue;
            }
            const std::string caption = "\"" + f->Caption() + "\"";
            text.replace(at, name.size(), caption);
            at += caption.size();
        }
    }
    return text;
}

// The data-entry checks' messages in this dialog: with the warning icon,
// without the data-entry dialog's "FEHLER!!".
class UnmarkedMessages : public MessageSink {
public:
    explicit UnmarkedMessages(MessageSink& sink) : m_Sink(sink) {}
    void Show(const std::string& text) override { m_Sink.Warn(Unmarked(text)); }
    void Warn(const std::string& text) override { m_Sink.Warn(Unmarked(text)); }
    bool AskYesNo(const std::string& text) override { return m_Sink.AskYesNo(text); }
    Answer AskYesNoCancel(const std::string& text) override { return m_Sink.AskYesNoCancel(text); }

private:
    static std::string Unmarked(const std::string& text) {
        const std::string mark = "FEHLER!!\n";
        return text.rfind(mark, 0) == 0 ? text.substr(mark.size()) : text;
    }
    MessageSink& m_Sink;
};

// The inputs fitted when the dialog opens: the usual question, how much oil
// and how big a gas cap.
bool CheckedAtFirst(const std::string& name) {
    return name == "m_OOIP" || name == "m_Gaskappe";
}

}  // namespace

MatchDialog::MatchDialog(CMorvekDoc& doc, QWidget* parent)
    : QDialog(parent),
      m_Doc(doc),
      m_FitThread(
          this, kProgressInterval, [this](const morvek::MatchProgress& p) { ShowProgress(p); },
          [this](std::optional<morvek::MatchResult> r) { OnFinished(std::move(r)); }) {
    setWindowTitle(QStringLiteral("Anpassung an Meßwerte"));
    auto* layout = new QVBoxLayout(this);

    auto* inputs = new QGroupBox(QStringLiteral("Anzupassende Eingaben"), this);
    auto* grid = new QGridLayout(inputs);
    BuildInputRows(grid);
    layout->addWidget(inputs);

    auto* weights = new QHBoxLayout;
    weights->addWidget(new QLabel(QStringLiteral("Gewicht Druck"), this));
    m_pPressureWeight = new QLineEdit(QStringLiteral("1"), this);
    weights->addWidget(m_pPressureWeight);
    weights->addWidget(new QLabel(QStringLiteral("Gewicht GOEV"), this));
    m_pGorWeight = new QLineEdit(QStringLiteral("1"), this);
    weights->addWidget(m_pGorWeight);
    weights->addStretch();
    m_pStart = new QPushButton(QStringLiteral("Start"), this);
    m_pCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    weights->addWidget(m_pStart);
    weights->addWidget(m_pCancel);
    layout->addLayout(weights);

    m_pProgress = new QLabel(QStringLiteral("Bereit."), this);
    layout->addWidget(m_pProgress);

    m_pTable = new QTableWidget(0, 5, this);
    m_pTable->setHorizontalHeaderLabels(
        {QStringLiteral("Größe"), QStringLiteral("Start"), QStringLiteral("Angepaßt"),
         QStringLiteral("± Std.-Fehler"), QStringLiteral("95 %-Intervall")});
    m_pTable->verticalHeader()->setVisible(false);
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setMinimumHeight(90);
    m_pTable->setMaximumHeight(170);
    layout->addWidget(m_pTable);
    m_pRms = new QLabel(this);
    layout->addWidget(m_pRms);
    m_pWarning = new QLabel(this);
    m_pWarning->setWordWrap(true);
    m_pWarning->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(m_pWarning);
    m_pDetails = new QPlainTextEdit(this);
    m_pDetails->setReadOnly(true);
    m_pDetails->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pDetails->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_pDetails, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_pApply = new QPushButton(QStringLiteral("Übernehmen"), this);
    m_pDiscard = new QPushButton(QStringLiteral("Verwerfen"), this);
    buttons->addWidget(m_pApply);
    buttons->addWidget(m_pDiscard);
    layout->addLayout(buttons);

    connect(m_pStart, &QPushButton::clicked, this, [this] { Start(); });
    connect(m_pCancel, &QPushButton::clicked, this, &MatchDialog::Cancel);
    connect(m_pApply, &QPushButton::clicked, this, &MatchDialog::Apply);
    connect(m_pDiscard, &QPushButton::clicked, this, &MatchDialog::reject);
    m_pStart->setDefault(true);
    ShowDefaultBounds(false);
    RestoreSettings();
    UpdateButtons();
    ResizeWithinScreen(*this, QSize(780, 800));
}

MatchDialog::~MatchDialog() = default;

void MatchDialog::BuildInputRows(QGridLayout* grid) {
    int row = 0;
    const QStringList heads = {QStringLiteral("Eingabe"), QStringLiteral("Startwert"),
                               QStringLiteral("untere Grenze"), QStringLiteral("obere Grenze")};
    for (int c = 0; c < heads.size(); ++c) grid->addWidget(new QLabel(heads[c], this), row, c);
    for (const morvek::Field* f : morvek::MatchableFields()) {
        ++row;
        InputRow r{f,
                   new QCheckBox(Q(f->Caption()), this),
                   new QLineEdit(this),
                   new QLineEdit(this),
                   new QLineEdit(this),
                   {}};
        r.check->setObjectName(QString::fromLatin1(f->recordName));
        // An input the case's tables replace is shown, greyed, with the reason.
        r.unused = Q(morvek::UnusedMatchInput(m_Doc.m_Inputs, *f));
        // The reason it cannot be fitted, or the names of the command line
        // and of Python, as the uncertainty dialog gives them.
        r.check->setToolTip(!r.unused.isEmpty()
                                ? r.unused
                                : QStringLiteral("%1: %2 (%3)")
                                      .arg(Q(f->Caption()), QString::fromLatin1(f->recordName),
                                           QString::fromLatin1(f->name)));
        r.check->setChecked(r.unused.isEmpty() && CheckedAtFirst(f->recordName));
        r.start->setText(Q(FloatForDisplay(f->Number(m_Doc.m_Inputs))));
        grid->addWidget(r.check, row, 0);
        grid->addWidget(r.start, row, 1);
        grid->addWidget(r.lower, row, 2);
        grid->addWidget(r.upper, row, 3);
        connect(r.check, &QCheckBox::toggled, this, [this] {
            ShowDefaultBounds(true);
            UpdateButtons();
        });
        m_Rows.push_back(r);
    }
}

const MatchDialog::InputRow* MatchDialog::RowOf(const std::string& name) const {
    for (const InputRow& r : m_Rows)
        if (name == r.field->recordName) return &r;
    return nullptr;
}

QCheckBox* MatchDialog::Check(const std::string& name) const {
    return RowOf(name) != nullptr ? RowOf(name)->check : nullptr;
}

QLineEdit* MatchDialog::StartEdit(const std::string& name) const {
    return RowOf(name) != nullptr ? RowOf(name)->start : nullptr;
}

QLineEdit* MatchDialog::LowerEdit(const std::string& name) const {
    return RowOf(name) != nullptr ? RowOf(name)->lower : nullptr;
}

QLineEdit* MatchDialog::UpperEdit(const std::string& name) const {
    return RowOf(name) != nullptr ? RowOf(name)->upper : nullptr;
}

std::vector<std::string> MatchDialog::CheckedNames() const {
    std::vector<std::string> names;
    for (const InputRow& r : m_Rows)
        if (r.check->isChecked()) names.emplace_back(r.field->recordName);
    return names;
}

void MatchDialog::ShowDefaultBounds(bool onlySaturations) {
    const std::vector<std::string> fitted = CheckedNames();
    for (const InputRow& r : m_Rows) {
        const std::string name = r.field->recordName;
        if (onlySaturations && name != "m_Swi" && name != "m_Sgc") continue;
        const morvek::MatchBounds b = morvek::DefaultBounds(m_Doc.m_Inputs, *r.field, fitted);
        r.lower->setText(Number(b.lower));
        r.upper->setText(Number(b.upper));
    }
}

bool MatchDialog::ReadOptions(morvek::MatchOptions& options) {
    // A field that is no number names its row and column; a decimal comma is
    // as good as a point.
    auto read = [this](QLineEdit* edit, const std::string& caption, double& value) {
        const std::string text = edit->text().trimmed().toStdString();
        float f = 0;
        if (ParseFloatWithDecimalComma(text, f)) {
            value = f;
            return true;
        }
        m_Doc.Messages().Warn(morvek::NotANumberMessage(caption) + DecimalSignHint(text));
        edit->setFocus();
        edit->selectAll();
        return false;
    };
    for (const InputRow& r : m_Rows) {
        if (!r.check->isChecked()) continue;
        const std::string name = r.field->recordName;
        const std::string caption = r.field->Caption();
        morvek::MatchParameter p{name, 0.0, morvek::MatchBounds{}};
        if (!read(r.start, caption + ", Startwert", *p.start) ||
            !read(r.lower, caption + ", untere Grenze", p.bounds->lower) ||
            !read(r.upper, caption + ", obere Grenze", p.bounds->upper))
            return false;
        options.parameters.push_back(p);
    }
    return read(m_pPressureWeight, "Gewicht Druck", options.weights.pressure) &&
           read(m_pGorWeight, "Gewicht GOEV", options.weights.gor);
}

void MatchDialog::RestoreSettings() {
    const auto& kept = m_Doc.m_Inputs.matchSettings;
    if (!kept) return;
    for (const InputRow& r : m_Rows) r.check->setChecked(false);
    for (const morvek::MatchSettings::Input& i : kept->inputs) {
        const InputRow* r = RowOf(i.name);
        if (r == nullptr || !r->unused.isEmpty()) continue;
        r->check->setChecked(true);
        r->start->setText(Q(FloatForDisplay(i.start)));
        r->lower->setText(Q(FloatForDisplay(i.lower)));
        r->upper->setText(Q(FloatForDisplay(i.upper)));
    }
    m_pPressureWeight->setText(Q(FloatForDisplay(kept->pressureWeight)));
    m_pGorWeight->setText(Q(FloatForDisplay(kept->gorWeight)));
}

void MatchDialog::KeepSettings(const morvek::MatchOptions& options) {
    morvek::MatchSettings kept;
    for (const morvek::MatchParameter& p : options.parameters)
        kept.inputs.push_back({p.name, static_cast<float>(p.start.value_or(0.0)),
                               static_cast<float>(p.bounds ? p.bounds->lower : 0.0),
                               static_cast<float>(p.bounds ? p.bounds->upper : 0.0)});
    kept.pressureWeight = static_cast<float>(options.weights.pressure);
    kept.gorWeight = static_cast<float>(options.weights.gor);
    morvek::CaseInputs inputs = m_Doc.m_Inputs;
    inputs.matchSettings = kept;
    m_Doc.ChangeInputs(inputs, "Einstellungen der Anpassung", false);
}

bool MatchDialog::Start() {
    if (Running()) return false;
    morvek::MatchOptions options;
    if (!ReadOptions(options)) return false;
    // A match starts from a case the program computes: the OK checks first.
    DlgInput checks;
    checks.m_Inputs = m_Doc.m_Inputs;
    UnmarkedMessages messages(m_Doc.Messages());
    if (!CheckFieldValues(checks, messages) || !CheckDialogInputs(checks, messages)) return false;
    if (const std::string why = morvek::CheckMatch(m_Doc.m_Inputs, options); !why.empty()) {
        m_Doc.Messages().Warn(WithCaptions(why));
        return false;
    }
    KeepSettings(options);

    m_Result.reset();
    ShowResult(morvek::MatchResult{});
    m_pProgress->setText(QStringLiteral("Die Anpassung läuft ..."));
    m_FitThread.Start(
        [inputs = m_Doc.m_Inputs, options](const morvek::MatchCallback& callback) {
            return morvek::Match(inputs, options, callback);
        });
    UpdateButtons();
    return true;
}

void MatchDialog::Cancel() {
    m_FitThread.Cancel();
}

void MatchDialog::ShowProgress(const morvek::MatchProgress& p) {
    if (!Running()) return;
    m_pProgress->setText(Q(Format("Iteration %d, RMS %.3f %%, %d Vorhersagen", p.iteration,
                                  100.0 * p.rms, p.predictions)));
}

void MatchDialog::OnFinished(std::optional<morvek::MatchResult> outcome) {
    if (outcome) m_Result = std::move(outcome);
    if (m_Result) ShowResult(*m_Result);
    UpdateButtons();
}

void MatchDialog::ShowResult(const morvek::MatchResult& r) {
    m_pTable->setRowCount(0);
    m_pRms->clear();
    m_pWarning->clear();
    m_pDetails->clear();
    if (!m_Result) return;
    switch (r.status) {
        case morvek::MatchStatus::Converged:
            m_pProgress->setText(Q(Format("Konvergiert nach %d Iterationen mit %d Vorhersagen.",
                                          r.iterations, r.predictions)));
            break;
        case morvek::MatchStatus::Cancelled:
        case morvek::MatchStatus::NotConverged:
        case morvek::MatchStatus::Refused:
            m_pProgress->setText(Q(r.message + " Die Eingaben bleiben unverändert."));
            break;
    }
    std::string details;
    for (const std::string& line : morvek::MatchSummaryLines(r, m_Doc.m_Feldname))
        details += line + '\n';
    m_pDetails->setPlainText(Q(details));
    if (!r.Converged()) return;
    m_pTable->setRowCount(static_cast<int>(r.inputs.size()));
    int row = 0;
    for (const morvek::FittedInput& f : r.inputs) {
        const QStringList cells = {
            Q(f.name) + (f.atBound ? QStringLiteral(" (an der Grenze)") : QString()),
            Number(f.start), Q(FloatForDisplay(f.stored)),
            f.hasStatistics ? QStringLiteral("± ") + Q(Format("%.3g", f.stdError))
                            : QStringLiteral("nicht bestimmbar"),
            f.hasStatistics ? Number(f.ci95Low) + QStringLiteral(" bis ") + Number(f.ci95High)
                            : QString()};
        for (int c = 0; c < cells.size(); ++c)
            m_pTable->setItem(row, c, new QTableWidgetItem(cells[c]));
        ++row;
    }
    m_pTable->resizeColumnsToContents();
    m_pRms->setText(Q(Format("RMS der relativen Abweichungen: vorher %.2f %%, nachher %.2f %%",
                             100.0 * r.rmsBefore, 100.0 * r.rmsAfter)));
    QStringList warnings;
    for (const std::string& w : morvek::CorrelationWarnings(r)) warnings << Q(w);
    m_pWarning->setText(warnings.join('\n'));
}

void MatchDialog::UpdateButtons() {
    const bool running = Running();
    for (const InputRow& r : m_Rows) {
        r.check->setEnabled(!running && r.unused.isEmpty());
        for (QLineEdit* e : {r.start, r.lower, r.upper})
            e->setEnabled(!running && r.check->isChecked());
    }
    m_pPressureWeight->setEnabled(!running);
    m_pGorWeight->setEnabled(!running);
    m_pStart->setEnabled(!running);
    m_pCancel->setEnabled(running);
    m_pApply->setEnabled(!running && m_Result && m_Result->Converged());
}

void MatchDialog::Apply() {
    if (Running() || !m_Result || !m_Result->Converged()) return;
    morvek::CaseInputs fitted = m_Doc.m_Inputs;
    for (const morvek::FittedInput& f : m_Result->inputs)
        morvek::FindField(f.name)->Number(fitted) = f.stored;
    accept();
    m_Doc.ChangeInputs(fitted, "Anpassung übernehmen", true);
}

void MatchDialog::reject() {
    Cancel();
    m_FitThread.Finish();
    QDialog::reject();
}
