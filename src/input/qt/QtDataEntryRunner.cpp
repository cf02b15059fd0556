#include "input/qt/QtDataEntryRunner.h"

#include "input/DlgInput.h"
#include "input/qt/DlgInputWidget.h"

bool QtDataEntryRunner::RunModal(DlgInput& dialog) {
    DlgInputWidget widget(dialog, m_pParent.data());
    dialog.SetPorts(m_pSink, &widget, m_pChooser);
    m_pCurrent = &widget;
    widget.InitDialog();
    const bool accepted = widget.exec() == QDialog::Accepted;
    m_pCurrent = nullptr;
    // The members stay with the case; the widgets go.
    dialog.SetPorts(m_pSink, nullptr, nullptr);
    return accepted;
}
