#pragma once
// The main window on a case, with every port scripted: message boxes, the
// file-name dialogs and the measured-data chooser answer from the test, the
// settings live in a private folder. The data-entry dialog is the real widget;
// a test queues what the user types into it before the command that opens it.

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>

#include "app/CaseFileDialogs.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "case/MorvekDoc.h"
#include "input/qt/DlgInputWidget.h"
#include "support/GuiTestSupport.h"
#include "support/ScriptedMessageSink.h"
#include "support/TestSupport.h"

class ScriptedCaseFileDialogs : public CaseFileDialogs {
public:
    std::optional<QString> ChooseCaseToOpen(QWidget*) override { return Next(); }
    std::optional<QString> ChooseCaseToSave(QWidget*, const QString& suggestion) override {
        suggestions.push_back(suggestion);
        return Next();
    }
    QStringList ChooseCasesToCompare(QWidget*) override { return compared; }
    std::optional<QString> ChooseExportFile(QWidget*, const QString& suggestion) override {
        suggestions.push_back(suggestion);
        return Next();
    }
    // An empty path stands for Abbrechen.
    void Answer(const QString& path) { m_Answers.append(path); }
    std::vector<QString> suggestions;
    QStringList compared;

private:
    std::optional<QString> Next() {
        if (m_Answers.isEmpty()) return std::nullopt;
        const QString answer = m_Answers.takeFirst();
        if (answer.isEmpty()) return std::nullopt;
        return answer;
    }
    QStringList m_Answers;
};

struct Window {
    Window() : settings(QString::fromStdString(dir.File("morvek.conf")), QSettings::IniFormat) {
        frame = std::make_unique<CMainFrame>(doc, settings);
        frame->SetMessageSink(&sink);
        frame->SetCaseFileDialogs(&files);
        doc.OnNewDocument();
        frame->UpdateCommandUI();
        frame->show();
        // The window's own activation must be over before a dialog comes up
        // over it, or it would take the focus from the dialog.
        static_cast<void>(Activate(frame.get()));
    }

    QAction* Command(int id) const { return frame->Action(id); }
    void Run(int id) const { Command(id)->trigger(); }

    // The next data-entry dialog gets these keystrokes, then OK (or Escape).
    using Typing = std::function<void(DlgInputWidget&)>;
    void NextDialog(Typing typing, bool ok = true) {
        WhenModal([typing, ok](QWidget* modal) {
            auto* dialog = qobject_cast<DlgInputWidget*>(modal);
            ASSERT_NE(dialog, nullptr);
            typing(*dialog);
            if (ok)
                QTest::mouseClick(dialog->Button(DlgInputWidget::kOkButton), Qt::LeftButton);
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
    }
    void NextDialogOk() {
        NextDialog([](DlgInputWidget&) {});
    }

    std::string Path(const std::string& name) const { return dir.File(name); }

    TempDir dir;
    QSettings settings;
    CMorvekDoc doc;
    ScriptedMessageSink sink;
    ScriptedCaseFileDialogs files;
    std::unique_ptr<CMainFrame> frame;
};

// Types over a field's content, as a user who clicked into it would.
inline void TypeInto(DlgInputWidget& dialog, int controlId, const QString& text) {
    QLineEdit* edit = dialog.Edit(controlId);
    ASSERT_TRUE(dialog.isActiveWindow()) << "typing into a window without the focus";
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    TypeText(edit, text);
}

// The Nordfeld case as a new user types it into the dialog of a new case:
// oil in place and bubble point first, since every reading of the form stops
// at them while they are still 0.
inline void TypeNordfeld(DlgInputWidget& d) {
    const std::pair<int, const char*> fields[] = {
        {1019, "5000"}, {1021, "200"},  {1020, "250"}, {1018, "80"},  {1022, "35"},
        {1023, "0.2"},  {1024, "0.05"}, {1025, "0.8"}, {1026, "0.6"}, {1001, "Nordfeld"},
        {1005, "82"},   {1006, "7"},    {1007, "4"},   {1008, "1"},   {1009, "1.5"},
        {1010, "0.5"},  {1011, "0.5"},  {1012, "0.5"}, {1013, "0.3"}, {1004, "1"},
        {1003, "1.7"},
    };
    for (auto [id, text] : fields) TypeInto(d, id, QString::fromLatin1(text));
}
