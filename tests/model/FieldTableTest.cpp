// The field table: one row per input, names unique, the case file's positions
// and the dialog's controls each used once, every field reaching its own
// member, and the glossary in docs/engine.md saying what the table says.

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "TestSupport.h"
#include "model/CaseFile.h"
#include "model/FieldTable.h"

namespace {

using morvek::Field;
using morvek::FieldKind;

TEST(FieldTable, NamesPositionsAndControlsAreEachUsedOnce) {
    std::set<std::string> names;
    std::set<int> positions, controls, orders;
    std::set<std::pair<int, int>> blockPlaces;
    for (const Field& f : morvek::FieldTable()) {
        EXPECT_TRUE(names.insert(f.recordName).second) << f.recordName;
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        // In the record or in an item of the optional block, never both.
        EXPECT_NE(f.filePosition >= 0, f.blockItem != morvek::kNoBlockItem) << f.recordName;
        if (f.filePosition >= 0)
            EXPECT_TRUE(positions.insert(f.filePosition).second) << f.recordName;
        else
            EXPECT_TRUE(blockPlaces.insert({f.blockItem, f.blockSlot}).second) << f.recordName;
        // Inputs of other dialogs (the aquifer's, the forecast's) have no
        // control in the data-entry dialog.
        if (f.controlId != 0) {
            EXPECT_TRUE(controls.insert(f.controlId).second) << f.recordName;
            EXPECT_TRUE(orders.insert(f.dialogOrder).second) << f.recordName;
        }
        EXPECT_EQ(morvek::FindField(f.recordName), &f);
        EXPECT_EQ(morvek::FindField(f.name), &f);
        if (f.bounded) {
            EXPECT_LT(f.min, f.max) << f.recordName;
        }
    }
    // The case file's record has no gaps.
    EXPECT_EQ(*positions.begin(), 0);
    EXPECT_EQ(*positions.rbegin(), static_cast<int>(positions.size()) - 1);
}

bool SameField(const Field& f, const morvek::CaseInputs& a, const morvek::CaseInputs& b) {
    switch (f.kind) {
        case FieldKind::Number:
            return f.Number(a) == f.Number(b);
        case FieldKind::Text:
            return a.*f.text == b.*f.text;
        case FieldKind::Choice:
            return a.*f.choice == b.*f.choice;
    }
    return false;
}

// Writing a distinct value through each field changes exactly that field, and
// the case file carries it there and back.
TEST(FieldTable, EveryFieldReachesItsOwnMemberAndTheCaseFile) {
    for (const Field& f : morvek::FieldTable()) {
        SCOPED_TRACE(f.recordName);
        const morvek::CaseInputs before;
        morvek::CaseInputs changed = before;
        switch (f.kind) {
            case FieldKind::Number:
                f.Number(changed) = 0.625f;
                break;
            case FieldKind::Text:
                changed.*f.text = "Süd";
                break;
            case FieldKind::Choice:
                changed.*f.choice = f.choiceCount - 1;
                break;
        }
        for (const Field& other : morvek::FieldTable())
            EXPECT_EQ(SameField(other, before, changed), &other != &f) << other.recordName;
        std::string bytes, problem;
        ASSERT_TRUE(EncodeCaseFile(changed, bytes, problem)) << problem;
        morvek::CaseInputs read;
        ASSERT_TRUE(DecodeCaseFile(bytes, read));
        EXPECT_TRUE(read == changed);
    }
}

// docs/engine.md lists every field as "| `m_OOIP` | `ooip_1000m3` | unit | range |".
TEST(FieldTable, TheGlossaryInTheDocsListsEveryField) {
    std::istringstream doc(ReadBytes(SourcePath("docs/engine.md")));
    std::vector<std::string> rows;
    std::string line;
    while (std::getline(doc, line))
        if (line.rfind("| `m_", 0) == 0) rows.push_back(line);
    ASSERT_EQ(rows.size(), morvek::FieldTable().size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const Field& f = morvek::FieldTable()[i];
        const std::string start =
            std::string("| `") + f.recordName + "` | `" + f.name + "` | " + f.Caption() + " | ";
        EXPECT_EQ(rows[i].substr(0, start.size()), start) << rows[i];
        EXPECT_NE(rows[i].find(std::string("| ") + (f.unit[0] ? f.unit : "–") + " |"),
                  std::string::npos)
            << rows[i];
    }
}

}  // namespace
