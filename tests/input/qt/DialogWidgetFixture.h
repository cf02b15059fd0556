#pragma once
// The data-entry dialog widget shown on a case's dialog members, with the
// message boxes and the file chooser scripted, and the few gestures the tests
// make: typing into a field, leaving it, clicking a button.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "input/DialogTestSupport.h"
#include "input/qt/DlgInputWidget.h"
#include "support/GuiTestSupport.h"

struct ShownDialog {
    explicit ShownDialog(StartCase start = StartCase::Nordfeld,
                         std::optional<std::string> chosenFile = std::nullopt)
        : chooser(std::move(chosenFile)) {
        if (start == StartCase::New)
            doc.OnNewDocument();
        else
            FillNordfeld(doc);
        dialog = DialogFilledFrom(doc);
        widget = std::make_unique<DlgInputWidget>(dialog);
        dialog.SetPorts(&sink, widget.get(), &chooser);
        widget->InitDialog();
        widget->show();
        static_cast<void>(Activate(widget.get()));
    }
    ~ShownDialog() { dialog.SetPorts(nullptr, nullptr, nullptr); }

    QLineEdit* Edit(int id) const { return widget->Edit(id); }
    QString Shown(int id) const {
        if (QLineEdit* e = widget->Edit(id)) return e->text();
        return widget->Static(id)->text();
    }
    // Puts the cursor into the field and types the text over its content.
    void Type(int id, const QString& text) {
        QLineEdit* edit = Edit(id);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        TypeText(edit, text);
    }
    // Leaves the field with the focus, as a click elsewhere would.
    void Leave(int id) {
        QWidget* elsewhere = widget->Edit(ctl::kFeldname);
        if (elsewhere == Edit(id)) elsewhere = widget->Edit(ctl::kOOIP);
        elsewhere->setFocus(Qt::MouseFocusReason);
    }
    void Click(int id) { QTest::mouseClick(widget->Button(id), Qt::LeftButton); }

    CMorvekDoc doc;
    DlgInput dialog;
    ScriptedMessageSink sink;
    ScriptedFileChooser chooser;
    std::unique_ptr<DlgInputWidget> widget;
};
