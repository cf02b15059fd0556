"""Shared pieces of the Python module's tests: where the sources, the example
cases and the batch program are, and a batch run to compare against.

ctest runs these with /usr/bin/python3 -m pytest and PYTHONPATH=build/python;
MORVEK_EXE names the batch program (build/morvek when run by hand).
"""

import os
import pathlib
import subprocess

import pytest

SOURCE = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = SOURCE / "examples"
MORVEK_EXE = os.environ.get("MORVEK_EXE", str(SOURCE / "build" / "morvek"))


def golden_cases():
    """The golden cases: (name, example file, [(record name, value), ...])."""
    cases = []
    for line in (SOURCE / "tests" / "golden" / "cases.txt").read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        name, example, options = (part.strip() for part in line.split("|"))
        words = options.split()
        assert words[0::2] == ["--set"] * (len(words) // 2), line
        settings = [tuple(w.split("=", 1)) for w in words[1::2]]
        cases.append((name, example, settings))
    return cases


def batch(*args, cwd=None):
    """Runs batch mode; returns (exit status, stdout bytes, stderr text)."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    done = subprocess.run([MORVEK_EXE, "--batch", *map(str, args)], capture_output=True,
                          env=env, cwd=cwd, timeout=60)
    return done.returncode, done.stdout, done.stderr.decode("utf-8")


@pytest.fixture
def nordfeld():
    import morvek

    return morvek.Case.load(EXAMPLES / "nordfeld.mvk")
