#include "input/qt/QtDataEntryRunner.h"

#include "input/DlgInput.h"
#include "input/qt/DlgInputWidget.h"

bool QtDataEntryRunner::RunModal(DataEntryValues& values) {
    DlgInput dialog;
    FillDialog(dialog, values);
    DlgInputWidget widget(dialog, m_pParent.data());
    dialog.SetPorts(m_pSink, &widget, m_pChooser);
    m_pCurrent = &widget;
    widget.InitDialog();
    const bool accepted = widget.exec() == QDialog::Accepted;
    m_pCurrent = nullptr;
    dialog.SetPorts(m_pSink, nullptr, nullptr);
    if (accepted) TakeFromDialog(dialog, values);
    return accepted;
}
