"""The Python module against the engine's own benchmarks (build/bench/morvek_bench):

1. predict_many of the 10,000 varied Nordfeld cases of BM_PredictMany (the same
   cases: the same generator, seed and single-precision arithmetic) on 1 and 2
   threads, against BM_PredictMany/1 and /2; and the speed-up of 2 threads.
2. morvek.evaluate of the 10,000 samples of BM_Sweep10000 (the same design, as a
   DataFrame) against BM_Sweep10000/1 and /2 (target: within 10 %).
3. predict_many(outcomes_only=True) of the 10,000 cases: the peak memory the call
   adds, per case (target: at most 2 KB), in a fresh process; and how long
   predict_many and evaluate take to stop after SIGINT (target: 0.2 s).
4. case.predict() of Nordfeld against BM_PredictCase/0 (PredictCase in C++): the
   module's overhead per call (the dialog's checks, copying the case, the result
   object, the interpreter lock); and, as a bound that the load of a shared
   machine does not blur, the whole call for a case whose prediction takes no
   step.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_bench.py [--repetitions N]

Each figure is the best of N runs (default 5), taken in turns with the C++
benchmark so that both see the same load of the machine. On a machine shared
with other work, give the run its share of the cores, e.g. (as root)
`setsid sh -c 'echo -15 > /proc/$$/autogroup; exec /usr/bin/python3 ...'`;
the figures print the load average they were taken at.
"""

import argparse
import json
import os
import pathlib
import signal
import subprocess
import sys
import threading
import time

import numpy as np

import morvek

SOURCE = pathlib.Path(__file__).resolve().parents[1]
BENCH = SOURCE / "build" / "bench" / "morvek_bench"
MASK64 = (1 << 64) - 1


class Mt19937_64:
    """std::mt19937_64, so that the cases are those of the C++ benchmark."""

    def __init__(self, seed):
        self.state = [seed & MASK64]
        for i in range(1, 312):
            prev = self.state[-1]
            self.state.append((6364136223846793005 * (prev ^ (prev >> 62)) + i) & MASK64)
        self.index = 312

    def __call__(self):
        if self.index >= 312:
            s = self.state
            for i in range(312):
                y = (s[i] & 0xFFFFFFFF80000000) | (s[(i + 1) % 312] & 0x7FFFFFFF)
                s[i] = s[(i + 156) % 312] ^ (y >> 1) ^ (0xB5026F5AA96619E9 if y & 1 else 0)
            self.index = 0
        y = self.state[self.index]
        self.index += 1
        y ^= (y >> 29) & 0x5555555555555555
        y ^= (y << 17) & 0x71D67FFFEDA60000
        y ^= (y << 37) & 0xFFF7EEE000000000
        y ^= y >> 43
        return y & MASK64


def unit_float(random):
    """std::uniform_real_distribution<float>(0, 1) of libstdc++: one 64-bit draw
    over 2^64 in single precision, kept below 1."""
    r = np.float32(random()) / np.float32(2.0**64)
    return np.nextafter(np.float32(1), np.float32(0)) if r >= 1 else r


def varied_nordfeld(count):
    """The cases of the C++ benchmark's VariedNordfeld."""
    base = morvek.Case.load(SOURCE / "examples" / "nordfeld.mvk")
    random = Mt19937_64(1)
    f = np.float32
    cases = []
    for _ in range(count):
        c = base.copy()
        c.ooip_1000m3 = float(f(3000) + f(4000) * unit_float(random))
        c.gas_cap_ratio = float(f(0.5) * unit_float(random))
        c.sgc = float(f(0.02) + f(0.1) * unit_float(random))
        c.krg_max = float(f(0.3) + f(0.6) * unit_float(random))
        cases.append(c)
    return cases


