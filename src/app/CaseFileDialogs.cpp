#include "app/CaseFileDialogs.h"

#include <QFileDialog>

std::optional<QString> QtCaseFileDialogs::ChooseCaseToOpen(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Öffnen"), QString(),
                       QString::fromUtf8(kCaseFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtCaseFileDialogs::ChooseCaseToSave(QWidget* parent,
                                                           const QString& suggestion) {
    QFileDialog dialog(parent, QStringLiteral("Speichern unter"), suggestion,
                       QString::fromUtf8(kCaseFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without extension still becomes a case file.
    dialog.setDefaultSuffix(QString::fromLatin1(kCaseFileExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

QStringList QtCaseFileDialogs::ChooseCasesToCompare(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Fälle vergleichen"), QString(),
                       QString::fromUtf8(kCaseFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

std::optional<QString> QtCaseFileDialogs::ChooseExportFile(QWidget* parent,
                                                           const QString& suggestion) {
    QFileDialog dialog(parent, QStringLiteral("Exportieren"), suggestion,
                       QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}
