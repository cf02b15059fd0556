#include "input/qt/DlgInputWidget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "base/MessageSink.h"
#include "input/DlgInput.h"
#include "input/ExchangeTable.h"
#include "input/qt/Cp1252Validator.h"

namespace {

constexpr int kFieldName = 1001;
constexpr int kApi = 1022;
constexpr int kGasSum = 1033;
constexpr int kRowEdit = 1034;
constexpr int kStatus = 1039;
constexpr int kPvtCheck = 1040;
constexpr int kRelPermCheck = 1044;
constexpr int kMethodGroup = 1028;
constexpr int kRowModeGroup = 1035;

// The gas composition in two columns, in the order of the case.
constexpr int kGasLeftColumn[] = {1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009};
constexpr int kGasRightColumn[] = {1010, 1011, 1012, 1013, 1014, 1015, 1016};
// The reservoir fields in two columns, rock and water compressibility last.
constexpr int kReservoirLeftColumn[] = {1019, 1020, 1021, 1018, 1022, 1027, 1045};
constexpr int kReservoirRightColumn[] = {1023, 1024, 1025, 1026, 1041, 1042, 1046};

const ExchangeField* FieldById(int controlId) {
    for (const ExchangeField& f : ExchangeTable())
        if (f.controlId == controlId) return &f;
    return nullptr;
}

// The measured rows stand two pixels apart more than a list's rows would.
class TallerRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rheight() += 2;
        return size;
    }
};

QFont FixedPitch() {
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

}  // namespace

DlgInputWidget::DlgInputWidget(DlgInput& dialog, QWidget* parent) : QDialog(parent), m_Dlg(dialog) {
    setWindowTitle(QStringLiteral("Dialogfeld zur Dateneingabe"));
    setObjectName(QStringLiteral("DlgInput"));

    // Top: the field's name with OK and Abbrechen beside it.
    auto* name = NewEdit(kFieldName, false);
    name->setValidator(new Cp1252Validator(name, RefusalMessage(kFieldName)));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    for (QPushButton* b : {ok, cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    // Abbrechen reads nothing, so clicking it must not first leave an edit
    // (which would read the controls and might complain).
    cancel->setFocusPolicy(Qt::TabFocus);
    ok->setObjectName(QStringLiteral("ctl1000"));
    cancel->setObjectName(QStringLiteral("ctl2"));
    m_Buttons[kOkButton] = ok;
    m_Buttons[kCancelButton] = cancel;
    connect(ok, &QPushButton::clicked, this, &DlgInputWidget::OnOkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(LabelFor(kFieldName));
    top->addWidget(name, 1);
    top->addSpacing(16);
    top->addWidget(ok);
    top->addWidget(cancel);

    // The gas composition keeps its width; the rest goes to the methods and
    // the source lines of the laboratory tables beside it.
    auto* upper = new QHBoxLayout;
    upper->addWidget(BuildGasGroup(), 0);
    upper->addWidget(BuildMethodGroup(), 1);

    // Everything below the name and the two buttons scrolls, so that every
    // field stays within reach on a small or strongly scaled screen, while OK
    // and Abbrechen never leave the view.
    m_pForm = new QWidget;
    m_pForm->setObjectName(QStringLiteral("form"));
    auto* form = new QVBoxLayout(m_pForm);
    form->setContentsMargins(0, 0, 0, 0);
    form->addLayout(upper);
    form->addWidget(BuildReservoirFields());
    form->addWidget(BuildRowGroup(), 1);
    m_pScroll = new QScrollArea(this);
    m_pScroll->setObjectName(QStringLiteral("scroll"));
    m_pScroll->setFrameShape(QFrame::NoFrame);
    m_pScroll->setWidgetResizable(true);
    m_pScroll->setWidget(m_pForm);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pScroll, 1);
    SetTabOrder();

    m_Dlg.m_MesswertListe.SetChangeListener([this] { MirrorRowList(); });
}

DlgInputWidget::~DlgInputWidget() {
    m_Dlg.m_MesswertListe.SetChangeListener(nullptr);
    for (auto& [watched, operation] : m_LeaveOperations) watched->removeEventFilter(this);
}

// --- Building the form ------------------------------------------------------------------

QLineEdit* DlgInputWidget::NewEdit(int controlId, bool number) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("ctl%1").arg(controlId));
    if (number) {
        // Wide enough for every number the dialog shows in full ("-273.149",
        // "99000", "1.23457e+06"); a layout short of room scrolls instead of
        // squeezing the field.
        const int digits = edit->fontMetrics().horizontalAdvance(QStringLiteral("-0000000.000"));
        QStyleOptionFrame frame;
        frame.initFrom(edit);
        const int width = edit->style()
                              ->sizeFromContents(QStyle::CT_LineEdit, &frame,
                                                 QSize(digits, edit->fontMetrics().height()), edit)
                              .width();
        edit->setMinimumWidth(width);
        edit->setMaximumWidth(std::max(width, edit->fontMetrics().horizontalAdvance(
                                                  QStringLiteral("0000000000.0"))));
        edit->setAlignment(Qt::AlignRight);
    }
    m_Edits[controlId] = edit;
    return edit;
}

