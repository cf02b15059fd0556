// Where batch mode's outputs go: never over an input or another output,
// directly into devices and pipes, through temporary files no user file is
// mistaken for, which a signal removes; and what a run without a result, or
// an output nobody receives, tells the script.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "TestSupport.h"
#include "batch/BatchFiles.h"
#include "sweep/Sweep.h"

namespace {

const std::string kNordfeld = SourcePath("examples/nordfeld.mvk");
const std::string kMesswerte = SourcePath("examples/nordfeld-messwerte.txt");
const std::string kPvtTable = SourcePath("examples/tabellen/nordfeld-pvt.txt");
const std::string kRelPermTable = SourcePath("examples/tabellen/nordfeld-relperm.txt");

constexpr int kExitNoResult = 3;

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every output that can name the case, a measured-data file or a table, each
// onto each input: exit status 2 before anything is read or written, the
// input keeps every byte and no other output appears.
TEST(BatchOutputs, NoOutputReplacesAnInput) {
    TempDir dir;
    const std::string casePath = dir.File("c.mvk"), messwerte = dir.File("m.txt"),
                      pvt = dir.File("pvt.txt"), relPerm = dir.File("kr.txt");
    WriteBytes(casePath, ReadBytes(kNordfeld));
    WriteBytes(messwerte, ReadBytes(kMesswerte));
    WriteBytes(pvt, ReadBytes(kPvtTable));
    WriteBytes(relPerm, ReadBytes(kRelPermTable));
    const std::vector<std::string> inputs = {"--messwerte", messwerte, "--pvt-tabelle", pvt,
                                             "--relperm-tabelle", relPerm};
    const std::vector<std::string> sweep = {"--vary", "m_OOIP=4000:6000", "--samples", "10"};
    const std::vector<std::string> match = {"--match", "m_OOIP"};
    struct Output {
        const char* option;
        const std::vector<std::string>* needs;
    };
    const std::vector<std::string> none;
    const Output outputs[] = {{"--report", &none},        {"--csv", &none},
                              {"--graph", &none},         {"--print-pdf", &none},
                              {"--drive-indices-csv", &none}, {"--drive-indices", &none},
                              {"--havlena-odeh", &none},  {"--match-csv", &match},
                              {"--match-report", &match}, {"--sweep-csv", &sweep},
                              {"--sweep-summary", &sweep}, {"--tornado", &sweep},
                              {"--distribution", &sweep}, {"--save", &none}};
    for (const std::string& input : {casePath, messwerte, pvt, relPerm}) {
        for (const Output& o : outputs) {
            if (std::string(o.option) == "--save" && input == casePath) continue;
            const bool picture = std::string(o.option) == "--graph" ||
                                 std::string(o.option) == "--drive-indices" ||
                                 std::string(o.option) == "--havlena-odeh" ||
                                 std::string(o.option) == "--tornado" ||
                                 std::string(o.option) == "--distribution";
            // A picture's name needs its extension: the input is named
            // through a link that has one.
            std::string target = input;
            if (picture) {
                target = dir.File("bild.png");
                std::filesystem::remove(target);
                ASSERT_EQ(::symlink(input.c_str(), target.c_str()), 0);
            }
            const std::string before = ReadBytes(input);
            std::vector<std::string> args = {"--batch", casePath};
            args.insert(args.end(), inputs.begin(), inputs.end());
            args.insert(args.end(), o.needs->begin(), o.needs->end());
            args.insert(args.end(), {o.option, target, "--aus"});
            const ProcessResult r = RunMorvek(args, dir.Path());
            SCOPED_TRACE(std::string(o.option) + " onto " + input);
            EXPECT_EQ(r.exitStatus, 2) << r.err;
            EXPECT_TRUE(r.out.empty());
            EXPECT_EQ(ReadBytes(input), before);
            EXPECT_NE(r.err.find("eine Ausgabe darf keine Eingabe ersetzen"), std::string::npos)
                << r.err;
            EXPECT_FALSE(FileExists(dir.File("aus.txt"))) << "nothing else is written";
            if (picture) std::filesystem::remove(target);
        }
    }
    // The message names the option and the input.
    ProcessResult r = RunMorvek({"--batch", casePath, "--report", casePath});
    EXPECT_EQ(r.err,
              "--report nennt die Falldatei (" + casePath +
                  "): eine Ausgabe darf keine Eingabe ersetzen. Bitte einen anderen Dateinamen "
                  "angeben.\n");
    r = RunMorvek({"--batch", casePath, "--messwerte", messwerte, "--save", "./m.txt"},
                  dir.Path());
    EXPECT_EQ(r.err,
              "--save nennt dieselbe Datei wie --messwerte (./m.txt): eine Ausgabe darf keine "
              "Eingabe ersetzen. Bitte einen anderen Dateinamen angeben.\n");
}

// Two outputs onto one file: the last write would win. Also when the names
// differ (a folder and back, a hard link, a link to a file not yet there).
// Saving the case over itself stays what it always was.
TEST(BatchOutputs, NoTwoOutputsShareAFileButTheCaseMaySaveOverItself) {
    TempDir dir;
    const std::string casePath = dir.File("c.mvk");
    WriteBytes(casePath, ReadBytes(kNordfeld));
    std::filesystem::create_directory(dir.File("sub"));
    WriteBytes(dir.File("alt.txt"), "frueher");
    ASSERT_EQ(::link(dir.File("alt.txt").c_str(), dir.File("zweitname.txt").c_str()), 0);
    ASSERT_EQ(::symlink("neu.txt", dir.File("verweis.txt").c_str()), 0);
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"x.txt", "x.txt"},
        {"x.txt", "sub/../x.txt"},
        {"x.txt", dir.File("x.txt")},
        {"alt.txt", "zweitname.txt"},
        {"neu.txt", "verweis.txt"}};
    for (const auto& [a, b] : pairs) {
        const ProcessResult r =
            RunMorvek({"--batch", casePath, "--save", a, "--report", b}, dir.Path());
        EXPECT_EQ(r.exitStatus, 2) << a << " " << b;
        EXPECT_NE(r.err.find("--save und --report nennen dieselbe Datei"), std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("jede Ausgabe braucht eine eigene Datei"), std::string::npos);
    }
    EXPECT_FALSE(FileExists(dir.File("x.txt")));
    EXPECT_FALSE(FileExists(dir.File("neu.txt")));
    EXPECT_EQ(ReadBytes(dir.File("alt.txt")), "frueher");
    ProcessResult r = RunMorvek(
        {"--batch", casePath, "--csv", "k.csv", "--vary", "m_OOIP=4000:6000", "--sweep-csv",
         "./k.csv"},
        dir.Path());
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("--csv und --sweep-csv nennen dieselbe Datei"), std::string::npos)
        << r.err;

    // The case saved over itself, also through another spelling of its name;
    // /dev/null takes two outputs.
    r = RunMorvek({"--batch", casePath, "--set", "m_OOIP=4500", "--save", "./c.mvk", "--report",
                   "/dev/null", "--csv", "/dev/null"},
                  dir.Path());
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(ReadBytes(casePath), ReadBytes(kNordfeld));
}

