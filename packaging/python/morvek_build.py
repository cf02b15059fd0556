"""The build backend of the Python package morvek (PEP 517), in the source tree
so that a wheel builds offline with the system's own tools:

    python3 -m pip wheel . --no-build-isolation --no-deps   # a wheel in the current folder
    python3 -m pip install .                          # in a venv (--system-site-packages)

It configures CMake with MORVEK_PYTHON_ONLY (the engine and the module: no Qt,
no tests, no -Werror), builds the package (extension, __init__.py, the stub
__init__.pyi, py.typed), strips the extension and writes the wheel with its
dist-info: the version is the project's (CMakeLists.txt), the dependencies
those of pyproject.toml. The build folder is MORVEK_WHEEL_BUILD_DIR, else
build-wheel in the source tree; a second build only rebuilds what changed, and
ccache (when installed) shares its objects with the default build.
"""

import base64
import hashlib
import io
import os
import pathlib
import re
import shutil
import subprocess
import sys
import sysconfig
import tarfile
import tomllib
import zipfile

SOURCE = pathlib.Path(__file__).resolve().parents[2]


def _version():
    text = (SOURCE / "CMakeLists.txt").read_text(encoding="utf-8")
    found = re.search(r"project\(morvek\s+VERSION\s+([0-9.]+)", text)
    if not found:
        raise RuntimeError("CMakeLists.txt names no project version")
    return found.group(1)


def _project():
    with open(SOURCE / "pyproject.toml", "rb") as f:
        return tomllib.load(f)["project"]


def _metadata():
    project = _project()
    lines = ["Metadata-Version: 2.1", f"Name: {project['name']}", f"Version: {_version()}",
             f"Summary: {project['description']}",
             f"Requires-Python: {project['requires-python']}"]
    lines += [f"Requires-Dist: {d}" for d in project.get("dependencies", [])]
    lines += [f"License: {project['license']['text']}"] if "license" in project else []
    readme = project.get("readme")
    body = (SOURCE / readme).read_text(encoding="utf-8") if readme else ""
    if body:
        lines.append("Description-Content-Type: text/markdown")
    return "\n".join(lines) + "\n\n" + body


def _tag():
    interpreter = f"cp{sys.version_info.major}{sys.version_info.minor}"
    platform = sysconfig.get_platform().replace("-", "_").replace(".", "_")
    return f"{interpreter}-{interpreter}-{platform}"


def _interpreter():
    """The interpreter the module is built for: this one's base (a venv's python
    is the system's), which also writes the stub (it has NumPy)."""
    return getattr(sys, "_base_executable", None) or sys.executable


def _build_package():
    build = pathlib.Path(os.environ.get("MORVEK_WHEEL_BUILD_DIR", SOURCE / "build-wheel"))
    env = dict(os.environ)
    args = ["cmake", "-S", str(SOURCE), "-B", str(build), "-DMORVEK_PYTHON_ONLY=ON",
            "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DCMAKE_CXX_FLAGS=-Wall -Wextra",
            f"-DMORVEK_PYTHON={_interpreter()}"]
    if shutil.which("ninja"):
        args += ["-G", "Ninja"] if not (build / "CMakeCache.txt").exists() else []
    if shutil.which("ccache"):
        args.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        # The same objects as the default build's, which differs in -Werror and
        # its folder only.
        env.setdefault("CCACHE_IGNOREOPTIONS", "-Werror")
        env.setdefault("CCACHE_NOHASHDIR", "true")
    out = sys.stderr
    subprocess.run(args, check=True, env=env, stdout=out)
    jobs = os.environ.get("MORVEK_WHEEL_JOBS", str(os.cpu_count() or 1))
    subprocess.run(["cmake", "--build", str(build), "--target", "morvek_python_package", "-j",
                    jobs], check=True, env=env, stdout=out)
    return build / "python" / "morvek"


def _record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{name},sha256={digest},{len(data)}"


def get_requires_for_build_wheel(config_settings=None):
    return []


def get_requires_for_build_sdist(config_settings=None):
    return []


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    package = _build_package()
    version = _version()
    files = {}
    for path in sorted(package.iterdir()):
        if path.name.endswith(".so"):
            stripped = pathlib.Path(wheel_directory) / (path.name + ".stripped")
            shutil.copyfile(path, stripped)
            subprocess.run(["strip", "--strip-unneeded", str(stripped)], check=True)
            files[f"morvek/{path.name}"] = stripped.read_bytes()
            stripped.unlink()
        elif path.name in ("__init__.py", "__init__.pyi", "py.typed"):
            files[f"morvek/{path.name}"] = path.read_bytes()
    if not any(name.endswith(".so") for name in files) or "morvek/__init__.pyi" not in files:
        raise RuntimeError(f"{package}: the package is incomplete")
    info = f"morvek-{version}.dist-info"
    files[f"{info}/METADATA"] = _metadata().encode("utf-8")
    files[f"{info}/WHEEL"] = (f"Wheel-Version: 1.0\nGenerator: morvek_build\n"
                              f"Root-Is-Purelib: false\nTag: {_tag()}\n").encode()
    files[f"{info}/top_level.txt"] = b"morvek\n"
    record = [_record_line(name, data) for name, data in files.items()] + [f"{info}/RECORD,,"]
    files[f"{info}/RECORD"] = ("\n".join(record) + "\n").encode()
    name = f"morvek-{version}-{_tag()}.whl"
    with zipfile.ZipFile(pathlib.Path(wheel_directory) / name, "w",
                         compression=zipfile.ZIP_DEFLATED) as wheel:
        for entry, data in files.items():
            info_entry = zipfile.ZipInfo(entry, date_time=(2020, 1, 1, 0, 0, 0))
            info_entry.external_attr = (0o755 if entry.endswith(".so") else 0o644) << 16
            info_entry.compress_type = zipfile.ZIP_DEFLATED
            wheel.writestr(info_entry, data)
    return name


def build_sdist(sdist_directory, config_settings=None):
    """The source tree as git knows it (or without build folders)."""
    base = f"morvek-{_version()}"
    try:
        listed = subprocess.run(["git", "ls-files", "-z"], cwd=SOURCE, capture_output=True,
                                check=True).stdout.decode().split("\0")
        names = [n for n in listed if n and (SOURCE / n).is_file()]
    except (OSError, subprocess.CalledProcessError):
        names = [str(p.relative_to(SOURCE)) for p in SOURCE.rglob("*")
                 if p.is_file() and not p.relative_to(SOURCE).parts[0].startswith(("build", "."))]
    name = f"{base}.tar.gz"
    with tarfile.open(pathlib.Path(sdist_directory) / name, "w:gz") as sdist:
        for n in sorted(names):
            sdist.add(SOURCE / n, arcname=f"{base}/{n}")
        pkg_info = _metadata().encode("utf-8")
        entry = tarfile.TarInfo(f"{base}/PKG-INFO")
        entry.size = len(pkg_info)
        sdist.addfile(entry, io.BytesIO(pkg_info))
    return name
