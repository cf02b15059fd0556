#pragma once
// Runs the data-entry dialog widget modally over the engine's DlgInput: the
// window's data-entry runner for CMorvekDoc.

#include <QPointer>
#include <QWidget>

#include "case/DataEntryRunner.h"
#include "input/qt/QtFileChooser.h"

class DlgInputWidget;
class MessageSink;

class QtDataEntryRunner : public DataEntryRunner {
public:
    explicit QtDataEntryRunner(QWidget* parent) : m_pParent(parent) {}

    void SetMessageSink(MessageSink* sink) { m_pSink = sink; }
    // nullptr gives back the file dialog.
    void SetFileChooser(FileChooser* chooser) {
        m_pChooser = chooser != nullptr ? chooser : &m_OwnChooser;
    }
    // The dialog widget while it runs, otherwise nullptr.
    DlgInputWidget* Current() const { return m_pCurrent; }

    bool RunModal(DataEntryValues& values) override;

private:
    QPointer<QWidget> m_pParent;
    MessageSink* m_pSink = nullptr;
    QtFileChooser m_OwnChooser;
    FileChooser* m_pChooser = &m_OwnChooser;
    DlgInputWidget* m_pCurrent = nullptr;
};