// The same through the class that gathers the names: reading a file twice
// harms nothing; a clash names both options.
TEST(BatchOutputs, FilesOfARunTellClashesApart) {
    TempDir dir;
    WriteBytes(dir.File("c.mvk"), "x");
    BatchFiles files;
    files.Case(dir.File("c.mvk"));
    files.Input("--messwerte", dir.File("c.mvk"));
    files.Save("--save", dir.File("c.mvk"));
    files.Output("--report", "");
    files.Output("--csv", dir.File("k.csv"));
    files.Output("--graph", dir.File("k.png"));
    EXPECT_EQ(files.Clash(), "--save nennt dieselbe Datei wie --messwerte (" + dir.File("c.mvk") +
                                 "): eine Ausgabe darf keine Eingabe ersetzen. Bitte einen "
                                 "anderen Dateinamen angeben.");
    BatchFiles apart;
    apart.Case(dir.File("c.mvk"));
    apart.Input("--pvt-tabelle", dir.File("c.mvk"));
    apart.Save("--save", dir.File("d.mvk"));
    apart.Output("--csv", dir.File("k.csv"));
    apart.Output("--tornado", dir.File("k.png"));
    apart.Output("--distribution", "/dev/null");
    apart.Output("--sweep-csv", "/dev/null");
    EXPECT_EQ(apart.Clash(), "");
}

