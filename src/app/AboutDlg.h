#pragma once
// The about box "Info über morvek": the program's picture, its name and
// version, and an OK button.

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