QLabel* DlgInputWidget::LabelFor(int controlId) {
    const ExchangeField* field = FieldById(controlId);
    auto* label = new QLabel(QString::fromUtf8(field != nullptr ? field->label : ""), this);
    if (m_Edits.count(controlId) != 0) label->setBuddy(m_Edits[controlId]);
    return label;
}

QButtonGroup* DlgInputWidget::NewRadioGroup(int firstControlId,
                                            const std::initializer_list<const char*>& texts,
                                            QWidget* parent) {
    auto* group = new QButtonGroup(this);
    int index = 0;
    for (const char* text : texts) {
        auto* button = new QRadioButton(QString::fromUtf8(text), parent);
        button->setObjectName(QStringLiteral("ctl%1").arg(firstControlId + index));
        group->addButton(button, index);
        m_Buttons[firstControlId + index] = button;
        ++index;
    }
    m_Radios[firstControlId] = group;
    return group;
}

QWidget* DlgInputWidget::BuildGasGroup() {
    auto* box = new QGroupBox(QStringLiteral("Gaszusammensetzung in Prozent"), this);
    auto* grid = new QGridLayout(box);
    auto place = [&](int controlId, int row, int column) {
        QLineEdit* edit = NewEdit(controlId);
        grid->addWidget(LabelFor(controlId), row, column);
        grid->addWidget(edit, row, column + 1);
        edit->installEventFilter(this);
        m_LeaveOperations[edit] = &DlgInput::RecomputeGasSum;
    };
    int row = 0;
    for (int id : kGasLeftColumn) place(id, row++, 0);
    row = 0;
    for (int id : kGasRightColumn) place(id, row++, 3);
    grid->setColumnMinimumWidth(2, 16);

    auto* sum = new QLabel(this);
    sum->setObjectName(QStringLiteral("ctl%1").arg(kGasSum));
    sum->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_Statics[kGasSum] = sum;
    grid->addWidget(LabelFor(kGasSum), row, 3);
    grid->addWidget(sum, row, 4);
    return box;
}

QWidget* DlgInputWidget::BuildMethodGroup() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* box = new QGroupBox(QStringLiteral("Korrelationsmethode"), column);
    auto* buttons = new QVBoxLayout(box);
    QButtonGroup* group = NewRadioGroup(
        kMethodGroup, {"Glasoe ", "Vasquez und Beggs", "Standing", "Kartoatmodjo u.Schmidt"}, box);
    for (QAbstractButton* b : group->buttons()) buttons->addWidget(b);
    layout->addWidget(box);

    for (int id : {kPvtCheck, kRelPermCheck}) {
        auto* check = new QCheckBox(QString::fromUtf8(FieldById(id)->label), column);
        check->setObjectName(QStringLiteral("ctl%1").arg(id));
        m_Checks[id] = check;
        m_Buttons[id] = check;
        // As wide as its text: a click beside it does not toggle it.
        layout->addWidget(check, 0, Qt::AlignLeft);
    }
    connect(m_Checks[kPvtCheck], &QCheckBox::clicked, this,
            [this] { Run(&DlgInput::TogglePVTAusgabe); });
    connect(m_Checks[kRelPermCheck], &QCheckBox::clicked, this,
            [this] { Run(&DlgInput::ToggleRelPermAusgabe); });
    layout->addWidget(BuildLabGroup());
    layout->addStretch();
    return column;
}

QWidget* DlgInputWidget::BuildReservoirFields() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    auto place = [&](int controlId, int row, int column) {
        QLineEdit* edit = NewEdit(controlId);
        grid->addWidget(LabelFor(controlId), row, column);
        grid->addWidget(edit, row, column + 1);
    };
    int row = 0;
    for (int id : kReservoirLeftColumn) place(id, row++, 0);
    row = 0;
    for (int id : kReservoirRightColumn) place(id, row++, 3);
    grid->setColumnMinimumWidth(2, 24);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(3, 1);
    m_Edits[kApi]->installEventFilter(this);
    m_LeaveOperations[m_Edits[kApi]] = &DlgInput::CheckOilDensity;
    return box;
}

