#pragma once
// The results overview in the main window ("Ansicht" > "Übersicht"): the
// overview's lines in a table, an abandonment pressure to evaluate the
// prediction at, and "In die Zwischenablage kopieren" (also Strg+C), which
// puts the table as tab-separated text with decimal commas on the clipboard.

#include <QWidget>
#include <functional>
#include <vector>

#include "app/ResultsOverview.h"

class MessageSink;
class QLineEdit;
class QPushButton;
class QTableWidget;

class OverviewWidget : public QWidget {
    Q_OBJECT
public:
    // lines: the overview for an abandonment pressure (0: none).
    using Source = std::function<std::vector<OverviewLine>(float abandonmentBar)>;
    // messages: where a refused abandonment pressure is told (the window's
    // sink of the moment).
    OverviewWidget(Source source, std::function<MessageSink&()> messages,
                   QWidget* parent = nullptr);

    // Fills the table anew from the source.
    void Refresh();
    // Puts the table on the clipboard.
    void CopyToClipboard();

    const std::vector<OverviewLine>& Lines() const { return m_Lines; }
    QTableWidget* Table() const { return m_pTable; }
    QLineEdit* AbandonmentEdit() const { return m_pAbandon; }
    QPushButton* CopyButton() const { return m_pCopy; }
    // The abandonment pressure the overview shows, 0 for none.
    float AbandonmentBar() const { return m_fAbandon; }

private:
    void TakeAbandonment();

    Source m_Source;
    std::function<MessageSink&()> m_Messages;
    QTableWidget* m_pTable = nullptr;
    QLineEdit* m_pAbandon = nullptr;
    QPushButton* m_pCopy = nullptr;
    std::vector<OverviewLine> m_Lines;
    float m_fAbandon = 0;
};
