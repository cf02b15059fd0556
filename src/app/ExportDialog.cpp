#include "app/ExportDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExportDialog::ExportDialog(bool steps, bool samples, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Exportieren"));
    setObjectName(QStringLiteral("ExportDialog"));
    auto* layout = new QVBoxLayout(this);

    auto* what = new QGroupBox(QStringLiteral("Was"), this);
    auto* whatLayout = new QVBoxLayout(what);
    const std::pair<What, const char*> choices[] = {
        {What::Curves, "Kurven der Grafik"},
        {What::Steps, "Schritte der Vorhersage"},
        {What::Overview, "Übersicht"},
        {What::Samples, "Stichproben der letzten Unsicherheitsanalyse"},
    };
    for (auto [kind, text] : choices) {
        auto* button = new QRadioButton(QString::fromUtf8(text), what);
        whatLayout->addWidget(button);
        m_What[kind] = button;
    }
    m_What[What::Steps]->setEnabled(steps);
    m_What[What::Samples]->setEnabled(samples);
    if (!steps) m_What[What::Steps]->setToolTip(QStringLiteral("Erst nach einer Vorhersage"));
    if (!samples)
        m_What[What::Samples]->setToolTip(QStringLiteral("Erst nach einer Unsicherheitsanalyse"));
    m_What[What::Curves]->setChecked(true);
    layout->addWidget(what);

    auto* sign = new QGroupBox(QStringLiteral("Zahlen"), this);
    auto* signLayout = new QVBoxLayout(sign);
    m_pComma = new QRadioButton(QStringLiteral("Dezimalkomma (Tabellenkalkulation deutsch)"), sign);
    m_pPoint = new QRadioButton(QStringLiteral("Dezimalpunkt"), sign);
    m_pComma->setChecked(true);
    signLayout->addWidget(m_pComma);
    signLayout->addWidget(m_pPoint);
    layout->addWidget(sign);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Weiter…"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

ExportDialog::What ExportDialog::Choice() const {
    for (const auto& [kind, button] : m_What)
        if (button->isChecked()) return kind;
    return What::Curves;
}

bool ExportDialog::DecimalComma() const {
    return m_pComma->isChecked();
}
