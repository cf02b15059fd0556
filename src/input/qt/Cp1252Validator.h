#pragma once
// Refuses, as it is typed or pasted, any character that code page 1252
// cannot hold: names and rows are saved in that code page, and a character
// lost on saving would silently change the case. The refusal is not silent:
// the owner is told which character was refused, once the keystroke is over.

#include <QValidator>
#include <functional>
#include <string>
#include <vector>

class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    // Called with the refused character (UTF-8) after the event that brought
    // it has been handled, so that a message box does not interrupt typing.
    using Refused = std::function<void(const std::string& character)>;

    explicit Cp1252Validator(QObject* parent, Refused refused = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    Refused m_Refused;
    // Refusals not yet told, in the order they came.
    mutable std::vector<std::string> m_Pending;
};
