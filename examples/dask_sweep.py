"""A 100,000-sample uncertainty study of Nordfeld on a Dask cluster, in two ways,
each checked against the single-process result:

1. one Latin-hypercube design split into slices (morvek.sweep with first_sample
   and count), one slice per task: the slices' rows are exactly the rows of the
   whole design, so the P90/P50/P10 are those of the unsplit sweep;
2. a table of samples (any design: here the same values as a pandas/Dask
   DataFrame) evaluated with dask.dataframe.map_partitions(morvek.evaluate).

    PYTHONPATH=build/python /usr/bin/python3 examples/dask_sweep.py
    ... [--samples N] [--workers N] [--scheduler tcp://host:8786]

Without --scheduler it starts a LocalCluster on this machine (one process per
worker, one thread each); with it, the same code runs on any cluster whose
workers can import morvek. Cases and results travel pickled.
"""

import argparse
import functools
import pathlib
import sys
import time

import dask.dataframe as dd
import numpy as np
import pandas as pd
from dask.distributed import Client, LocalCluster

import morvek

HERE = pathlib.Path(__file__).resolve().parent
VARY = {"ooip_1000m3": (4000, 6000), "gas_cap_ratio": (0, 0.5), "sgc": (0.02, 0.05, 0.12),
        "krg_max": (0.4, 0.8)}
OUTCOME = "rf_end_pct"


def reserves_percentiles(values):
    """P90, P50, P10 as the program takes them: the largest value that at least
    90 % (50 %, 10 %) of the samples reach or exceed."""
    ascending = np.sort(values)
    n = len(ascending)
    return [float(ascending[n - max((p * n + 99) // 100, 1)]) for p in (90, 50, 10)]


def run_slice(case, samples, first, count):
    """One task: a slice of the design, its rows as a DataFrame."""
    return morvek.sweep(case, VARY, samples=samples, first_sample=first, count=count,
                        threads=1).to_pandas()


def split(samples, parts):
    size = -(-samples // parts)
    return [(first, min(size, samples - first + 1)) for first in range(1, samples + 1, size)]


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--samples", type=int, default=100000)
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--tasks", type=int, default=40, help="slices of the design")
    parser.add_argument("--scheduler", help="address of a running scheduler")
    args = parser.parse_args(argv)

    case = morvek.Case.load(HERE / "nordfeld.mvk")
    started = time.perf_counter()
    whole = morvek.sweep(case, VARY, samples=args.samples)
    single = whole.to_pandas()
    print(f"one process:  {args.samples} samples in {time.perf_counter() - started:.1f} s, "
          f"RF P90/P50/P10 = {whole.statistics().loc[OUTCOME, ['p90', 'p50', 'p10']].tolist()}")

    cluster = None if args.scheduler else LocalCluster(n_workers=args.workers,
                                                       threads_per_worker=1,
                                                       dashboard_address=None)
    with Client(args.scheduler or cluster) as client:
        # 1. Slices of one design, one task each.
        started = time.perf_counter()
        shipped = client.scatter(case, broadcast=True)
        futures = [client.submit(run_slice, shipped, args.samples, first, count, pure=False)
                   for first, count in split(args.samples, args.tasks)]
        rows = pd.concat(client.gather(futures))
        pd.testing.assert_frame_equal(rows, single)
        p = reserves_percentiles(rows[OUTCOME].dropna())
        assert p == whole.statistics().loc[OUTCOME, ["p90", "p50", "p10"]].tolist()
        print(f"slices:       {len(rows)} samples in {time.perf_counter() - started:.1f} s on "
              f"{len(client.scheduler_info()['workers'])} workers, RF P90/P50/P10 = {p}: "
              f"equal to the single process")

        # 2. A table of samples through map_partitions.
        started = time.perf_counter()
        inputs = single[list(VARY)]
        table = dd.from_pandas(inputs, npartitions=args.tasks)
        meta = morvek.evaluate(case, inputs.iloc[:0])
        evaluate = functools.partial(morvek.evaluate, case, threads=1)
        outcomes = table.map_partitions(evaluate, meta=meta).compute()
        pd.testing.assert_frame_equal(outcomes, single.drop(columns=list(VARY)))
        print(f"evaluate:     {len(outcomes)} samples in {time.perf_counter() - started:.1f} s, "
              f"equal to the single process")
    if cluster is not None:
        cluster.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
