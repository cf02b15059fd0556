#pragma once
// The sorted list of measured rows in the data-entry dialog. Adding puts a row
// at its place in ascending text order; inserting puts it exactly at an index.
// The window mirrors this list in a list widget; batch mode and the tests use
// it as it is.

#include <functional>
#include <string>
#include <vector>

class RowList {
public:
    int Count() const { return static_cast<int>(m_Rows.size()); }
    const std::string& Text(int index) const { return m_Rows.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& Rows() const { return m_Rows; }

    // Returns the index the row was put at.
    int AddSorted(const std::string& row);
    // An index of -1 (or past the end) appends the row, as a list box does.
    int InsertAt(int index, const std::string& row);
    // An index outside the list removes nothing and returns false.
    bool RemoveAt(int index);
    void Clear();

    // -1 when no row is selected.
    int Selection() const { return m_nSelection; }
    void SetSelection(int index);

    // Called after every change of rows or selection (the window's mirror).
    void SetChangeListener(std::function<void()> listener) { m_OnChange = std::move(listener); }

private:
    void Changed();

    std::vector<std::string> m_Rows;
    int m_nSelection = -1;
    std::function<void()> m_OnChange;
};
