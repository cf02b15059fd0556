// Batch mode: many cases through the run sequence in one process, and one
// case from process start to exit.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "BenchCases.h"
#include "ExampleCases.h"
#include "batch/BatchPorts.h"

extern char** environ;

namespace {

constexpr int kVariedCases = 300;

// Nordfeld varied over pressures, temperature, oil gravity, gas cap, water
// saturation and all four correlations: every case passes the checks of the
// data-entry dialog (the counter "refused" shows otherwise).
std::vector<CMorvekDoc> VariedCases(MessageSink& sink, DataEntryRunner& runner) {
    std::vector<CMorvekDoc> cases(kVariedCases);
    for (int i = 0; i < kVariedCases; ++i) {
        CMorvekDoc& doc = cases[static_cast<size_t>(i)];
        doc.SetMessageSink(&sink);
        doc.SetDataEntryRunner(&runner);
        FillNordfeld(doc);
        doc.m_Messwerte.clear();  // Nordfeld's surveys lie above some of the pressures
        doc.m_Initialdruck = 150.0f + static_cast<float>(i % 25) * 10.0f;
        doc.m_Entloesungsdruck = doc.m_Initialdruck * (0.5f + static_cast<float>(i % 6) * 0.1f);
        doc.m_Temperatur = 50.0f + static_cast<float>(i % 7) * 10.0f;
        doc.m_API = 25.0f + static_cast<float>(i % 5) * 4.0f;
        doc.m_Gaskappe = static_cast<float>(i % 4) * 0.25f;
        doc.m_Swi = 0.15f + static_cast<float>(i % 3) * 0.05f;
        doc.m_Methode = i % 4;
    }
    return cases;
}

// What batch mode does for a case after reading it: the dialog's OK checks,
// then the run sequence; the report stays in the case.
void BM_BatchThroughput(benchmark::State& state) {
    QuietSink sink;
    BatchDataEntryRunner runner(sink);
    std::vector<CMorvekDoc> cases = VariedCases(sink, runner);
    int refused = 0;
    for (auto _ : state) {
        for (CMorvekDoc& doc : cases) {
            if (!doc.OnDataChange()) ++refused;
            benchmark::DoNotOptimize(doc.m_Text.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kVariedCases);
    state.counters["refused"] = refused;
}
BENCHMARK(BM_BatchThroughput)->Unit(benchmark::kMillisecond);

// morvek --batch examples/nordfeld.mvk --answer nein, report to /dev/null:
// process start, Qt's argument parsing, reading the case, the run, exit.
void BM_BatchProcess(benchmark::State& state) {
    const std::string exe = MORVEK_EXE;
    const std::string casePath = std::string(MORVEK_SOURCE_DIR) + "/examples/nordfeld.mvk";
    std::vector<std::string> args = {exe, "--batch", casePath, "--answer", "nein"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    int failures = 0;
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ++failures;
    }
    posix_spawn_file_actions_destroy(&actions);
    state.counters["failures"] = failures;
}
BENCHMARK(BM_BatchProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
