#include "input/RowList.h"

#include <algorithm>
#include <cctype>

namespace {

// List boxes sort without regard to letter case.
bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) <
                   std::tolower(static_cast<unsigned char>(y));
        });
}

}  // namespace

int RowList::AddSorted(const std::string& row) {
    auto pos = std::upper_bound(m_Rows.begin(), m_Rows.end(), row, LessIgnoringCase);
    int index = static_cast<int>(pos - m_Rows.begin());
    m_Rows.insert(pos, row);
    if (m_nSelection >= index) ++m_nSelection;
    Changed();
    return index;
}

int RowList::InsertAt(int index, const std::string& row) {
    if (index < 0 || index > Count()) index = Count();
    m_Rows.insert(m_Rows.begin() + index, row);
    if (m_nSelection >= index) ++m_nSelection;
    Changed();
    return index;
}

bool RowList::RemoveAt(int index) {
    if (index < 0 || index >= Count()) return false;
    m_Rows.erase(m_Rows.begin() + index);
    if (m_nSelection == index) {
        m_nSelection = -1;
    } else if (m_nSelection > index) {
        --m_nSelection;
    }
    Changed();
    return true;
}

void RowList::Clear() {
    m_Rows.clear();
    m_nSelection = -1;
    Changed();
}

void RowList::SetSelection(int index) {
    m_nSelection = (index >= 0 && index < Count()) ? index : -1;
    Changed();
}

void RowList::Changed() {
    if (m_OnChange) m_OnChange();
}