QWidget* DlgInputWidget::BuildRowGroup() {
    auto* box = new QGroupBox(QStringLiteral("Meßwerte"), this);
    auto* layout = new QGridLayout(box);

    auto* captions = new QLabel(QStringLiteral("Kum.Ölproduktion   Schließdruck     GOEV\n"
                                               "(1000 m3)               (Bar)           (m3/m3)"),
                                box);
    captions->setFont(FixedPitch());
    captions->setTextFormat(Qt::PlainText);

    QLineEdit* line = NewEdit(kRowEdit, false);
    line->setFont(FixedPitch());
    line->setValidator(new Cp1252Validator(line, RefusalMessage(kRowEdit)));
    line->installEventFilter(this);
    m_LeaveOperations[line] = &DlgInput::ApplyRowEdit;

    m_pList = new QListWidget(box);
    m_pList->setObjectName(QStringLiteral("ctl%1").arg(kRowList));
    m_pList->setFont(FixedPitch());
    m_pList->setItemDelegate(new TallerRows(m_pList));
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_pList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_bMirroring) m_Dlg.m_MesswertListe.SetSelection(row);
    });
    connect(m_pList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_Dlg.m_MesswertListe.SetSelection(m_pList->row(item));
        Run(&DlgInput::SelectRow);
    });

    auto* status = new QLabel(this);
    status->setObjectName(QStringLiteral("ctl%1").arg(kStatus));
    status->setTextFormat(Qt::PlainText);
    // A long status (the hint of a new case) wraps instead of widening the form.
    status->setWordWrap(true);
    // The line keeps its room while empty, so the form does not jump.
    status->setMinimumHeight(status->fontMetrics().height());
    m_Statics[kStatus] = status;

    auto* modes = new QWidget(box);
    auto* modeLayout = new QVBoxLayout(modes);
    modeLayout->setContentsMargins(0, 0, 0, 0);
    QButtonGroup* group =
        NewRadioGroup(kRowModeGroup,
                      {"Zeile ändern", "Zeile anhängen", "Zeile einfügen", "Zeile löschen"}, modes);
    for (QAbstractButton* b : group->buttons()) modeLayout->addWidget(b);
    connect(group, &QButtonGroup::idClicked, this, [this](int index) {
        ++m_nBusy;
        m_Dlg.SetRowMode(index);
        --m_nBusy;
    });
    modeLayout->addStretch();
    auto* readFile = new QPushButton(QStringLiteral("Meßwertdatei lesen"), modes);
    readFile->setObjectName(QStringLiteral("ctl%1").arg(kFileButton));
    readFile->setAutoDefault(false);
    m_Buttons[kFileButton] = readFile;
    connect(readFile, &QPushButton::clicked, this, [this] { Run(&DlgInput::FileOpen); });
    modeLayout->addWidget(readFile);

    layout->addWidget(captions, 0, 0);
    layout->addWidget(line, 1, 0);
    layout->addWidget(m_pList, 2, 0);
    layout->addWidget(status, 3, 0);
    layout->addWidget(modes, 0, 1, 4, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(2, 1);
    // Room for seven rows, as many as a survey of a few years holds.
    m_pList->setMinimumHeight((m_pList->fontMetrics().height() + 6) * 7);
    return box;
}

