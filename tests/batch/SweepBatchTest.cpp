// Uncertainty runs in batch mode as a script uses them: each CSV line is what
// a batch run of that sample alone gives, the CSV does not depend on the
// number of threads, a bad command line is refused before anything runs, and
// a failed write keeps the earlier file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <sstream>

#include "ScriptedMessageSink.h"
#include "TestSupport.h"
#include "batch/BatchPorts.h"
#include "case/MorvekDoc.h"
#include "input/CaseSetting.h"

namespace {

const std::string kNordfeld = SourcePath("examples/nordfeld.mvk");

// Four uncertain inputs of Nordfeld; initial pressures below the bubble point
// (200 bar) and the measured shut-in pressures fail the dialog's checks.
const std::vector<std::string> kVaried = {"m_OOIP=4000:6000", "m_Initialdruck=190:260",
                                          "m_Sgc=0.02:0.05:0.12", "m_KrgMax=0.4:0.8"};

std::vector<std::string> SweepArgs(const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"--batch", kNordfeld, "--answer", "nein"};
    for (const std::string& v : kVaried) args.insert(args.end(), {"--vary", v});
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ';')) out.push_back(field);
    if (!line.empty() && line.back() == ';') out.push_back("");
    return out;
}

double Number(const std::string& text) {
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_TRUE(r.ec == std::errc() && r.ptr == text.data() + text.size()) << text;
    return v;
}

// A batch run of the case with the assignments, in process and through the
// same steps as the program (load, --set, the dialog's checks with their
// questions answered, the run).
struct SingleRun {
    bool accepted = false;
    std::string report;
    std::vector<double> outcomes;  // as the CSV columns, abandonment at 50 bar
};

SingleRun RunAlone(const std::vector<std::string>& settings, bool answerYes) {
    std::ostringstream err;
    BatchMessageSink sink(err, answerYes);
    BatchDataEntryRunner runner(sink);
    CMorvekDoc doc;
    doc.SetMessageSink(&sink);
    doc.SetDataEntryRunner(&runner);
    doc.OnNewDocument();
    EXPECT_TRUE(doc.ReadCaseFile(kNordfeld));
    for (const std::string& s : settings) EXPECT_TRUE(ApplyCaseSetting(doc, s, sink)) << s;
    SingleRun run;
    run.accepted = doc.OnDataChange();
    if (!run.accepted) return run;
    for (const std::string& line : doc.m_Text) run.report += line + "\n";
    const morvek::PredictionResult& p = *doc.LastRun()->prediction;
    const morvek::PredictionStep& last = p.steps.back();
    double gorMax = 0, npAbandon = last.np1000m3;
    for (size_t i = 0; i < p.steps.size(); ++i) {
        gorMax = std::max(gorMax, p.steps[i].gorSm3PerM3);
        if (i > 0 && p.steps[i].pressureBar <= 50.0f && p.steps[i - 1].pressureBar > 50.0f) {
            const morvek::PredictionStep &a = p.steps[i - 1], &b = p.steps[i];
            npAbandon = a.np1000m3 + (a.pressureBar - 50.0) /
                                         (double(a.pressureBar) - b.pressureBar) *
                                         (b.np1000m3 - a.np1000m3);
        }
    }
    const double ooip = doc.m_OOIP;
    run.outcomes = {
        last.np1000m3, 100 * last.np1000m3 / ooip, last.gp1000Sm3 / 1000, last.pressureBar, gorMax,
        npAbandon,     100 * npAbandon / ooip};
    return run;
}

