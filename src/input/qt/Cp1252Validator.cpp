#include "input/qt/Cp1252Validator.h"

#include <QApplication>
#include <QTimer>

#include "base/Cp1252.h"

Cp1252Validator::Cp1252Validator(QObject* parent, Refused refused)
    : QValidator(parent), m_Refused(std::move(refused)) {}

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
    const std::string text = input.toStdString();
    if (FitsCp1252(text)) return Acceptable;
    QApplication::beep();
    if (m_Refused) {
        m_Pending.push_back(FirstUnstorableCharacter(text));
        if (m_Pending.size() == 1) {
            QTimer::singleShot(0, this, [this] {
                const std::vector<std::string> refused = std::move(m_Pending);
                m_Pending.clear();
                for (const std::string& character : refused) m_Refused(character);
            });
        }
    }
    return Invalid;
}
