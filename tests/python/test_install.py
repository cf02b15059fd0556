"""cmake --install puts the package where Debian's interpreter finds it, with
its stub file, and the stub declares what the module offers."""

import ast
import os
import pathlib
import subprocess
import sys

import morvek
from conftest import EXAMPLES, SOURCE

BUILD = pathlib.Path(os.environ.get("MORVEK_BUILD_DIR", SOURCE / "build"))


def test_installed_package_imports_and_predicts_from_a_prefix(tmp_path):
    prefix = tmp_path / "prefix"
    subprocess.run(["cmake", "--install", str(BUILD), "--component", "python", "--prefix",
                    str(prefix)], check=True, capture_output=True)
    # A prefix the interpreter does not search: the documented PYTHONPATH.
    site = prefix / "lib" / "python3" / "dist-packages"
    assert (site / "morvek" / "__init__.pyi").is_file()
    assert (site / "morvek" / "py.typed").is_file()
    script = ("import morvek, sys; r = morvek.Case.load(sys.argv[1]).predict(); "
              "print(morvek.__file__, len(r))")
    env = dict(os.environ, PYTHONPATH=str(site))
    done = subprocess.run(["/usr/bin/python3", "-c", script, str(EXAMPLES / "nordfeld.mvk")],
                          env=env, capture_output=True, text=True, cwd=tmp_path, check=True)
    assert done.stdout.startswith(str(site / "morvek")) and done.stdout.split()[1] == "498"


def stub_declarations():
    tree = ast.parse((pathlib.Path(morvek.__file__).parent / "__init__.pyi").read_text())
    names = {}
    for node in tree.body:
        if isinstance(node, ast.ClassDef):
            members = set()
            for item in node.body:
                if isinstance(item, (ast.FunctionDef, ast.AnnAssign)):
                    members.add(item.name if isinstance(item, ast.FunctionDef) else item.target.id)
            names[node.name] = members
        elif isinstance(node, ast.FunctionDef):
            names[node.name] = set()
    return names


def test_the_stub_declares_every_public_name_of_the_module():
    stub = stub_declarations()
    for name in morvek.__all__:
        assert name in stub, name
        if isinstance(getattr(morvek, name), type) and not issubclass(getattr(morvek, name),
                                                                      BaseException):
            cls = getattr(morvek, name)
            public = {m for m in vars(cls) if not m.startswith("_")}
            assert public <= stub[name], (name, public - stub[name])
    assert {f.name for f in morvek.fields()} <= stub["Case"]