// 300 samples; 15 lines with results and 5 without, spread over the run,
// each against a batch run of the case with --set to the line's values.
// Nordfeld as it is, and with a measured initial gas-oil ratio whose question
// is answered ja: every sample then takes the API gravity back-calculated
// from its own ratio, or the case file's gravity where none is offered (a
// ratio below some 22 sm3/m3 gives less than 9.85 degrees API).
TEST(SweepBatch, EveryLineIsWhatABatchRunOfItsSampleGives) {
    struct Scenario {
        bool answerYes;
        std::vector<std::string> settings;
        std::vector<std::string> varied;
        const char* header;
    };
    const std::vector<Scenario> scenarios = {
        {false,
         {},
         kVaried,
         "sample;ooip_1000m3;initial_pressure_bar;sgc;krg_max;np_end_1000m3;rf_end_pct;"
         "gp_end_mio_sm3;p_end_bar;gor_max_sm3_sm3;np_abandon_1000m3;rf_abandon_pct"},
        {true,
         {"m_Rsi=90"},
         {"m_Rsi=10:120", "m_Initialdruck=190:260", "m_KrgMax=0.4:0.8"},
         "sample;initial_gor_sm3_m3;initial_pressure_bar;krg_max;np_end_1000m3;rf_end_pct;"
         "gp_end_mio_sm3;p_end_bar;gor_max_sm3_sm3;np_abandon_1000m3;rf_abandon_pct"},
    };
    for (const Scenario& sc : scenarios) {
        SCOPED_TRACE(sc.header);
        TempDir dir;
        const std::string csv = dir.File("stichproben.csv");
        std::vector<std::string> args = {"--batch", kNordfeld, "--answer",
                                         sc.answerYes ? "ja" : "nein"};
        for (const std::string& s : sc.settings) args.insert(args.end(), {"--set", s});
        for (const std::string& v : sc.varied) args.insert(args.end(), {"--vary", v});
        args.insert(args.end(), {"--samples", "300", "--abandon", "50", "--sweep-csv", csv,
                                 "--sweep-summary", dir.File("s.txt")});
        ProcessResult r = RunMorvek(args);
        ASSERT_EQ(r.exitStatus, 0) << r.err;
        const std::vector<std::string> lines = SplitLines(ReadBytes(csv));
        ASSERT_EQ(lines.size(), 301u);
        EXPECT_EQ(lines[0], sc.header);
        const size_t first = 1 + sc.varied.size();  // the first outcome's column
        std::vector<size_t> accepted, refused;
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> f = Fields(lines[i]);
            ASSERT_EQ(f.size(), first + 7) << lines[i];
            EXPECT_EQ(f[0], std::to_string(i));
            (f[first].empty() ? refused : accepted).push_back(i);
        }
        ASSERT_GE(refused.size(), 5u);
        ASSERT_GE(accepted.size(), 15u);
        // The summary counts and lists every sample without a result.
        const std::string summary = ReadBytes(dir.File("s.txt"));
        EXPECT_NE(summary.find("Fehlgeschlagene Stichproben: " + std::to_string(refused.size())),
                  std::string::npos)
            << summary;
        EXPECT_NE(summary.find("Stichprobe " + std::to_string(refused[0]) + ": FEHLER!!"),
                  std::string::npos);

        std::vector<size_t> picked;
        for (size_t k = 0; k < 15; ++k) picked.push_back(accepted[k * accepted.size() / 15]);
        for (size_t k = 0; k < 5; ++k) picked.push_back(refused[k * refused.size() / 5]);
        for (size_t index : picked) {
            SCOPED_TRACE(lines[index]);
            const std::vector<std::string> f = Fields(lines[index]);
            std::vector<std::string> settings = sc.settings;
            for (size_t j = 0; j < sc.varied.size(); ++j)
                settings.push_back(sc.varied[j].substr(0, sc.varied[j].find('=') + 1) + f[1 + j]);
            const SingleRun alone = RunAlone(settings, sc.answerYes);
            ASSERT_EQ(alone.accepted, !f[first].empty());
            for (size_t o = 0; o < 7; ++o) {
                if (!alone.accepted) {
                    EXPECT_TRUE(f[first + o].empty());
                    continue;
                }
                EXPECT_EQ(Number(f[first + o]), alone.outcomes[o]) << "outcome " << o;
            }
            // The program itself, with those --set, agrees with the run above.
            std::vector<std::string> single = {"--batch", kNordfeld, "--answer",
                                               sc.answerYes ? "ja" : "nein"};
            for (const std::string& s : settings) single.insert(single.end(), {"--set", s});
            const ProcessResult program = RunMorvek(single);
            EXPECT_EQ(program.exitStatus, alone.accepted ? 0 : 2);
            if (alone.accepted) {
                EXPECT_EQ(program.out, alone.report);
            }
        }
    }
}

TEST(SweepBatch, CsvAndSummaryAreTheSameOnAnyNumberOfThreads) {
    TempDir dir;
    for (const char* sampling : {"lhs", "mc"}) {
        std::string first, firstSummary;
        for (const char* threads : {"1", "2", "3"}) {
            const std::string csv = dir.File(std::string(sampling) + threads + ".csv");
            const std::string summary = dir.File(std::string(sampling) + threads + ".txt");
            ProcessResult r = RunMorvek(
                SweepArgs({"--samples", "1500", "--sampling", sampling, "--seed", "7", "--threads",
                           threads, "--sweep-csv", csv, "--sweep-summary", summary}));
            ASSERT_EQ(r.exitStatus, 0) << r.err;
            if (first.empty()) {
                first = ReadBytes(csv);
                firstSummary = ReadBytes(summary);
                EXPECT_EQ(SplitLines(first).size(), 1501u);
                continue;
            }
            EXPECT_TRUE(ReadBytes(csv) == first) << sampling << " on " << threads << " threads";
            EXPECT_EQ(ReadBytes(summary), firstSummary) << sampling << " on " << threads;
        }
    }
}