void DlgInputWidget::SetTabOrder() {
    std::vector<QWidget*> chain = {m_Edits[kFieldName], m_Buttons[kOkButton],
                                   m_Buttons[kCancelButton]};
    for (int id : kGasLeftColumn) chain.push_back(m_Edits[id]);
    for (int id : kGasRightColumn) chain.push_back(m_Edits[id]);
    for (QAbstractButton* b : m_Radios[kMethodGroup]->buttons()) chain.push_back(b);
    chain.push_back(m_Checks[kPvtCheck]);
    chain.push_back(m_Checks[kRelPermCheck]);
    for (QWidget* w : LabTabChain()) chain.push_back(w);
    for (int id : kReservoirLeftColumn) chain.push_back(m_Edits[id]);
    for (int id : kReservoirRightColumn) chain.push_back(m_Edits[id]);
    // The edit line follows the list: a double click on a row puts the row
    // into the edit line and moves on there, ready to be changed.
    chain.push_back(m_pList);
    chain.push_back(m_Edits[kRowEdit]);
    for (QAbstractButton* b : m_Radios[kRowModeGroup]->buttons()) chain.push_back(b);
    chain.push_back(m_Buttons[kFileButton]);
    for (size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

// --- Running the engine ---------------------------------------------------------------------

void DlgInputWidget::Run(void (DlgInput::*operation)()) {
    ++m_nBusy;
    (m_Dlg.*operation)();
    --m_nBusy;
}

void DlgInputWidget::InitDialog() {
    Run(&DlgInput::OnInitDialog);
    RefreshLabButtons();
    m_Edits[kFieldName]->setFocus();
    FitToScreen();
}

void DlgInputWidget::FitToScreen() {
    QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    // Room for the window frame and a panel.
    FitInto(screen != nullptr ? screen->availableGeometry().size() - QSize(16, 48)
                              : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void DlgInputWidget::FitInto(const QSize& room) {
    // The whole form when there is room for it, otherwise as much as there is
    // (the rest scrolls).
    const QSize form = m_pForm->sizeHint();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QMargins margins = layout()->contentsMargins();
    const int topRow = layout()->itemAt(0)->sizeHint().height() + layout()->spacing();
    const QSize wanted(form.width() + margins.left() + margins.right() + scrollBar,
                       form.height() + topRow + margins.top() + margins.bottom());
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint()));
}

std::function<void(const std::string&)> DlgInputWidget::RefusalMessage(int controlId) {
    return [this, controlId](const std::string& character) {
        const ExchangeField* field = FieldById(controlId);
        if (field == nullptr) return;
        ++m_nBusy;
        m_Dlg.Messages().Warn(UnstorableTextMessage(*field, character));
        --m_nBusy;
    };
}

void DlgInputWidget::OnOkClicked() {
    ++m_nBusy;
    const bool accepted = m_Dlg.Validate();
    --m_nBusy;
    if (accepted) accept();
}

bool DlgInputWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        auto it = m_LeaveOperations.find(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Focus that goes to a message box or another window, or that the
        // engine itself moves, does not count as leaving the field.
        const bool leaves =
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible();
        if (it != m_LeaveOperations.end() && leaves && m_nBusy == 0) Run(it->second);
    }
    return QDialog::eventFilter(watched, event);
}

void DlgInputWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_Dlg.OnOK();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DlgInputWidget::MirrorRowList() {
    const RowList& rows = m_Dlg.m_MesswertListe;
    m_bMirroring = true;
    bool same = m_pList->count() == rows.Count();
    for (int i = 0; same && i < rows.Count(); ++i)
        same = m_pList->item(i)->text() == QString::fromStdString(rows.Text(i));
    if (!same) {
        m_pList->clear();
        for (const std::string& row : rows.Rows()) m_pList->addItem(QString::fromStdString(row));
    }
    if (rows.Selection() < 0) {
        m_pList->clearSelection();
        m_pList->setCurrentRow(-1);
    } else {
        m_pList->setCurrentRow(rows.Selection());
    }
    m_bMirroring = false;
}

// --- Controls -----------------------------------------------------------------------------------

QLineEdit* DlgInputWidget::Edit(int controlId) const {
    auto it = m_Edits.find(controlId);
    return it != m_Edits.end() ? it->second : nullptr;
}

QLabel* DlgInputWidget::Static(int controlId) const {
    auto it = m_Statics.find(controlId);
    return it != m_Statics.end() ? it->second : nullptr;
}

QAbstractButton* DlgInputWidget::Button(int controlId) const {
    auto it = m_Buttons.find(controlId);
    return it != m_Buttons.end() ? it->second : nullptr;
}

std::string DlgInputWidget::Text(int controlId) const {
    if (QLineEdit* edit = Edit(controlId)) return edit->text().toStdString();
    if (QLabel* label = Static(controlId)) return label->text().toStdString();
    return std::string();
}

void DlgInputWidget::SetText(int controlId, const std::string& text) {
    if (QLineEdit* edit = Edit(controlId)) {
        const QString value = QString::fromStdString(text);
        if (edit->text() != value) edit->setText(value);
    } else if (QLabel* label = Static(controlId)) {
        label->setText(QString::fromStdString(text));
    }
}

int DlgInputWidget::CheckedRadio(int firstControlId) const {
    auto it = m_Radios.find(firstControlId);
    return it != m_Radios.end() ? it->second->checkedId() : -1;
}

void DlgInputWidget::SetCheckedRadio(int firstControlId, int index) {
    auto it = m_Radios.find(firstControlId);
    if (it == m_Radios.end()) return;
    QButtonGroup* group = it->second;
    if (QAbstractButton* button = group->button(index)) {
        button->setChecked(true);
        return;
    }
    // No button checked: an exclusive group will not let the last one go.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

bool DlgInputWidget::IsChecked(int controlId) const {
    auto it = m_Checks.find(controlId);
    return it != m_Checks.end() && it->second->isChecked();
}

void DlgInputWidget::SetChecked(int controlId, bool checked) {
    auto it = m_Checks.find(controlId);
    if (it != m_Checks.end()) it->second->setChecked(checked);
}

void DlgInputWidget::SetFocus(int controlId) {
    QWidget* target = Edit(controlId);
    if (target == nullptr) target = Button(controlId);
    if (target == nullptr && controlId == kRowList) target = m_pList;
    if (target == nullptr) return;
    ++m_nBusy;
    target->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(target)) edit->selectAll();
    --m_nBusy;
}

void DlgInputWidget::FocusNextControl() {
    ++m_nBusy;
    focusNextChild();
    --m_nBusy;
}
