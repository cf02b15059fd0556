#pragma once
// The file dialog every "speichern" and "exportieren" button asks with.

#include <QFileDialog>
#include <QString>

// The file the user chose to save to, or "" when the dialog was cancelled;
// a name typed without an extension takes the suffix.
inline QString AskSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& suffix) {
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}
