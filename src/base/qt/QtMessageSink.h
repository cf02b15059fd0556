#pragma once
// The window's message boxes: a message with OK, the Yes/No question of a run
// and the Yes/No/Cancel question before a modified case is dropped, with
// German button texts whatever translations Qt has installed.

#include <QPointer>
#include <QWidget>

#include "base/MessageSink.h"

class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : m_pParent(parent) {}
    void SetParent(QWidget* parent) { m_pParent = parent; }

    void Show(const std::string& text) override;
    void Warn(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    Answer AskYesNoCancel(const std::string& text) override;

private:
    // The active modal dialog (the data-entry dialog) owns a box shown while it
    // runs, otherwise the main window does.
    QWidget* Owner() const;

    QPointer<QWidget> m_pParent;
};
