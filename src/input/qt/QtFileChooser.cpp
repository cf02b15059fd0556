#include "input/qt/QtFileChooser.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>

std::optional<std::string> QtFileChooser::ChooseFileToOpen(const std::string& defaultExtension,
                                                           const std::string& initialName) {
    const QString pattern = QString::fromStdString(initialName);
    QStringList filters;
    filters << QStringLiteral("%1 (%2 %3)").arg(pattern, pattern, pattern.toLower())
            << QStringLiteral("%1 (*)").arg(QString::fromStdString(defaultExtension));
    QFileDialog dialog(QApplication::activeModalWidget(), QStringLiteral("Öffnen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}