// A user's file that looks like a leftover temporary (".r.txt.backup") stays;
// a leftover of a killed save of the same target is removed.
TEST(BatchOutputs, TheCleanupOfTemporariesKeepsEveryUserFile) {
    TempDir dir;
    WriteBytes(dir.File(".r.txt.backup"), "precious\n");
    WriteBytes(dir.File(".r.txt.Ab3xYz"), "auch meins\n");
    WriteBytes(dir.File(".r.txt.morvek-tmp.Ab3xYz"), "liegen geblieben");
    const ProcessResult r = RunMorvek({"--batch", kNordfeld, "--report", "r.txt"}, dir.Path());
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{".r.txt.Ab3xYz", ".r.txt.backup", "r.txt"}));
    EXPECT_EQ(ReadBytes(dir.File(".r.txt.backup")), "precious\n");
}

// Devices and pipes are written directly: /dev/null takes the report and the
// outputs after it are still written; /dev/stdout into a pipe carries the
// report.
TEST(BatchOutputs, DevicesAndPipesAreWrittenDirectly) {
    TempDir dir;
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--report", "/dev/null", "--csv",
                                 dir.File("k.csv"), "--aus"},
                                dir.Path());
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(FileExists(dir.File("k.csv")));
    EXPECT_TRUE(FileExists(dir.File("aus.txt")));

    const ProcessResult alone = RunMorvek({"--batch", kNordfeld});
    r = RunShell(MorvekCommand({"--batch", kNordfeld, "--report", "/dev/stdout", "--csv",
                                "/dev/null"}) +
                 " 2>/dev/null | cat");
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, alone.out);
    r = RunShell(MorvekCommand({"--batch", kNordfeld, "--report", "/dev/stdout", "--csv",
                                dir.File("k2.csv")}) +
                 " 2>/dev/null; echo \"status $?\"");
    EXPECT_EQ(r.out, alone.out + "status 0\n");
    EXPECT_TRUE(FileExists(dir.File("k2.csv")));
    // A shell's ">>" keeps what the file held.
    WriteBytes(dir.File("log.txt"), "vorher\n");
    r = RunShell(MorvekCommand({"--batch", kNordfeld, "--report", "/dev/stdout"}) + " >> " +
                 Quoted(dir.File("log.txt")) + " 2>/dev/null");
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(ReadBytes(dir.File("log.txt")), "vorher\n" + alone.out);
}

