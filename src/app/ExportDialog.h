#pragma once
// "Datei" > "Exportieren…": which table goes into the CSV file (the graph's
// curves, the prediction step by step, the overview, the samples of the last
// uncertainty run) and with which decimal sign: a comma for a German
// spreadsheet (the default) or a point.

#include <QDialog>
#include <map>

class QRadioButton;

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    enum class What { Curves, Steps, Overview, Samples };

    // steps, samples: whether the case has a prediction step table and the
    // window the samples of an uncertainty run (otherwise greyed).
    ExportDialog(bool steps, bool samples, QWidget* parent = nullptr);

    What Choice() const;
    bool DecimalComma() const;
    QRadioButton* Button(What what) const { return m_What.at(what); }
    QRadioButton* CommaButton() const { return m_pComma; }
    QRadioButton* PointButton() const { return m_pPoint; }

private:
    std::map<What, QRadioButton*> m_What;
    QRadioButton* m_pComma = nullptr;
    QRadioButton* m_pPoint = nullptr;
};
