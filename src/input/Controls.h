#pragma once
// The data-entry dialog's view of its widgets: the texts of the edits and
// static fields, the checked button of a radio group, the check boxes and the
// input focus, all addressed by control id. The dialog widget implements it;
// the tests use a map; batch mode has no controls at all.

#include <string>

class Controls {
public:
    virtual ~Controls() = default;

    // Text of an edit or static field, UTF-8.
    virtual std::string Text(int controlId) const = 0;
    virtual void SetText(int controlId, const std::string& text) = 0;

    // A radio group is named by the id of its first button; the index counts
    // from 0 in the group's order, -1 when no button is checked.
    virtual int CheckedRadio(int firstControlId) const = 0;
    virtual void SetCheckedRadio(int firstControlId, int index) = 0;

    virtual bool IsChecked(int controlId) const = 0;
    virtual void SetChecked(int controlId, bool checked) = 0;

    // True where numbers may be typed with a decimal comma ("0,25"): the
    // window's dialog. Files and the command line keep the decimal point.
    virtual bool TakesDecimalComma() const { return false; }

    virtual void SetFocus(int controlId) = 0;
    // Moves the focus on to the next control of the dialog's tab order.
    virtual void FocusNextControl() = 0;
};