// A summary written to a full stderr is not received: exit status 1, as a
// report that cannot be written. A sweep none of whose samples has a result
// has no statistics: exit status 3, with every output written.
TEST(BatchOutputs, ASummaryNobodyReceivesAndASweepWithoutResultsAreNoSuccess) {
    TempDir dir;
    ProcessResult r =
        RunShell(MorvekCommand({"--batch", kNordfeld, "--vary", "m_OOIP=4000:6000", "--samples",
                                "20", "--report", dir.File("b.txt")}) +
                 " 2>/dev/full");
    EXPECT_EQ(r.exitStatus, 1);
    r = RunShell(MorvekCommand({"--batch", kNordfeld, "--messwerte", kMesswerte, "--match",
                                "m_OOIP", "--report", dir.File("b.txt")}) +
                 " 2>/dev/full");
    EXPECT_EQ(r.exitStatus, 1);

    // kro = 0 everywhere: no oil flows, no sample has a result.
    WriteBytes(dir.File("kro0.txt"), "Sg krg kro\n0 0 0\n0.5 0.5 0\n0.9 0.9 0\n");
    r = RunMorvek({"--batch", kNordfeld, "--relperm-tabelle", dir.File("kro0.txt"), "--vary",
                   "m_OOIP=4000:6000", "--samples", "10", "--sweep-csv", dir.File("s.csv"),
                   "--report", dir.File("b.txt")});
    EXPECT_EQ(r.exitStatus, kExitNoResult) << r.err;
    EXPECT_NE(r.err.find("Fehlgeschlagene Stichproben: 10"), std::string::npos) << r.err;
    EXPECT_EQ(SplitLines(ReadBytes(dir.File("s.csv"))).size(), 11u);
    EXPECT_TRUE(FileExists(dir.File("b.txt")));
    // One sample with a result is a result.
    r = RunMorvek({"--batch", kNordfeld, "--vary", "m_Initialdruck=190:260", "--samples", "10"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
}

// A PVT table whose Bo and Rs stay constant above the bubble point produces
// no oil: the balance is 0/0. The report says so and does not claim to be
// complete, the exit status is 3, and a sweep counts each such sample as
// failed instead of a recovery of 0 % at 245.5 bar.
TEST(BatchOutputs, ARunThatProducesNothingIsNoResult) {
    TempDir dir;
    std::string table;
    for (const std::string& line : SplitLines(ReadBytes(kPvtTable))) {
        if (!table.empty() && std::stod(line) > 200.0)
            table += line.substr(0, line.find(';')) + "; 1.298" +
                     line.substr(line.find(';', line.find(';') + 1)) + "\n";
        else
            table += line + "\n";
    }
    WriteBytes(dir.File("bo.txt"), table);
    ProcessResult r =
        RunMorvek({"--batch", kNordfeld, "--pvt-tabelle", dir.File("bo.txt"), "--csv",
                   dir.File("k.csv")});
    EXPECT_EQ(r.exitStatus, kExitNoResult) << r.err;
    EXPECT_EQ(SplitLines(r.out).back(), " Keine sinnvolle Berechnung möglich: Materialbilanzfehler");
    EXPECT_EQ(r.out.find("abgeschlossen"), std::string::npos);
    r = RunMorvek({"--batch", kNordfeld, "--pvt-tabelle", dir.File("bo.txt"), "--vary",
                   "m_OOIP=4000:6000", "--samples", "10", "--sweep-csv", dir.File("s.csv")});
    EXPECT_EQ(r.exitStatus, kExitNoResult);
    EXPECT_NE(r.err.find("Fehlgeschlagene Stichproben: 10"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("245.50"), std::string::npos) << r.err;
    const std::vector<std::string> lines = SplitLines(ReadBytes(dir.File("s.csv")));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_TRUE(lines[1].ends_with(";;;;;")) << lines[1];

    WriteBytes(dir.File("kro0.txt"), "Sg krg kro\n0 0 0\n0.5 0.5 0\n0.9 0.9 0\n");
    r = RunMorvek({"--batch", kNordfeld, "--relperm-tabelle", dir.File("kro0.txt")});
    EXPECT_EQ(r.exitStatus, kExitNoResult);
    EXPECT_EQ(r.out.find("abgeschlossen"), std::string::npos);
}

// Ctrl-C or kill during a long uncertainty run removes the CSV's temporary
// file and ends with 130 or 143; the earlier CSV keeps every byte.
TEST(BatchOutputs, AnInterruptedRunRemovesItsTemporaryFile) {
    for (const int signal : {SIGINT, SIGTERM}) {
        TempDir dir;
        WriteBytes(dir.File("big.csv"), "frueher\n");
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            std::string exe = MORVEK_EXE, batch = "--batch", c = kNordfeld, vary = "--vary",
                        range = "m_OOIP=4000:6000", samples = "--samples", many = "10000000",
                        csv = "--sweep-csv", path = dir.File("big.csv");
            char* argv[] = {exe.data(),  batch.data(), c.data(),   vary.data(), range.data(),
                            samples.data(), many.data(), csv.data(), path.data(), nullptr};
            ::execv(exe.c_str(), argv);
            ::_exit(127);
        }
        // Wait until the sweep writes its temporary file, then interrupt.
        std::string temp;
        for (int i = 0; i < 1200 && temp.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            for (const std::string& e : Entries(dir.Path()))
                if (e.starts_with(".big.csv.morvek-tmp.")) temp = e;
        }
        EXPECT_FALSE(temp.empty()) << "the run never started writing";
        ::kill(pid, signal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"big.csv"}));
        EXPECT_EQ(ReadBytes(dir.File("big.csv")), "frueher\n");
    }
}

