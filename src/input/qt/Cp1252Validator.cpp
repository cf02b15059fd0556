#include "input/qt/Cp1252Validator.h"

#include <QApplication>

#include "base/Cp1252.h"

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
    if (FitsCp1252(input.toStdString())) return Acceptable;
    QApplication::beep();
    return Invalid;
}
