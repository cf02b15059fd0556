// Opening, replacing and cancelling a case in the document, without a window:
// the modified mark follows what differs from the file, a new case has no
// path, and results are dropped with the case they were computed from.

#include <gtest/gtest.h>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "support/ScriptedCase.h"
#include "support/TestSupport.h"

namespace {

class CaseLife : public ScriptedCase {
protected:
    std::string Copy(const std::string& name) {
        const std::string path = dir.File(name);
        WriteBytes(path, ReadBytes(SourcePath("examples/" + name)));
        return path;
    }
    TempDir dir;
};

}  // namespace

TEST_F(CaseLife, OpenMarksTheCaseWhenTheDialogChangedAnInput) {
    entry.SetScript([](DlgInput& d) {
        d.m_OOIP = 6000.0f;
        return true;
    });
    ASSERT_TRUE(doc.OnOpenDocument(Copy("nordfeld.mvk")));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CaseLife, OpenMarksTheCaseWhenTheDialogChangedTheRows) {
    entry.SetScript([](DlgInput& d) {
        d.m_Messwerte.pop_back();
        d.m_bMesswerteGeaendert = 1;
        return true;
    });
    ASSERT_TRUE(doc.OnOpenDocument(Copy("nordfeld.mvk")));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CaseLife, OpenWithoutAChangeLeavesTheCaseUnmarked) {
    ASSERT_TRUE(doc.OnOpenDocument(Copy("nordfeld.mvk")));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.m_Text.empty());
}

TEST_F(CaseLife, NewCaseHasNoPathEvenWhenItsDialogIsCancelled) {
    ASSERT_TRUE(doc.OnOpenDocument(Copy("nordfeld.mvk")));
    entry.SetScript([](DlgInput&) { return false; });
    ASSERT_TRUE(doc.OnFileNew());
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_EQ(doc.GetTitle(), "Morvek");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.m_Text.empty());
    EXPECT_EQ(doc.m_MaxWerte, 0);
}

TEST_F(CaseLife, OpenThenCancelDropsTheResultsOfTheCaseBefore) {
    ASSERT_TRUE(doc.OnOpenDocument(Copy("nordfeld.mvk")));
    ASSERT_GT(doc.m_MaxWerte, 0);
    entry.SetScript([](DlgInput&) { return false; });
    ASSERT_TRUE(doc.OnOpenDocument(Copy("gaskappe.mvk")));
    EXPECT_EQ(doc.m_Feldname, "Gaskappe");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.m_Text.empty());
    EXPECT_EQ(doc.m_MaxWerte, 0);
    EXPECT_EQ(doc.m_Max2Werte, 0);
    EXPECT_EQ(doc.m_Max3Werte, 0);
    EXPECT_EQ(doc.m_XWerte[1], 0.0f);
    EXPECT_EQ(doc.m_Mess2YWerte[0], 0.0f);
}