// A plan whose summary would not fit half of the computer's memory is
// refused before anything runs (exact P-values keep one number per sample
// and outcome), with the number of samples that fit.
TEST(BatchOutputs, MoreSamplesThanTheSummaryHoldsAreRefused) {
    morvek::SweepOptions options;
    options.plan.samples = 1000000000;
    options.abandonmentPressureBar = 50.0f;
    if (morvek::MemoryOfComputerBytes() / 2 >= options.plan.samples * 56)
        GTEST_SKIP() << "this computer holds the summary of a billion samples";
    TempDir dir;
    // A program that started the run instead would not end for days.
    const ProcessResult r = RunShell(
        "timeout 120 " +
        MorvekCommand({"--batch", kNordfeld, "--vary", "m_OOIP=4000:6000", "--samples",
                       "1000000000", "--abandon", "50", "--sweep-csv", dir.File("s.csv")}) +
        " 2>&1");
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(r.out.starts_with("1000000000 Stichproben brauchen für die Zusammenfassung "
                                  "56.0 GB"))
        << r.out;
    EXPECT_FALSE(FileExists(dir.File("s.csv")));
}

// An option that takes one value, given twice, would keep only the last:
// refused, also two weights of one quantity.
TEST(BatchOutputs, AnOptionGivenTwiceIsRefused) {
    TempDir dir;
    const std::vector<std::vector<std::string>> twice = {
        {"--match", "m_OOIP", "--match", "m_Gaskappe"},
        {"--match", "m_OOIP", "--match-weights", "p=1,p=2"},
        {"--match", "m_OOIP", "--match-weights", "p=1", "--match-weights", "gor=2"},
        {"--report", "a.txt", "--report", "b.txt"},
        {"--save", "a.mvk", "--save", "b.mvk"},
        {"--messwerte", kMesswerte, "--messwerte", kMesswerte}};
    for (const auto& options : twice) {
        std::vector<std::string> args = {"--batch", kNordfeld, "--messwerte", kMesswerte};
        if (options.front() == "--messwerte") args.resize(2);
        args.insert(args.end(), options.begin(), options.end());
        const ProcessResult r = RunMorvek(args, dir.Path());
        EXPECT_EQ(r.exitStatus, 2) << options[2] << " " << options[3] << r.err;
        EXPECT_TRUE(r.out.empty());
        EXPECT_TRUE(Entries(dir.Path()).empty());
    }
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--match", "m_OOIP", "--match",
                                 "m_Gaskappe"});
    EXPECT_EQ(SplitLines(r.err).at(0),
              "--match steht mehrmals in der Befehlszeile; es gilt nur einmal. Mehrere Eingaben "
              "gehören durch Kommas getrennt in ein --match (--match m_OOIP,m_Gaskappe).");
    r = RunMorvek({"--batch", kNordfeld, "--match", "m_OOIP", "--match-weights", "p=1,P=2"});
    EXPECT_EQ(SplitLines(r.err).at(0), "--match-weights nennt das Gewicht p zweimal.");
}

}  // namespace
