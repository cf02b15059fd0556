"""The Dask scale-out of examples/dask_sweep.py, run small on a LocalCluster:
slices of one design and evaluate over a sample table equal the single-process
sweep (the example asserts it)."""

import os
import subprocess
import sys

import morvek
from conftest import EXAMPLES


def test_the_dask_example_runs_small_and_equals_one_process(tmp_path):
    done = subprocess.run([sys.executable, str(EXAMPLES / "dask_sweep.py"), "--samples", "3000",
                           "--workers", "2", "--tasks", "7"], capture_output=True, text=True,
                          cwd=tmp_path, timeout=600,
                          env=dict(os.environ, PYTHONPATH=os.path.dirname(os.path.dirname(morvek.__file__))))
    assert done.returncode == 0, done.stdout + done.stderr
    lines = done.stdout.splitlines()
    assert lines[0].startswith("one process:  3000 samples")
    assert "equal to the single process" in lines[1] and "on 2 workers" in lines[1]
    assert lines[2].startswith("evaluate:     3000 samples")
