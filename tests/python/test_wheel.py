"""The wheel: pip builds it offline with the in-tree backend (CMake with
MORVEK_PYTHON_ONLY), it installs into a venv that sees Debian's NumPy and pandas,
imports there with its version, stub and stripped extension, computes what
batch mode computes, and pip uninstall removes every file of it."""

import os
import pathlib
import re
import subprocess
import zipfile

from conftest import EXAMPLES, SOURCE, batch

BUILD = pathlib.Path(os.environ.get("MORVEK_BUILD_DIR", SOURCE / "build"))


def run(*args, cwd, env):
    done = subprocess.run([str(a) for a in args], cwd=cwd, env=env, capture_output=True,
                          text=True, timeout=3000)
    assert done.returncode == 0, done.stdout[-3000:] + done.stderr[-3000:]
    return done.stdout


def test_the_wheel_builds_installs_imports_and_uninstalls(tmp_path):
    env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "PYTHONDONTWRITEBYTECODE")}
    env["MORVEK_WHEEL_BUILD_DIR"] = str(BUILD / "wheel-build")
    env["PIP_NO_INDEX"] = "1"  # offline: nothing but what the system has
    run("/usr/bin/python3", "-m", "pip", "wheel", SOURCE, "--no-build-isolation", "--no-deps",
        "-w", tmp_path / "wheels", cwd=tmp_path, env=env)
    (wheel,) = (tmp_path / "wheels").glob("morvek-*.whl")
    version = re.search(r"project\(morvek\s+VERSION\s+([0-9.]+)",
                        (SOURCE / "CMakeLists.txt").read_text()).group(1)
    assert wheel.name.startswith(f"morvek-{version}-cp311-cp311-")
    with zipfile.ZipFile(wheel) as z:
        names = z.namelist()
        metadata = z.read(f"morvek-{version}.dist-info/METADATA").decode()
        (extension,) = [n for n in names if n.endswith(".so")]
        z.extract(extension, tmp_path / "unpacked")
    assert {"morvek/__init__.py", "morvek/__init__.pyi", "morvek/py.typed"} <= set(names)
    assert "Requires-Dist: numpy" in metadata and "Requires-Dist: pandas" in metadata
    assert f"Version: {version}" in metadata
    sections = run("readelf", "-S", "-W", tmp_path / "unpacked" / extension, cwd=tmp_path, env=env)
    assert ".debug_info" not in sections and ".symtab" not in sections  # stripped
    assert (tmp_path / "unpacked" / extension).stat().st_size < 20 * 2**20

    venv = tmp_path / "venv"
    run("/usr/bin/python3", "-m", "venv", "--system-site-packages", venv, cwd=tmp_path, env=env)
    python = venv / "bin" / "python"
    run(python, "-m", "pip", "install", wheel, cwd=tmp_path, env=env)
    script = ("import importlib.metadata, sys, morvek; "
              "print(morvek.__file__); print(importlib.metadata.version('morvek')); "
              "sys.stdout.write(morvek.Case.load(sys.argv[1]).predict().report())")
    out = run(python, "-c", script, EXAMPLES / "nordfeld.mvk", cwd=tmp_path, env=env)
    where, installed, report = out.split("\n", 2)
    assert where.startswith(str(venv)) and installed == version
    assert report.encode("utf-8") == batch(EXAMPLES / "nordfeld.mvk")[1]
    package = pathlib.Path(where).parent
    assert (package / "__init__.pyi").is_file() and (package / "py.typed").is_file()

    run(python, "-m", "pip", "uninstall", "-y", "morvek", cwd=tmp_path, env=env)
    assert not package.exists()
    assert not list(package.parent.glob("morvek-*.dist-info"))
    gone = subprocess.run([python, "-c", "import morvek"], cwd=tmp_path, env=env,
                          capture_output=True)
    assert gone.returncode != 0

    # pip install . in the venv: the isolated build needs nothing from outside.
    run(python, "-m", "pip", "install", SOURCE, cwd=tmp_path, env=env)
    assert run(python, "-c", "import morvek; print(morvek.__version__)", cwd=tmp_path,
               env=env).strip() == version
