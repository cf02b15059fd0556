#include "base/qt/QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

// The application title stands in the caption of every box.
constexpr const char* kCaption = "morvek";

QMessageBox::StandardButton Run(QWidget* owner, QMessageBox::Icon icon, const std::string& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton escapeButton) {
    QMessageBox box(icon, QString::fromLatin1(kCaption), QString::fromStdString(text), buttons,
                    owner);
    box.setTextFormat(Qt::PlainText);
    if (QAbstractButton* b = box.button(QMessageBox::Ok)) b->setText(QStringLiteral("OK"));
    if (QAbstractButton* b = box.button(QMessageBox::Yes)) b->setText(QStringLiteral("Ja"));
    if (QAbstractButton* b = box.button(QMessageBox::No)) b->setText(QStringLiteral("Nein"));
    if (QAbstractButton* b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Abbrechen"));
    box.setEscapeButton(escapeButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

QWidget* QtMessageSink::Owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return m_pParent.data();
}

void QtMessageSink::Show(const std::string& text) {
    Run(Owner(), QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtMessageSink::Warn(const std::string& text) {
    Run(Owner(), QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageSink::AskYesNo(const std::string& text) {
    // Escape or closing the box answers No: a question acts only on Yes.
    return Run(Owner(), QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No) == QMessageBox::Yes;
}

Answer QtMessageSink::AskYesNoCancel(const std::string& text) {
    switch (Run(Owner(), QMessageBox::Question, text,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}
