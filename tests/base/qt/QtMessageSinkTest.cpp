// The window's message boxes: German buttons, the answer of the button
// pressed, and Escape as the safe answer.

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

#include "base/qt/QtMessageSink.h"
#include "support/GuiTestSupport.h"

namespace {

QStringList ButtonTexts(QWidget* modal) {
    QStringList texts;
    for (QAbstractButton* b : static_cast<QMessageBox*>(modal)->buttons()) texts << b->text();
    texts.sort();
    return texts;
}

// Presses the button with that text in the box that comes up next.
void Press(const QString& text, QStringList* seen) {
    WhenModal([text, seen](QWidget* modal) {
        *seen = ButtonTexts(modal);
        for (QAbstractButton* b : static_cast<QMessageBox*>(modal)->buttons())
            if (b->text() == text) b->click();
    });
}

}  // namespace

TEST(QtMessageSink, ShowsAMessageWithOkOnly) {
    QtMessageSink sink;
    QStringList buttons;
    QString text;
    WhenModal([&](QWidget* modal) {
        buttons = ButtonTexts(modal);
        text = static_cast<QMessageBox*>(modal)->text();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    sink.Show("Onlinehilfe nicht gefunden!");
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(text, QStringLiteral("Onlinehilfe nicht gefunden!"));
}

TEST(QtMessageSink, AsksYesNoWithGermanButtonsAndEscapeMeansNo) {
    QtMessageSink sink;
    QStringList buttons;
    Press(QStringLiteral("Ja"), &buttons);
    EXPECT_TRUE(sink.AskYesNo("Soll diese Zeile angehängt werden?\n1 2"));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")}));
    Press(QStringLiteral("Nein"), &buttons);
    EXPECT_FALSE(sink.AskYesNo("?"));
    WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_FALSE(sink.AskYesNo("?"));
}

TEST(QtMessageSink, AsksYesNoCancelAndTellsTheThreeAnswersApart) {
    QtMessageSink sink;
    QStringList buttons;
    Press(QStringLiteral("Nein"), &buttons);
    EXPECT_EQ(sink.AskYesNoCancel("Änderungen in Morvek speichern?"), Answer::No);
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Abbrechen"), QStringLiteral("Ja"),
                                    QStringLiteral("Nein")}));
    Press(QStringLiteral("Ja"), &buttons);
    EXPECT_EQ(sink.AskYesNoCancel("?"), Answer::Yes);
    WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(sink.AskYesNoCancel("?"), Answer::Cancel);
}

TEST(QtMessageSink, WarnsWithTheWarningIconAndOkOnly) {
    QtMessageSink sink;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModal([&](QWidget* modal) {
        buttons = ButtonTexts(modal);
        icon = static_cast<QMessageBox*>(modal)->icon();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    sink.Warn("Bitte eine Zahl eingeben: \"CO2\".");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
}
