#pragma once
// Refuses, as it is typed or pasted, any character that code page 1252
// cannot hold: names and rows are saved in that code page, and a character
// lost on saving would silently change the case.

#include <QValidator>

class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
