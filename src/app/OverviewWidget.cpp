#include "app/OverviewWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"

namespace {

constexpr float kMinAbandonBar = 1.0f;
constexpr float kMaxAbandonBar = 1000.0f;

QString Q(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

}  // namespace

OverviewWidget::OverviewWidget(Source source, std::function<MessageSink&()> messages,
                               QWidget* parent)
    : QWidget(parent), m_Source(std::move(source)), m_Messages(std::move(messages)) {
    setObjectName(QStringLiteral("Uebersicht"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Aufgabedruck (bar)"), this);
    m_pAbandon = new QLineEdit(this);
    m_pAbandon->setPlaceholderText(QStringLiteral("keiner"));
    m_pAbandon->setMaximumWidth(120);
    label->setBuddy(m_pAbandon);
    m_pCopy = new QPushButton(QStringLiteral("In die Zwischenablage kopieren"), this);
    m_pCopy->setToolTip(QStringLiteral(
        "Als Tabelle mit Tabulatoren und Dezimalkomma, zum Einfügen in eine Tabellenkalkulation"));
    top->addWidget(label);
    top->addWidget(m_pAbandon);
    top->addStretch(1);
    top->addWidget(m_pCopy);
    layout->addLayout(top);

    m_pTable = new QTableWidget(0, 4, this);
    m_pTable->setHorizontalHeaderLabels({QStringLiteral("Bereich"), QStringLiteral("Größe"),
                                         QStringLiteral("Wert"), QStringLiteral("Einheit")});
    m_pTable->verticalHeader()->hide();
    // One line of text a row, so that the sweep's percentiles are in view
    // beside the prediction's numbers on a 720-pixel screen.
    m_pTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(m_pTable, 1);

    connect(m_pCopy, &QPushButton::clicked, this, &OverviewWidget::CopyToClipboard);
    connect(m_pAbandon, &QLineEdit::editingFinished, this, &OverviewWidget::TakeAbandonment);
    auto* copy = new QShortcut(QKeySequence::Copy, m_pTable);
    copy->setContext(Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, &OverviewWidget::CopyToClipboard);
}

void OverviewWidget::TakeAbandonment() {
    const std::string text = m_pAbandon->text().trimmed().toStdString();
    float bar = 0;
    if (!text.empty() && (!ParseFloatWithDecimalComma(text, bar) || bar < kMinAbandonBar ||
                          bar > kMaxAbandonBar)) {
        m_Messages().Warn(Format("Der Aufgabedruck muß zwischen %g und %g bar liegen.",
                               double(kMinAbandonBar), double(kMaxAbandonBar)) +
                        DecimalSignHint(text));
        m_pAbandon->setFocus();
        m_pAbandon->selectAll();
        return;
    }
    if (bar == m_fAbandon) return;
    m_fAbandon = bar;
    Refresh();
}

void OverviewWidget::Refresh() {
    m_Lines = m_Source ? m_Source(m_fAbandon) : std::vector<OverviewLine>{};
    m_pTable->setRowCount(static_cast<int>(m_Lines.size()));
    for (int row = 0; row < static_cast<int>(m_Lines.size()); ++row) {
        const OverviewLine& l = m_Lines[static_cast<size_t>(row)];
        m_pTable->setItem(row, 0, Cell(Q(l.section)));
        m_pTable->setItem(row, 1, Cell(Q(l.quantity)));
        m_pTable->setItem(row, 2, Cell(Q(l.value), l.number ? Qt::AlignRight : Qt::AlignLeft));
        m_pTable->setItem(row, 3, Cell(Q(l.unit)));
    }
    m_pTable->resizeColumnToContents(0);
    m_pTable->resizeColumnToContents(2);
    m_pTable->resizeColumnToContents(3);
}

void OverviewWidget::CopyToClipboard() {
    QApplication::clipboard()->setText(Q(OverviewClipboardText(m_Lines)));
}
