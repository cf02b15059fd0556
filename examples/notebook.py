"""Nordfeld in a notebook: load the case, predict, plot, and a small sweep.

Runs as a plain script with Debian's interpreter (where NumPy, pandas and
matplotlib come from Debian), from the source tree after a build:

    PYTHONPATH=build/python /usr/bin/python3 examples/notebook.py [PICTURE.png]

or after `cmake --install build --prefix ~/.local` without PYTHONPATH. It writes
the graph to nordfeld-notebook.png (or PICTURE.png) and prints the P90/P50/P10
of the recovery factor of 400 variants computed in a process pool.
"""

import multiprocessing
import pathlib
import sys

import matplotlib

matplotlib.use("Agg")  # a file, no window
import matplotlib.pyplot as plt
import numpy as np

import morvek

HERE = pathlib.Path(__file__).resolve().parent


def predict(case):
    """Runs in a worker process: the case arrives pickled, its result goes back pickled."""
    return case.predict()


def reserves_percentile(values, p):
    """The P-value of the reserves convention: the largest sample that at least p %
    of the samples reach or exceed (P90 is the low estimate, P10 the high one)."""
    ordered = np.sort(np.asarray(values))
    k = int(np.floor(len(ordered) * (1.0 - p / 100.0) + 1e-9))
    return ordered[min(k, len(ordered) - 1)]


def plot(case, result, path):
    """Pressure and producing gas-oil ratio against cumulative oil, with the measured rows."""
    fig, pressure_axis = plt.subplots(figsize=(8, 5), dpi=120)
    gor_axis = pressure_axis.twinx()
    pressure_axis.plot(result.np_1000m3, result.p_bar, color="tab:red", label="Druck")
    gor_axis.plot(result.np_1000m3, result.gor, color="tab:blue", linestyle="--", label="GOEV")
    measured = np.array([(np_, p, np.nan if gor is None else gor)
                         for np_, p, gor in case.measured_rows])
    if len(measured):
        pressure_axis.plot(measured[:, 0], measured[:, 1], "o", color="tab:green",
                           label="Druckmeßwerte")
        gor_axis.plot(measured[:, 0], measured[:, 2], "s", color="tab:green", mfc="none",
                      label="GOEV-Meßwerte")
    pressure_axis.set_xlabel("Kum. Reinölförderung (1000 m³)")
    pressure_axis.set_ylabel("Druck (bar)", color="tab:red")
    gor_axis.set_ylabel("GOEV (sm³/m³)", color="tab:blue")
    pressure_axis.set_ylim(bottom=0)
    gor_axis.set_ylim(bottom=0)
    pressure_axis.set_title(f"{case.field_name}: Entleerungsprognose")
    lines = pressure_axis.get_legend_handles_labels()
    more = gor_axis.get_legend_handles_labels()
    pressure_axis.legend(lines[0] + more[0], lines[1] + more[1], loc="upper center")
    pressure_axis.grid(alpha=0.3)
    fig.tight_layout()
    fig.savefig(path)
    plt.close(fig)


def main():
    picture = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "nordfeld-notebook.png")

    case = morvek.Case.load(HERE / "nordfeld.mvk")
    result = case.predict()  # batch mode's default answer: use_api_from_initial_gor=False
    print(f"{case.field_name}: {len(result)} Druckstufen, Ende: {result.stop_reason}, "
          f"Entölungsgrad {result.recovery_factor:.4f}")
    print(result.to_pandas()[["p_bar", "np_1000m3", "gp_mio_sm3", "gor", "so"]].iloc[::100])

    plot(case, result, picture)
    print(f"Grafik: {picture}")

    # A small sweep: gas cap, critical gas saturation and gas end point drawn
    # uniformly; each variant is shipped to a worker process and back.
    rng = np.random.default_rng(2024)
    variants = []
    for _ in range(400):
        variant = case.copy()
        variant.gas_cap_ratio = rng.uniform(0.0, 0.5)
        variant.sgc = rng.uniform(0.02, 0.12)
        variant.krg_max = rng.uniform(0.3, 0.9)
        variants.append(variant)
    with multiprocessing.get_context("spawn").Pool(2) as pool:
        results = pool.map(predict, variants, chunksize=50)
    recovery = [r.recovery_factor for r in results]
    p90, p50, p10 = (reserves_percentile(recovery, p) for p in (90, 50, 10))
    print(f"Entölungsgrad aus {len(recovery)} Varianten: "
          f"P90 {p90:.4f}  P50 {p50:.4f}  P10 {p10:.4f}")

    # The same ranges as the engine's own uncertainty run (Latin hypercube,
    # every core), with P90/P50/P10 and the tornado of the recovery factor.
    run = morvek.sweep(case, {"gas_cap_ratio": (0.0, 0.5), "sgc": (0.02, 0.12),
                              "krg_max": (0.3, 0.9)}, samples=400)
    rf = run.statistics().loc["rf_end_pct"]
    print(f"morvek.sweep, {len(run)} Stichproben: "
          f"P90 {rf.p90:.2f} %  P50 {rf.p50:.2f} %  P10 {rf.p10:.2f} %")
    print(run.tornado()[["low", "high", "rf_low_pct", "rf_high_pct", "swing_pct"]])


if __name__ == "__main__":
    main()
