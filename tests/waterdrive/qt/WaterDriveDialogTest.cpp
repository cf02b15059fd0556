// The water-drive dialog as a user drives it: the history grid shows the
// case's history and reads a file into it, the regression runs on its own
// thread, "Übernehmen" gives the case the fitted oil in place, a bad cell is
// refused with a message and changes nothing, "Verwerfen" leaves the case
// alone.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "ExampleCases.h"
#include "ScriptedMessageSink.h"
#include "case/MorvekDoc.h"
#include "input/FileChooser.h"
#include "match/qt/DiagnosticGraphWindow.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"
#include "waterdrive/qt/WaterDriveDialog.h"

namespace {

class ScriptedChooser : public FileChooser {
public:
    std::optional<std::string> answer;
    std::optional<std::string> ChooseFileToOpen(const std::string&, const std::string&) override {
        return answer;
    }
};

struct Case {
    ScriptedMessageSink sink;
    CMorvekDoc doc;
    ScriptedChooser chooser;
    Case() {
        FillDake1978(doc);
        doc.SetMessageSink(&sink);
    }
};

bool Finishes(const WaterDriveDialog& dialog) {
    return QTest::qWaitFor([&] { return !dialog.Running(); }, 60000);
}

TEST(WaterDriveDialog, FitsOnItsThreadAndTheCaseTakesTheOilInPlace) {
    Case c;
    WaterDriveDialog dialog(c.doc, c.chooser);
    EXPECT_EQ(dialog.HistoryGrid()->rowCount(), 11);
    EXPECT_EQ(dialog.HistoryGrid()->item(10, 0)->text(), "3650");
    EXPECT_EQ(dialog.ModelBox()->currentIndex(), 4);
    EXPECT_EQ(dialog.AquiferEdit("aquifer_angle_deg")->text(), "140");
    ASSERT_TRUE(dialog.FitCheck("ooip_1000m3")->isChecked());

    QTest::mouseClick(dialog.StartButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.Running());
    ASSERT_TRUE(Finishes(dialog));
    ASSERT_TRUE(dialog.Result());
    ASSERT_TRUE(dialog.Result()->Converged()) << dialog.Result()->message;
    const double n = dialog.Result()->inputs[0].stored;
    EXPECT_NEAR(n / (312e6 * 0.158987294928 / 1000), 1.0, 0.01);
    EXPECT_NE(dialog.Details()->toPlainText().indexOf("Materialbilanz mit Wasserzufluß"), -1);

    ASSERT_TRUE(dialog.ShowGraphs());
    ASSERT_NE(dialog.GraphWindow(), nullptr);
    EXPECT_EQ(dialog.GraphWindow()->PageCount(), 3);

    EXPECT_FALSE(c.doc.IsModified());
    // "Übernehmen" is a step the window's "Rückgängig" takes back whole.
    std::vector<std::string> steps;
    morvek::CaseInputs stateBefore;
    c.doc.SetChangeListener([&](const CaseState& b, const CaseState&, const std::string& what) {
        steps.push_back(what);
        stateBefore = b.inputs;
    });
    const morvek::CaseInputs unfitted = c.doc.m_Inputs;
    ASSERT_TRUE(dialog.Apply());
    EXPECT_FLOAT_EQ(c.doc.m_OOIP, static_cast<float>(n));
    EXPECT_TRUE(c.doc.IsModified());
    EXPECT_EQ(steps, std::vector<std::string>{"Materialbilanz übernehmen"});
    EXPECT_TRUE(stateBefore == unfitted);
    EXPECT_TRUE(c.sink.Texts().empty());
}

TEST(WaterDriveDialog, TheModelGreysWhatItDoesNotUseAndFitsOnlyWhatItUses) {
    Case c;
    WaterDriveDialog dialog(c.doc, c.chooser);
    auto enabled = [&](const char* name) { return dialog.AquiferEdit(name)->isEnabled(); };
    // van Everdingen-Hurst, radial: no length and width.
    EXPECT_TRUE(enabled("aquifer_radius_m"));
    EXPECT_TRUE(enabled("aquifer_permeability_md"));
    EXPECT_FALSE(enabled("aquifer_length_m"));
    EXPECT_FALSE(enabled("aquifer_width_m"));
    EXPECT_TRUE(dialog.FitCheck("aquifer_radius_m")->isEnabled());
    // Linear: no radii and no angle, and no radius to fit.
    dialog.ModelBox()->setCurrentIndex(3);
    EXPECT_FALSE(enabled("reservoir_radius_m"));
    EXPECT_FALSE(enabled("aquifer_radius_m"));
    EXPECT_FALSE(enabled("aquifer_angle_deg"));
    EXPECT_TRUE(enabled("aquifer_length_m"));
    EXPECT_FALSE(dialog.FitCheck("aquifer_radius_m")->isEnabled());
    EXPECT_TRUE(dialog.FitCheck("aquifer_permeability_md")->isEnabled());
    // Pot: no flow.
    dialog.ModelBox()->setCurrentIndex(1);
    EXPECT_FALSE(enabled("aquifer_permeability_md"));
    EXPECT_FALSE(enabled("water_viscosity_cp"));
    EXPECT_TRUE(enabled("aquifer_radius_m"));
    // No aquifer: nothing of it, the oil in place still; a greyed check
    // that stays checked is not fitted.
    dialog.FitCheck("aquifer_radius_m")->setChecked(true);
    dialog.ModelBox()->setCurrentIndex(0);
    for (const char* name : {"aquifer_constant_m3_per_bar", "aquifer_thickness_m",
                             "aquifer_compressibility_per_bar"})
        EXPECT_FALSE(enabled(name)) << name;
    EXPECT_FALSE(dialog.FitCheck("aquifer_radius_m")->isEnabled());
    EXPECT_TRUE(dialog.FitCheck("ooip_1000m3")->isEnabled());
    QTest::mouseClick(dialog.StartButton(), Qt::LeftButton);
    ASSERT_TRUE(Finishes(dialog));
    ASSERT_TRUE(dialog.Result());
    ASSERT_TRUE(dialog.Result()->Converged()) << dialog.Result()->message;
    ASSERT_EQ(dialog.Result()->inputs.size(), 1u);
    EXPECT_EQ(dialog.Result()->inputs[0].name, "ooip_1000m3");
    // Back to the case's model: its inputs as they were.
    dialog.ModelBox()->setCurrentIndex(4);
    EXPECT_TRUE(enabled("aquifer_radius_m"));
    EXPECT_TRUE(dialog.FitCheck("aquifer_radius_m")->isEnabled());
    EXPECT_TRUE(c.sink.Texts().empty());
}

TEST(WaterDriveDialog, CancelStopsTheFitAndVerwerfenLeavesTheCaseAlone) {
    Case c;
    const morvek::CaseInputs before = c.doc.m_Inputs;
    WaterDriveDialog dialog(c.doc, c.chooser);
    dialog.FitCheck("aquifer_radius_m")->setChecked(true);
    ASSERT_TRUE(dialog.Start());
    EXPECT_TRUE(dialog.CancelButton()->isEnabled());
    EXPECT_FALSE(dialog.StartButton()->isEnabled());
    EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
    EXPECT_FALSE(dialog.Start());  // one fit at a time
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    ASSERT_TRUE(Finishes(dialog));
    ASSERT_TRUE(dialog.Result());
    EXPECT_EQ(dialog.Result()->status, morvek::MatchStatus::Cancelled);
    EXPECT_TRUE(dialog.ProgressLine()->text().contains("abgebrochen")) << dialog.ProgressLine()->text().toStdString();
    EXPECT_TRUE(dialog.StartButton()->isEnabled());
    EXPECT_FALSE(dialog.CancelButton()->isEnabled());
    // The fields keep what was entered, not a value of the cancelled fit.
    ASSERT_TRUE(dialog.ReadInputs());
    EXPECT_TRUE(dialog.Working() == before);

    // A fit that converges, then "Verwerfen": the case stays as it was.
    ASSERT_TRUE(dialog.Start());
    ASSERT_TRUE(Finishes(dialog));
    ASSERT_TRUE(dialog.Result()->Converged()) << dialog.Result()->message;
    EXPECT_TRUE(dialog.ProgressLine()->text().startsWith("Konvergiert nach"));
    EXPECT_NE(dialog.Working().aquiferRadiusM, before.aquiferRadiusM);
    dialog.reject();
    EXPECT_TRUE(c.doc.m_Inputs == before);
    EXPECT_FALSE(c.doc.IsModified());
}

TEST(WaterDriveDialog, ABadCellIsRefusedAndTheCaseStaysAsItWas) {
    Case c;
    const morvek::CaseInputs before = c.doc.m_Inputs;
    WaterDriveDialog dialog(c.doc, c.chooser);
    dialog.HistoryGrid()->item(3, 2)->setText("12,5,0");
    EXPECT_FALSE(dialog.Apply());
    ASSERT_EQ(c.sink.Texts().size(), 1u);
    EXPECT_NE(c.sink.Texts()[0].find("Zeile 4"), std::string::npos) << c.sink.Texts()[0];
    EXPECT_NE(c.sink.Texts()[0].find("Dezimalkomma oder Dezimalpunkt"), std::string::npos);
    // A refusal is an error: the warning icon.
    EXPECT_TRUE(c.sink.Log()[0].warning);
    // A cumulative that falls is refused with its row.
    dialog.HistoryGrid()->item(3, 2)->setText("1");
    EXPECT_FALSE(dialog.Apply());
    EXPECT_NE(c.sink.Texts().back().find("Zeile 4: Die kumulative Ölförderung fällt"),
              std::string::npos)
        << c.sink.Texts().back();
    EXPECT_TRUE(c.sink.Log().back().warning);
    dialog.reject();
    EXPECT_TRUE(c.doc.m_Inputs == before);
}

TEST(WaterDriveDialog, ReadsAHistoryFileIntoTheGrid) {
    Case c;
    c.doc.m_Inputs.history.reset();
    WaterDriveDialog dialog(c.doc, c.chooser);
    EXPECT_EQ(dialog.HistoryGrid()->rowCount(), 0);
    c.chooser.answer = SourcePath("examples/dake1978-historie.txt");
    ASSERT_TRUE(dialog.ReadHistoryFile());
    EXPECT_EQ(dialog.HistoryGrid()->rowCount(), 11);
    c.chooser.answer.reset();
    EXPECT_FALSE(dialog.ReadHistoryFile());  // cancelled: nothing happens
    EXPECT_EQ(dialog.HistoryGrid()->rowCount(), 11);
    EXPECT_FALSE(c.doc.m_Inputs.history.has_value());  // until "Übernehmen"
}

TEST(WaterDriveDialog, WhatIsLeftAsShownKeepsEveryDigit) {
    // The grid and the fields show six digits; a value left as shown is not
    // rounded to them (188.9163 bar, 1.0152642e-4 1/bar).
    Case c;
    const morvek::CaseInputs before = c.doc.m_Inputs;
    WaterDriveDialog dialog(c.doc, c.chooser);
    EXPECT_EQ(dialog.HistoryGrid()->item(0, 1)->text(), "188.916");
    ASSERT_TRUE(dialog.ReadInputs());
    EXPECT_TRUE(dialog.Working() == before);
    // A value typed anew is taken as typed.
    dialog.AquiferEdit("aquifer_angle_deg")->setText("180");
    ASSERT_TRUE(dialog.ReadInputs());
    EXPECT_EQ(dialog.Working().aquiferAngleDeg, 180.0f);
    // With a decimal comma as well, in a field and in a cell of the grid.
    dialog.AquiferEdit("aquifer_angle_deg")->setText("180,5");
    dialog.HistoryGrid()->item(0, 1)->setText("188,5");
    ASSERT_TRUE(dialog.ReadInputs());
    EXPECT_EQ(dialog.Working().aquiferAngleDeg, 180.5f);
    ASSERT_TRUE(dialog.Working().history);
    EXPECT_EQ(dialog.Working().history->rows[0].pressureBar, 188.5f);
    EXPECT_TRUE(c.sink.Texts().empty());
    EXPECT_EQ(dialog.Working().aquiferCompressibilityPerBar, before.aquiferCompressibilityPerBar);
}

}  // namespace