def cpp_figures(pattern):
    """Real and CPU time per iteration of the C++ benchmarks matching pattern, in seconds."""
    # Two repetitions in one process, the better counted: the first run of a
    # fresh process also pays for touching its memory for the first time,
    # which the Python process, measuring again and again, does not.
    # The C++ process also keeps the memory it frees for its next run (glibc
    # would give the 750 MB of 10,000 results back to the system and fault them
    # in again, some 0.3 s a run), as the Python process does by itself.
    env = dict(os.environ, GLIBC_TUNABLES="glibc.malloc.trim_threshold=17179869184")
    done = subprocess.run([str(BENCH), f"--benchmark_filter={pattern}",
                           "--benchmark_format=json", "--benchmark_min_time=0.5",
                           "--benchmark_repetitions=2"],
                          capture_output=True, text=True, check=True, env=env)
    out = {}
    for b in json.loads(done.stdout)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
        name = b.get("run_name", b["name"])
        times = (b["real_time"] * scale, b["cpu_time"] * scale)
        old = out.get(name, (float("inf"), float("inf")))
        out[name] = (min(old[0], times[0]), min(old[1], times[1]))
    return out


def best_time(work):
    """Real and CPU time (every thread of the process) of one run of work."""
    start, cpu = time.perf_counter(), time.process_time()
    work()
    return time.perf_counter() - start, time.process_time() - cpu


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--memory", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.memory:
        memory_per_case()
        return
    reps = args.repetitions

    cases = varied_nordfeld(10000)
    nordfeld = morvek.Case.load(SOURCE / "examples" / "nordfeld.mvk")
    calls = 2000
    inf = (float("inf"), float("inf"))

    def best(a, b):
        return (min(a[0], b[0]), min(a[1], b[1]))

    cpp = {}
    python = {1: inf, 2: inf}
    single = inf
    for _ in range(reps):
        for name, times in cpp_figures("BM_PredictMany/[12]/|BM_PredictCase/0").items():
            cpp[name] = best(cpp.get(name, inf), times)
        for threads in (1, 2):
            python[threads] = best(python[threads],
                                   best_time(lambda: morvek.predict_many(cases, threads)))
        real, cpu = best_time(lambda: [nordfeld.predict() for _ in range(calls)])
        single = best(single, (real / calls, cpu / calls))

    cpp1 = cpp["BM_PredictMany/1/real_time"]
    cpp2 = cpp["BM_PredictMany/2/real_time"]
    cpp_single = cpp["BM_PredictCase/0"]
    ms, us = 1e3, 1e6
    print(f"predict_many, 10000 varied Nordfeld cases (best of {reps}; real time, CPU time):")
    print(f"  1 thread : Python {python[1][0] * ms:7.0f} ms {python[1][1] * ms:7.0f} ms   "
          f"C++ BM_PredictMany/1 {cpp1[0] * ms:7.0f} ms {cpp1[1] * ms:7.0f} ms   "
          f"Python/C++ {python[1][0] / cpp1[0]:5.3f} {python[1][1] / cpp1[1]:5.3f}")
    print(f"  2 threads: Python {python[2][0] * ms:7.0f} ms   "
          f"C++ BM_PredictMany/2 {cpp2[0] * ms:7.0f} ms   Python/C++ {python[2][0] / cpp2[0]:5.3f}")
    print(f"  speed-up of 2 threads (real time): Python {python[1][0] / python[2][0]:4.2f}x   "
          f"C++ {cpp1[0] / cpp2[0]:4.2f}x")
    print("case.predict() of Nordfeld (real time, CPU time):")
    print(f"  Python {single[0] * us:6.1f} us {single[1] * us:6.1f} us   "
          f"C++ BM_PredictCase/0 {cpp_single[0] * us:6.1f} us {cpp_single[1] * us:6.1f} us   "
          f"overhead {(single[0] - cpp_single[0]) * us:5.1f} us {(single[1] - cpp_single[1]) * us:5.1f} us")
    # An upper bound that no load of the machine blurs: the whole call for a
    # case whose prediction takes no step (initial pressure 1 bar), i.e. the
    # module's own work plus the engine's fluid set-up.
    empty = nordfeld.copy()
    empty.measured_rows = []
    empty.initial_pressure_bar = empty.bubble_point_pressure_bar = 1
    assert len(empty.predict()) == 0
    bound = min(best_time(lambda: [empty.predict() for _ in range(20000)])[1]
                for _ in range(reps)) / 20000
    print(f"  whole case.predict() of a case without steps (bounds the overhead): "
          f"{bound * us:4.1f} us CPU")
    # evaluate against the C++ sweep of the same 10,000 samples.
    vary = {"ooip_1000m3": (4000, 6000), "gas_cap_ratio": (0, 0.5), "sgc": (0.02, 0.05, 0.12),
            "krg_max": (0.4, 0.8)}
    samples = morvek.sweep(nordfeld, vary, samples=10000).to_pandas()[list(vary)]
    evaluate = {1: inf, 2: inf}
    sweep_cpp = {}
    for _ in range(reps):
        for name, times in cpp_figures("BM_Sweep10000/threads:[12]/").items():
            sweep_cpp[name] = best(sweep_cpp.get(name, inf), times)
        for threads in (1, 2):
            evaluate[threads] = best(evaluate[threads], best_time(
                lambda: morvek.evaluate(nordfeld, samples, threads=threads)))
    print("evaluate of the 10,000 samples of BM_Sweep10000 (real time):")
    for threads in (1, 2):
        # The benchmark's name may carry a fixed iteration count.
        cpp_time = next(t for name, t in sweep_cpp.items()
                        if name.startswith(f"BM_Sweep10000/threads:{threads}/"))[0]
        print(f"  {threads} thread{'s' if threads > 1 else ' '}: Python {evaluate[threads][0] * ms:7.0f} ms   "
              f"C++ BM_Sweep10000/{threads} {cpp_time * ms:7.0f} ms   "
              f"Python/C++ {evaluate[threads][0] / cpp_time:5.3f}")
    memory = subprocess.run([sys.executable, __file__, "--memory"], capture_output=True,
                            text=True, check=True).stdout.strip()
    print(f"predict_many(outcomes_only=True) of 10,000 cases: {memory}")
    print("stop after SIGINT (the call would take seconds):")
    for name, call in (("predict_many", lambda: morvek.predict_many(cases * 20, outcomes_only=True)),
                       ("evaluate", lambda: morvek.evaluate(nordfeld, pd_concat(samples, 20)))):
        print(f"  {name}: {stop_after_sigint(call) * ms:5.0f} ms")
    print(f"load average during the run: {os.getloadavg()[0]:.1f} on {os.cpu_count()} cores")


def pd_concat(frame, times):
    import pandas as pd

    return pd.concat([frame] * times, ignore_index=True)


def stop_after_sigint(call):
    """Seconds from SIGINT to the KeyboardInterrupt out of the call."""
    sent = []
    timer = threading.Timer(0.5, lambda: (sent.append(time.perf_counter()),
                                          os.kill(os.getpid(), signal.SIGINT)))
    timer.start()
    try:
        call()
    except KeyboardInterrupt:
        pass
    stopped = time.perf_counter()
    timer.join()
    return stopped - sent[0]


def peak_rss_kb():
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def memory_per_case():
    """The peak memory predict_many(outcomes_only=True) adds, per case, for 10,000."""
    cases = varied_nordfeld(10000)
    morvek.predict_many(cases[:100], outcomes_only=True)  # NumPy, pandas, threads warmed
    with open("/proc/self/clear_refs", "w") as f:
        f.write("5")  # resets the peak to the present
    before = peak_rss_kb()
    frame = morvek.predict_many(cases, outcomes_only=True)
    added = peak_rss_kb() - before
    assert len(frame) == 10000
    print(f"{added * 1024 / 10000:.0f} bytes per case at the peak (the whole call, result kept)")


if __name__ == "__main__":
    main()
