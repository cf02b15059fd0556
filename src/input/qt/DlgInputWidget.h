#pragma once
// The data-entry dialog on screen: every control of the exchange table,
// grouped as engineers know the form, driving the engine's DlgInput through
// its Controls port. Leaving a gas edit updates the sum, leaving the API edit
// warns, leaving the row edit line applies the row edit; Enter never closes
// the dialog, only the OK button validates.

#include <QDialog>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "input/Controls.h"

class DlgInput;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;

class DlgInputWidget : public QDialog, public Controls {
    Q_OBJECT
public:
    // Control ids of the buttons outside the exchange table.
    static constexpr int kOkButton = 1000;
    static constexpr int kCancelButton = 2;
    static constexpr int kFileButton = 1043;
    static constexpr int kRowList = 1032;
    // The laboratory data's buttons (DlgInputLabGroup.cpp).
    static constexpr int kReadPvtTableButton = 1049;
    static constexpr int kReadRelPermTableButton = 1050;
    static constexpr int kRemovePvtTableButton = 1051;
    static constexpr int kRemoveRelPermTableButton = 1052;

    explicit DlgInputWidget(DlgInput& dialog, QWidget* parent = nullptr);
    ~DlgInputWidget() override;

    // The dialog's start: the engine shows its members and fills the list.
    void InitDialog();

    // --- Controls -----------------------------------------------------------------
    std::string Text(int controlId) const override;
    bool TakesDecimalComma() const override { return true; }
    void SetText(int controlId, const std::string& text) override;
    int CheckedRadio(int firstControlId) const override;
    void SetCheckedRadio(int firstControlId, int index) override;
    bool IsChecked(int controlId) const override;
    void SetChecked(int controlId, bool checked) override;
    void SetFocus(int controlId) override;
    void FocusNextControl() override;

    // --- The widgets by control id ---------------------------------------------------
    QLineEdit* Edit(int controlId) const;
    QLabel* Static(int controlId) const;
    QAbstractButton* Button(int controlId) const;
    QListWidget* RowListWidget() const { return m_pList; }
    // The part of the form below the name that scrolls on a small screen.
    QScrollArea* ScrollArea() const { return m_pScroll; }
    // Sizes the dialog to the whole form, or to the room given where that is
    // smaller (the dialog's start gives the screen's room).
    void FitInto(const QSize& room);
    DlgInput& Dialog() { return m_Dlg; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* NewEdit(int controlId, bool number = true);
    QLabel* LabelFor(int controlId);
    QButtonGroup* NewRadioGroup(int firstControlId, const std::initializer_list<const char*>& texts,
                                QWidget* parent);
    QWidget* BuildGasGroup();
    QWidget* BuildMethodGroup();
    QWidget* BuildReservoirFields();
    QWidget* BuildRowGroup();
    // The sources of fluids and relative permeabilities and the table
    // buttons; the widgets of its tab order.
    QWidget* BuildLabGroup();
    std::vector<QWidget*> LabTabChain() const;
    // "Tabelle entfernen" is enabled only where a table is active; the fields
    // a table replaces are greyed with the reason as their tool tip.
    void RefreshLabButtons();
    void RefreshUnusedFields();
    void SetTabOrder();
    // Runs an engine operation; leave events caused by it start nothing.
    void Run(void (DlgInput::*operation)());
    void MirrorRowList();
    void OnOkClicked();
    void FitToScreen();
    // Tells the user which character a text field refused.
    std::function<void(const std::string&)> RefusalMessage(int controlId);

    DlgInput& m_Dlg;
    std::map<int, QLineEdit*> m_Edits;
    std::map<int, QLabel*> m_Statics;
    std::map<int, QButtonGroup*> m_Radios;
    std::map<int, QCheckBox*> m_Checks;
    std::map<int, QAbstractButton*> m_Buttons;
    std::map<QObject*, void (DlgInput::*)()> m_LeaveOperations;
    QListWidget* m_pList = nullptr;
    QWidget* m_pForm = nullptr;
    QScrollArea* m_pScroll = nullptr;
    int m_nBusy = 0;
    bool m_bMirroring = false;
};
