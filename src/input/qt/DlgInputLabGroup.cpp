// The dialog's group of laboratory data beside the correlation methods: the
// active source of the fluid properties and of the relative permeabilities,
// and the buttons that read or drop a table. (Rock and water compressibility
// stand with the reservoir fields.)

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>

#include "input/DlgInput.h"
#include "input/ExchangeTable.h"
#include "input/qt/DlgInputWidget.h"

namespace {

constexpr int kPvtSource = 1047;
constexpr int kRelPermSource = 1048;

// A source line too long for its room shows its beginning and its end (the
// row count) with an ellipsis between; its text stays whole. It asks for room
// for a table file name of usual length, so that where the screen has room
// the name stands whole, and gives it up on a small screen.
class ElidingLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize sizeHint() const override {
        const QSize hint = QLabel::sizeHint();
        const int usual = fontMetrics().horizontalAdvance(
            QStringLiteral("Relperm: relperm-bohrung-12a.txt (300 Zeilen)"));
        return {usual + contentsMargins().left() + contentsMargins().right(), hint.height()};
    }
    QSize minimumSizeHint() const override { return {minimumWidth(), QLabel::sizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect room = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width());
        style()->drawItemText(&painter, room, int(alignment()), palette(), isEnabled(), shown,
                              foregroundRole());
    }
};

}  // namespace

QWidget* DlgInputWidget::BuildLabGroup() {
    // No frame of its own: the dialog has no height to spare.
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);

    auto addSource = [&](int row, int sourceId, int readId, const QString& readText, int removeId,
                         void (DlgInput::*read)(), void (DlgInput::*remove)()) {
        auto* source = new ElidingLabel(box);
        source->setObjectName(QStringLiteral("ctl%1").arg(sourceId));
        source->setTextFormat(Qt::PlainText);
        m_Statics[sourceId] = source;
        auto* readButton = new QPushButton(readText, box);
        auto* removeButton = new QPushButton(QStringLiteral("Tabelle entfernen"), box);
        for (auto [button, id] :
             {std::pair{readButton, readId}, std::pair{removeButton, removeId}}) {
            button->setObjectName(QStringLiteral("ctl%1").arg(id));
            button->setAutoDefault(false);
            m_Buttons[id] = button;
        }
        connect(readButton, &QPushButton::clicked, this, [this, read] {
            Run(read);
            RefreshLabButtons();
        });
        connect(removeButton, &QPushButton::clicked, this, [this, remove] {
            Run(remove);
            RefreshLabButtons();
        });
        // One line per source: what is active, then its two buttons.
        // A long file name is cut, not the dialog widened; the tooltip has it all.
        source->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        source->setMinimumWidth(
            source->fontMetrics().horizontalAdvance(QStringLiteral("Relperm: Corey-Ansatz")));
        grid->addWidget(source, row, 0);
        grid->addWidget(readButton, row, 1);
        grid->addWidget(removeButton, row, 2);
    };
    addSource(0, kPvtSource, kReadPvtTableButton, QStringLiteral("PVT-Tabelle lesen…"),
              kRemovePvtTableButton, &DlgInput::ReadPvtTable, &DlgInput::RemovePvtTable);
    addSource(1, kRelPermSource, kReadRelPermTableButton, QStringLiteral("Relperm-Tabelle lesen…"),
              kRemoveRelPermTableButton, &DlgInput::ReadRelPermTable,
              &DlgInput::RemoveRelPermTable);
    grid->setColumnStretch(0, 1);
    return box;
}

std::vector<QWidget*> DlgInputWidget::LabTabChain() const {
    return {Button(kReadPvtTableButton), Button(kRemovePvtTableButton),
            Button(kReadRelPermTableButton), Button(kRemoveRelPermTableButton)};
}

void DlgInputWidget::RefreshUnusedFields() {
    for (const char* member : {"m_Methode", "m_NuoPb", "m_Rsi", "m_KroMax", "m_KrgMax", "m_Sgc"}) {
        const QString reason = QString::fromStdString(m_Dlg.UnusedFieldReason(member));
        std::vector<QWidget*> widgets;
        const ExchangeField* field = FindField(member);
        if (field == nullptr) continue;
        if (field->kind == FieldKind::Radio) {
            auto group = m_Radios.find(field->controlId);
            if (group != m_Radios.end())
                for (QAbstractButton* b : group->second->buttons()) widgets.push_back(b);
        } else if (QLineEdit* edit = Edit(field->controlId)) {
            widgets.push_back(edit);
        }
        for (QWidget* w : widgets) {
            w->setEnabled(reason.isEmpty());
            w->setToolTip(reason);
        }
    }
}

void DlgInputWidget::RefreshLabButtons() {
    RefreshUnusedFields();
    // The source lines may be cut; their tooltips show them whole.
    for (int id : {kPvtSource, kRelPermSource}) Static(id)->setToolTip(Static(id)->text());
    Button(kRemovePvtTableButton)->setEnabled(m_Dlg.m_Inputs.pvtTable.has_value());
    Button(kRemoveRelPermTableButton)->setEnabled(m_Dlg.m_Inputs.relPermTable.has_value());
}
