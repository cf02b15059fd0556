#pragma once
// Asks for the name of a case file to open or to save under. The window shows
// file dialogs with the case file filter; the tests answer from a script.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

class CaseFileDialogs {
public:
    virtual ~CaseFileDialogs() = default;
    virtual std::optional<QString> ChooseCaseToOpen(QWidget* parent) = 0;
    // suggestion: the name the dialog starts with.
    virtual std::optional<QString> ChooseCaseToSave(QWidget* parent, const QString& suggestion) = 0;
    // "Fälle vergleichen…": any number of case files; none when cancelled.
    virtual QStringList ChooseCasesToCompare(QWidget* parent) = 0;
    // "Exportieren…": the CSV file to write; a name without extension gets ".csv".
    virtual std::optional<QString> ChooseExportFile(QWidget* parent, const QString& suggestion) = 0;
};

class QtCaseFileDialogs : public CaseFileDialogs {
public:
    std::optional<QString> ChooseCaseToOpen(QWidget* parent) override;
    std::optional<QString> ChooseCaseToSave(QWidget* parent, const QString& suggestion) override;
    QStringList ChooseCasesToCompare(QWidget* parent) override;
    std::optional<QString> ChooseExportFile(QWidget* parent, const QString& suggestion) override;
};

// The filter of case files in every file dialog.
inline constexpr const char* kCaseFileFilter = "Dateityp Morvek (*.mvk)";
inline constexpr const char* kCaseFileExtension = "mvk";
