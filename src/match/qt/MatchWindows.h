#pragma once
// The main window's commands of the history match: "Bearbeiten" >
// "Anpassung an Meßwerte..." opens the match dialog; "Ansicht" >
// "Havlena-Odeh" and "Antriebsindizes" show the diagnostic graphs of the case
// in a window each, which follow the case when it is computed anew.

#include <QObject>
#include <QPointer>
#include <optional>

#include "match/qt/DiagnosticGraphWindow.h"
#include "match/qt/MatchDialog.h"

class CMorvekDoc;

class MatchWindows : public QObject {
    Q_OBJECT
public:
    // frame: the main window, parent of the dialog and the graph windows.
    MatchWindows(CMorvekDoc& doc, QWidget* frame);

    void OnAnpassung();
    void OnHavlenaOdeh();
    void OnAntriebsindizes();

    // The open windows (nullptr when closed or never opened), for the tests.
    MatchDialog* Dialog() const { return m_pDialog; }
    DiagnosticGraphWindow* HavlenaOdehWindow() const { return m_pHavlenaOdeh; }
    DiagnosticGraphWindow* DriveIndexWindow() const { return m_pDriveIndices; }
    // The result of the last match run in the dialog (for the overview).
    const std::optional<morvek::MatchResult>& LastResult() const { return m_LastResult; }

private:
    // Fills the open graph windows from the case; false (with the message
    // shown) when the case has no computed prediction or no rows to show.
    bool FillHavlenaOdeh(bool tell);
    bool FillDriveIndices(bool tell);

    CMorvekDoc& m_Doc;
    QWidget* m_pFrame;
    QPointer<MatchDialog> m_pDialog;
    QPointer<DiagnosticGraphWindow> m_pHavlenaOdeh;
    QPointer<DiagnosticGraphWindow> m_pDriveIndices;
    std::optional<morvek::MatchResult> m_LastResult;
};
