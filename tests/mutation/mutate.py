#!/usr/bin/python3
"""Mutation testing of Morvek: applies each mutant of tests/mutation/mutants.txt
to a scratch copy of the tree, rebuilds it incrementally and runs the tests the
change can reach; a mutant is killed when one of them fails (or times out).

    tests/mutation/mutate.py                 every mutant, then the score
    tests/mutation/mutate.py --only 'match'  the mutants whose id matches
    tests/mutation/mutate.py --check         only: does every mutant apply?

The scratch copy lives in build-mutation/tree (its build in
build-mutation/tree/build, configured like the default preset but without
debug information and without -Werror, neither of which changes the code the
compiler makes). It is brought up to date with the working tree at the start
of every run, so only what changed since is compiled again; ccache makes the
mutated file's return to its original cheap.

Which tests a mutant can reach: every test whose program (or a file its
command line or environment names inside the build, such as the Python module
or the morvek program the golden masters run) differs byte for byte from the
build without the mutant, and every test whose program holds the path of such
a changed program (it may start it). A test whose files are all unchanged
behaves as it did in the unmutated build, which passed. The tests named by a
mutant's `tests` run first; when they all pass the other reachable ones run.
"""

import argparse
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
KEYS = ("file", "find", "replace", "about", "tests", "equivalent")


class Mutant:
    def __init__(self, ident, line):
        self.id = ident
        self.line = line
        self.fields = {}

    def __getattr__(self, name):
        if name in KEYS:
            return self.fields.get(name, "")
        raise AttributeError(name)


def read_mutants(path):
    mutants, current, problems = [], None, []
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if line.startswith("#") or not line.strip():
                continue
            m = re.fullmatch(r"\[(\S+)\]\s*", line)
            if m:
                current = Mutant(m.group(1), number)
                mutants.append(current)
                continue
            m = re.fullmatch(r"(\w+) =(.*)", line)
            if not m or current is None:
                problems.append(f"{path}:{number}: neither [id] nor 'key = value'")
                continue
            key, value = m.group(1), m.group(2).strip()
            if key not in KEYS:
                problems.append(f"{path}:{number}: unknown key {key}")
            elif key in current.fields:
                problems.append(f"{path}:{number}: {key} twice in [{current.id}]")
            else:
                current.fields[key] = value
    seen = set()
    for m in mutants:
        for key in ("file", "find", "about"):
            if not m.fields.get(key):
                problems.append(f"{path}:{m.line}: [{m.id}] has no {key}")
        if "replace" not in m.fields:
            problems.append(f"{path}:{m.line}: [{m.id}] has no replace")
        if m.fields.get("find") == m.fields.get("replace"):
            problems.append(f"{path}:{m.line}: [{m.id}] replaces its text by itself")
        if m.id in seen:
            problems.append(f"{path}:{m.line}: [{m.id}] twice")
        seen.add(m.id)
    return mutants, problems


def applies(tree, m):
    """Why the mutant does not apply to the tree, or ""."""
    path = os.path.join(tree, m.file)
    if not os.path.isfile(path):
        return f"{m.file} does not exist"
    with open(path, encoding="utf-8") as f:
        count = f.read().count(m.find)
    if count != 1:
        return f"its text stands {count} times in {m.file}, not once"
    return ""


def run(cmd, log=None, cwd=None, env=None):
    out = subprocess.run(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True, errors="replace")
    if log:
        with open(log, "a", encoding="utf-8") as f:
            f.write("$ " + " ".join(cmd) + "\n" + out.stdout + "\n")
    return out


