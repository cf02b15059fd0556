"""Fuzzes the pickles of the Python module: random bytes and mutations of the
pickles of every class (every protocol) go to pickle.loads in worker
processes, and every object that comes back is used (every property and
method without arguments). A worker may see Python exceptions only: a signal
(a crash) or a hang is a finding, which is minimised to the one input and
written to the corpus folder as crash-<hash> with a non-zero exit.

    PYTHONPATH=build/python /usr/bin/python3 fuzz/fuzz_pickle.py [--seconds 60] [--corpus DIR]

Only the module's own names (and copyreg's reconstructors, which foreign
pickles use to make objects without __init__) are resolved, so a mutation can
never call anything else.
"""

import argparse
import hashlib
import os
import pathlib
import pickle
import random
import resource
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
EXAMPLES = HERE.parent / "examples"
BATCH = 100


class ModuleOnly(pickle.Unpickler):
    def find_class(self, module, name):
        if module == "morvek" or (module == "copyreg" and name in ("_reconstructor",
                                                                   "__newobj__")):
            return super().find_class(module, name)
        if module == "builtins" and name in ("object", "list", "dict", "tuple"):
            return super().find_class(module, name)
        raise pickle.UnpicklingError(f"{module}.{name} is not the module's")


def use(obj):
    """Every property and argument-free method of the object (and of the items
    of a list or tuple)."""
    items = list(obj) if isinstance(obj, (list, tuple)) else [obj]
    for item in items[:4]:
        repr(item)
        for name in dir(type(item)):
            if name.startswith("_") and name not in ("__len__", "__reduce__"):
                continue
            if name in ("save", "load", "match", "copy"):
                continue
            try:
                value = getattr(item, name)
                if callable(value):
                    value()
            except Exception:
                pass


def worker(path):
    resource.setrlimit(resource.RLIMIT_AS, (4 << 30, 4 << 30))
    import io

    import morvek  # noqa: F401  (the names the pickles resolve)

    with open(path, "rb") as f:
        inputs = pickle.load(f)
    for data in inputs:
        try:
            use(ModuleOnly(io.BytesIO(data)).load())
        except Exception:
            pass
    return 0


def seeds():
    import morvek

    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    tabled = case.copy()
    tabled.read_pvt_table(EXAMPLES / "tabellen" / "nordfeld-pvt.txt")
    tabled.read_relperm_table(EXAMPLES / "tabellen" / "nordfeld-relperm.txt")
    short = case.copy()
    short.initial_pressure_bar = short.bubble_point_pressure_bar = 30
    short.measured_rows = []
    objects = [case, tabled, short.predict(), tabled.predict(), short.pvt_table(),
               short.relperm_table(), morvek.Fluid(tabled), case.match(["ooip"]),
               morvek.sweep(short, {"ooip": (4000, 6000), "sgc": (0.02, 0.05, 0.1)}, samples=6,
                            abandon_bar=10, first_sample=2, count=4),
               morvek.fields()[0], morvek.predict_many([short, short])]
    out = [pickle.dumps(o, p) for o in objects for p in range(pickle.HIGHEST_PROTOCOL + 1)]
    for name in ("Case", "Prediction", "MatchResult", "SweepResult", "PvtTable", "RelPermTable",
                 "Fluid", "FieldInfo"):
        out.append(b"\x80\x02cmorvek\n" + name.encode() + b"\n)\x81.")
        out.append(b"\x80\x02ccopyreg\n_reconstructor\ncmorvek\n" + name.encode() +
                   b"\ncbuiltins\nobject\nN\x87R.")
    return out


def mutate(rng, data, pool):
    data = bytearray(data)
    for _ in range(rng.randint(1, 6)):
        kind = rng.randrange(7)
        if kind == 0 and data:
            data[rng.randrange(len(data))] = rng.randrange(256)
        elif kind == 1:
            at = rng.randrange(len(data) + 1)
            data[at:at] = rng.randbytes(rng.randint(1, 8))
        elif kind == 2 and data:
            at = rng.randrange(len(data))
            del data[at:at + rng.randint(1, 16)]
        elif kind == 3 and data:
            data = data[:rng.randrange(len(data))]
        elif kind == 4:
            other = rng.choice(pool)
            at, cut = rng.randrange(len(data) + 1), rng.randrange(len(other) + 1)
            data = data[:at] + other[cut:cut + rng.randint(1, 64)] + data[at:]
        elif kind == 5 and len(data) > 8:
            at = rng.randrange(len(data) - 8)
            data[at:at + 8] = rng.choice([b"\xff" * 8, b"\x00" * 8, b"\x7f\xf8" + b"\0" * 6,
                                          rng.randbytes(8)])
        else:
            data = bytearray(rng.randbytes(rng.randint(1, 64)))
    return bytes(data)


def run_batch(inputs, env):
    with tempfile.NamedTemporaryFile(suffix=".pickles", delete=False) as f:
        pickle.dump(inputs, f)
    try:
        done = subprocess.run([sys.executable, __file__, "--worker", f.name], env=env,
                              capture_output=True, timeout=300)
        return done.returncode, done.stderr
    except subprocess.TimeoutExpired:
        return "hang", b""
    finally:
        os.unlink(f.name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--corpus", type=pathlib.Path, default=HERE / "corpus" / "pickle")
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--worker")
    args = parser.parse_args()
    if args.worker:
        return worker(args.worker)

    rng = random.Random(args.seed)
    pool = seeds() + [p.read_bytes() for p in sorted(args.corpus.glob("*")) if p.is_file()]
    env = dict(os.environ)
    # First the seeds and the corpus as they are, then mutations until time is up.
    batches = [pool[i:i + BATCH] for i in range(0, len(pool), BATCH)]
    deadline = time.monotonic() + args.seconds
    runs = 0
    while batches or time.monotonic() < deadline:
        inputs = batches.pop(0) if batches else [mutate(rng, rng.choice(pool), pool)
                                                 for _ in range(BATCH)]
        status, stderr = run_batch(inputs, env)
        runs += len(inputs)
        if status != 0:
            for data in inputs:  # the one input that does it
                if run_batch([data], env)[0] != 0:
                    args.corpus.mkdir(parents=True, exist_ok=True)
                    found = args.corpus / f"crash-{hashlib.sha1(data).hexdigest()[:16]}"
                    found.write_bytes(data)
                    print(f"finding ({status}): {found}\n{stderr.decode(errors='replace')[-2000:]}")
                    return 1
            print(f"finding ({status}) in a batch, not by one input alone")
            return 1
    print(f"{runs} pickles, no finding")
    return 0


if __name__ == "__main__":
    sys.exit(main())