TEST(SweepBatch, RefusesABadCommandLineBeforeAnythingRuns) {
    struct Refusal {
        std::vector<std::string> args;
        const char* message;  // a part of what stderr says
    };
    const std::vector<Refusal> refusals = {
        {{"--vary", "m_OOIP"}, "--vary erwartet NAME=UNTEN:OBEN"},
        {{"--vary", "m_Unbekannt=1:2"}, "\"m_Unbekannt\" ist keine Zahleneingabe"},
        {{"--vary", "m_Methode=0:3"}, "\"m_Methode\" ist keine Zahleneingabe"},
        {{"--vary", "m_Feldname=1:2"}, "\"m_Feldname\" ist keine Zahleneingabe"},
        {{"--vary", "m_OOIP=6000:4000"}, "muß kleiner als der obere Wert"},
        {{"--vary", "m_OOIP=5000:5000"}, "muß kleiner als der obere Wert"},
        {{"--vary", "m_OOIP=0:6000"}, "Original Oil in Place"},
        {{"--vary", "m_Sgc=0.1:1.5"}, "Krit.Gassättigung"},
        {{"--vary", "m_Gas[3]=50:101"}, "CH4"},
        {{"--vary", "m_Sgc=0.02:0.2:0.1"}, "muß zwischen 0.02 und 0.1 liegen"},
        {{"--vary", "m_OOIP=4000:abc:6000"}, "--vary m_OOIP=4000:abc:6000:"},
        {{"--vary", "m_OOIP=nan:6000"}, "--vary m_OOIP=nan:6000:"},
        {{"--vary", "m_OOIP=1:2:3:4"}, "zwei Werte (UNTEN:OBEN) oder drei"},
        {{"--vary", "m_OOIP=4000:6000", "--vary", "ooip_1000m3=1:2"}, "mehr als einmal"},
        {{"--vary", "m_OOIP=4000:6000", "--samples", "0"}, "--samples erwartet"},
        {{"--vary", "m_OOIP=4000:6000", "--samples", "1e3"}, "--samples erwartet"},
        {{"--vary", "m_OOIP=4000:6000", "--sampling", "sobol"}, "--sampling erwartet"},
        {{"--vary", "m_OOIP=4000:6000", "--seed", "-1"}, "--seed erwartet"},
        {{"--vary", "m_OOIP=4000:6000", "--threads", "0"}, "--threads erwartet"},
        {{"--vary", "m_OOIP=4000:6000", "--abandon", "0.5"}, "--abandon erwartet"},
        {{"--vary", "m_OOIP=4000:6000", "--tornado", "t.bmp"}, "Endung .png, .svg oder .pdf"},
        {{"--samples", "10"}, "--samples verlangt mindestens ein --vary"},
        {{"--sweep-csv", "s.csv"}, "--sweep-csv verlangt mindestens ein --vary"},
    };
    TempDir dir;
    for (const Refusal& refusal : refusals) {
        std::vector<std::string> args = {"--batch", kNordfeld};
        args.insert(args.end(), refusal.args.begin(), refusal.args.end());
        args.insert(args.end(), {"--sweep-csv", "s.csv"});
        if (refusal.args.front() == "--sweep-csv") args.resize(args.size() - 2);
        const ProcessResult r = RunMorvek(args, dir.Path());
        EXPECT_EQ(r.exitStatus, 2) << refusal.args.back();
        EXPECT_NE(r.err.find(refusal.message), std::string::npos)
            << refusal.args.back() << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << "no report for a refused command line";
        EXPECT_FALSE(FileExists(dir.File("s.csv")));
    }
}

// The sweep's four files, each made impossible to write: a read-only folder
// and a directory in the way give exit status 1 and keep the earlier file.
TEST(SweepBatch, FailedWritesReportAndKeepTheEarlierFile) {
    for (const char* option : {"--sweep-csv", "--sweep-summary", "--tornado", "--distribution"}) {
        const std::string name = std::string(option) == "--tornado"        ? "t.png"
                                 : std::string(option) == "--distribution" ? "v.svg"
                                                                           : "s.txt";
        const std::vector<std::string> sweep = {"--vary", "m_OOIP=4000:6000", "--samples", "20",
                                                option};
        {
            TempDir dir;
            WriteBytes(dir.File(name), "frueher");
            ReadOnlyFolder readOnly(dir.Path());
            ASSERT_TRUE(readOnly.Effective());
            std::vector<std::string> args = {"--batch", kNordfeld};
            args.insert(args.end(), sweep.begin(), sweep.end());
            args.push_back(dir.File(name));
            const ProcessResult r = RunMorvek(args);
            EXPECT_EQ(r.exitStatus, 1) << option;
            EXPECT_NE(r.err.find("kann nicht geschrieben werden"), std::string::npos) << r.err;
            EXPECT_EQ(ReadBytes(dir.File(name)), "frueher") << option;
        }
        TempDir dir;
        ASSERT_EQ(mkdir(dir.File(name).c_str(), 0755), 0);
        std::vector<std::string> args = {"--batch", kNordfeld};
        args.insert(args.end(), sweep.begin(), sweep.end());
        args.push_back(dir.File(name));
        EXPECT_EQ(RunMorvek(args).exitStatus, 1) << option << " onto a directory";
        // A missing folder whose name holds an escape character: the message
        // names it readably and keeps the terminal's state.
        args.back() = dir.File("fehlt\x1b[31m/" + name);
        const ProcessResult r = RunMorvek(args);
        EXPECT_EQ(r.exitStatus, 1) << option;
        EXPECT_NE(r.err.find("fehlt\\x1B[31m/"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << option;
    }
}

}  // namespace