def sync_tree(tree):
    """Copies the working tree's files (tracked and untracked, not ignored)
    into the scratch tree where they differ; a copied file gets a new time, so
    that ninja compiles it again. Files gone from the working tree go."""
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            cwd=ROOT, stdout=subprocess.PIPE, check=True).stdout
    files = [f for f in listed.decode().split("\0") if f and os.path.isfile(os.path.join(ROOT, f))]
    wanted = set(files)
    copied = 0
    for rel in files:
        src, dst = os.path.join(ROOT, rel), os.path.join(tree, rel)
        with open(src, "rb") as f:
            data = f.read()
        if os.path.isfile(dst):
            with open(dst, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        with open(dst, "wb") as f:
            f.write(data)
        shutil.copymode(src, dst)
        copied += 1
    removed = 0
    for dirpath, dirnames, filenames in os.walk(tree):
        rel_dir = os.path.relpath(dirpath, tree)
        if rel_dir == "build" or rel_dir.startswith("build" + os.sep):
            dirnames[:] = []
            continue
        if rel_dir == ".":
            dirnames[:] = [d for d in dirnames if d != "build"]
        for name in filenames:
            rel = os.path.normpath(os.path.join(rel_dir, name))
            if rel not in wanted:
                os.remove(os.path.join(dirpath, name))
                removed += 1
    return copied, removed


def configure(tree, build, log):
    if os.path.isfile(os.path.join(build, "build.ninja")):
        return True
    cmd = ["cmake", "-S", tree, "-B", build, "-G", "Ninja",
           "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
           "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG",
           "-DCMAKE_CXX_COMPILER=g++", "-DCMAKE_CXX_FLAGS=-Wall -Wextra",
           "-DMORVEK_BUILD_BENCH=OFF"]
    if shutil.which("ccache"):
        cmd.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    return run(cmd, log).returncode == 0


def build_tree(build, jobs, log):
    return run(["nice", "cmake", "--build", build, "-j", str(jobs)], log).returncode == 0


def list_tests(build):
    out = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, check=True)
    tests = []
    for index, t in enumerate(json.loads(out.stdout)["tests"], 1):
        env = []
        for p in t.get("properties", []):
            if p["name"] == "ENVIRONMENT":
                env = p["value"]
        tests.append({"index": index, "name": t["name"], "command": t.get("command", []),
                      "env": env})
    return tests


def files_of(test, build):
    """The files inside the build a test names (program, arguments,
    environment), directories as every file in them."""
    build = os.path.realpath(build)
    words = list(test["command"])
    for e in test["env"]:
        value = e.split("=", 1)[-1]
        words += re.split(r"[;:]", value)
    found = set()
    for w in words:
        if not w.startswith("/"):
            continue
        p = os.path.realpath(w)
        if not (p == build or p.startswith(build + os.sep)) or p == build:
            continue
        if os.path.isfile(p):
            found.add(p)
        elif os.path.isdir(p):
            for dirpath, _, names in os.walk(p):
                for n in names:
                    found.add(os.path.join(dirpath, n))
    return found


def digest(path):
    h = hashlib.sha1()
    try:
        with open(path, "rb") as f:
            for block in iter(lambda: f.read(1 << 20), b""):
                h.update(block)
    except OSError:
        return None
    return h.hexdigest()


class Reach:
    """Which tests a rebuilt tree's changes can reach."""

    def __init__(self, tests, build):
        self.tests = tests
        self.files = {t["name"]: files_of(t, build) for t in tests}
        watched = set().union(*self.files.values()) if self.files else set()
        self.baseline = {p: digest(p) for p in watched}
        programs = [p for p in watched if os.access(p, os.X_OK)]
        # Which programs may start which: the path of one inside the other.
        self.starts = {}
        for p in programs:
            try:
                with open(p, "rb") as f:
                    data = f.read()
            except OSError:
                continue
            self.starts[p] = {q for q in programs if q != p and q.encode() in data}

    def reached(self):
        changed = {p for p, d in self.baseline.items() if digest(p) != d}
        out = []
        for t in self.tests:
            mine = self.files[t["name"]]
            started = set().union(*(self.starts.get(p, set()) for p in mine)) if mine else set()
            if (mine | started) & changed:
                out.append(t)
        return out, changed


FAILED = re.compile(r"^\s*\d+ - (\S+) \(([^)]*)\)")


def run_tests(build, tests, jobs, timeout, log):
    """Runs the tests (stopping at the first failure); the names that failed."""
    if not tests:
        return []
    numbers = ",".join(str(t["index"]) for t in tests)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    out = run(["nice", "ctest", "--test-dir", build, "-j", str(jobs), "--timeout", str(timeout),
               "--stop-on-failure", "-I", f"0,0,0,{numbers}"], log, env=env)
    failed = []
    in_list = False
    for line in out.stdout.splitlines():
        if line.startswith("The following tests FAILED"):
            in_list = True
            continue
        m = FAILED.match(line) if in_list else None
        if m:
            failed.append(f"{m.group(1)} ({m.group(2)})")
    if out.returncode != 0 and not failed:
        failed.append("ctest failed: see " + log)
    return failed


def minutes(seconds):
    return f"{int(seconds) // 60}m{int(seconds) % 60:02d}s"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--list", default=os.path.join(ROOT, "tests/mutation/mutants.txt"))
    parser.add_argument("--only", help="run only the mutants whose id matches this expression")
    parser.add_argument("--check", action="store_true", help="only check that every mutant applies")
    parser.add_argument("--scratch", default=os.path.join(ROOT, "build-mutation"))
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--timeout", type=int, default=900, help="seconds per test")
    parser.add_argument("--no-baseline", action="store_true",
                        help="trust that the unmutated tree passes every test (skips its run)")
    parser.add_argument("--min-score", type=float, default=90.0)
    args = parser.parse_args()

    mutants, problems = read_mutants(args.list)
    for p in problems:
        print(p)
    if args.only:
        mutants = [m for m in mutants if re.search(args.only, m.id)]
    stale = [(m, applies(ROOT, m)) for m in mutants]
    stale = [(m, why) for m, why in stale if why]
    for m, why in stale:
        print(f"stale: [{m.id}] {why}")
    if args.check:
        print(f"{len(mutants)} mutants, {len(stale)} stale, {len(problems)} problems in the list")
        return 1 if stale or problems else 0
    if problems:
        return 1
    runnable = [m for m in mutants if m not in {s for s, _ in stale}]

    tree = os.path.join(args.scratch, "tree")
    build = os.path.join(tree, "build")
    logs = os.path.join(args.scratch, "logs")
    os.makedirs(logs, exist_ok=True)
    os.makedirs(tree, exist_ok=True)
    setup_log = os.path.join(logs, "setup.log")
    open(setup_log, "w").close()

    started = time.time()
    copied, removed = sync_tree(tree)
    print(f"scratch tree {tree}: {copied} files copied, {removed} removed")
    if not configure(tree, build, setup_log) or not build_tree(build, args.jobs, setup_log):
        print(f"the unmutated tree does not build: see {setup_log}")
        return 2
    tests = list_tests(build)
    print(f"built in {minutes(time.time() - started)}; {len(tests)} tests")
    if not args.no_baseline:
        t0 = time.time()
        failed = run_tests(build, tests, args.jobs, args.timeout, setup_log)
        if failed:
            print("the unmutated tree fails " + ", ".join(failed) + f": see {setup_log}")
            return 2
        print(f"the unmutated tree passes every test ({minutes(time.time() - t0)})")
    reach = Reach(tests, build)

    results = []
    try:
        for number, m in enumerate(runnable, 1):
            t0 = time.time()
            log = os.path.join(logs, m.id + ".log")
            open(log, "w").close()
            path = os.path.join(tree, m.file)
            with open(path, encoding="utf-8") as f:
                original = f.read()
            with open(path, "w", encoding="utf-8") as f:
                f.write(original.replace(m.find, m.replace, 1))
            try:
                if not build_tree(build, args.jobs, log):
                    status, detail, count = "does not compile", "", 0
                else:
                    reached, changed = reach.reached()
                    count = len(reached)
                    first = [t for t in reached if m.tests and re.search(m.tests, t["name"])]
                    rest = [t for t in reached if t not in first]
                    failed = run_tests(build, first, args.jobs, args.timeout, log)
                    if not failed:
                        failed = run_tests(build, rest, args.jobs, args.timeout, log)
                    if failed:
                        status, detail = "killed", "by " + failed[0]
                    elif not reached:
                        status, detail = "survived", "(no test program changed)"
                    else:
                        status, detail = "survived", ""
            finally:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original)
            results.append((m, status, detail))
            print(f"[{number:2d}/{len(runnable)}] {m.id}: {status} {detail} "
                  f"({count} tests reached, {minutes(time.time() - t0)})", flush=True)
    finally:
        # Back to the unmutated build, so that the next run starts from it.
        build_tree(build, args.jobs, setup_log)

    killed = [r for r in results if r[1] == "killed"]
    survived = [r for r in results if r[1] == "survived"]
    broken = [r for r in results if r[1] == "does not compile"]
    scored = len(killed) + len(survived)
    score = 100.0 * len(killed) / scored if scored else 0.0
    print()
    print(f"Mutation score: {len(killed)} of {scored} killed ({score:.1f} %)"
          f"; {len(broken)} do not compile, {len(stale)} stale; {minutes(time.time() - started)}")
    for m, _, detail in survived:
        print(f"  survived [{m.id}] {m.file}: {m.about} {detail}")
        if m.equivalent:
            print(f"           equivalent: {m.equivalent}")
    for m, _, _ in broken:
        print(f"  does not compile [{m.id}] {m.file}: see {os.path.join(logs, m.id + '.log')}")
    for m, why in stale:
        print(f"  stale [{m.id}]: {why}")
    return 0 if score >= args.min_score and not broken and not stale else 1


if __name__ == "__main__":
    sys.exit(main())
