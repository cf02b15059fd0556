"""The stub file passes mypy --strict and stubtest against the module as built,
and every function and method has a signature that inspect can read, with the
names of its parameters."""

import inspect
import os
import pathlib
import subprocess

import pytest

import morvek

PACKAGE = pathlib.Path(morvek.__file__).parent


def run_mypy(*args, cwd):
    env = dict(os.environ, PYTHONPATH=str(PACKAGE.parent), MYPY_CACHE_DIR=str(cwd / "cache"))
    return subprocess.run(["/usr/bin/python3", "-m", *args], capture_output=True, text=True,
                          cwd=cwd, env=env, timeout=600)


def test_the_stub_passes_mypy_strict_and_stubtest(tmp_path):
    strict = run_mypy("mypy", "--strict", str(PACKAGE / "__init__.pyi"), cwd=tmp_path)
    assert strict.returncode == 0, strict.stdout + strict.stderr
    # A user's code type-checks against it: a call with the wrong type is found.
    user = tmp_path / "user.py"
    user.write_text("import morvek\n"
                    "case = morvek.Case.load('x.mvk')\n"
                    "rf: float = case.predict().recovery_factor\n"
                    "frame = morvek.predict_many([case], outcomes_only=True)\n"
                    "case.predict().p_bar = None\n")
    checked = run_mypy("mypy", "--strict", str(user), cwd=tmp_path)
    assert checked.returncode == 1, checked.stdout
    errors = [line for line in checked.stdout.splitlines() if "error:" in line]
    assert errors and all(line.startswith("user.py:5:") for line in errors), checked.stdout
    assert any("read-only" in line for line in errors), checked.stdout
    stubtest = run_mypy("mypy.stubtest", "morvek", cwd=tmp_path)
    assert stubtest.returncode == 0, stubtest.stdout + stubtest.stderr


def public_callables():
    for name in morvek.__all__:
        obj = getattr(morvek, name)
        if isinstance(obj, type) and issubclass(obj, BaseException):
            continue
        if isinstance(obj, type):
            for member, value in vars(obj).items():
                if callable(value) and (not member.startswith("_") or member in (
                        "__getitem__", "__setitem__", "__contains__", "__len__", "__reduce__")):
                    yield f"{name}.{member}", getattr(obj, member)
            if name in ("Case", "Fluid"):  # the others come from calls only
                yield name, obj
        else:
            yield name, obj


@pytest.mark.parametrize("name,obj", list(public_callables()), ids=lambda v: str(v)[:40])
def test_every_function_has_a_signature_with_named_parameters(name, obj):
    signature = inspect.signature(obj)
    for parameter in signature.parameters.values():
        assert not parameter.name.startswith("arg"), (name, signature)
    # Bound methods lose self.
    if "." in name and "self" in signature.parameters and name.split(".")[0] in (
            "Case",) and not name.endswith((".load",)):
        bound = getattr(morvek.Case(), name.split(".")[1])
        assert "self" not in inspect.signature(bound).parameters


def test_signatures_name_what_the_calls_take():
    assert list(inspect.signature(morvek.sweep).parameters) == [
        "case", "vary", "samples", "sampling", "seed", "threads", "abandon_bar",
        "use_api_from_initial_gor", "first_sample", "count", "forecast", "np_by"]
    assert str(inspect.signature(morvek.Case().predict)) == "(*, use_api_from_initial_gor=False)"
    assert str(inspect.signature(morvek.Fluid)) == "(case, *, use_api_from_initial_gor=False)"
    assert list(inspect.signature(morvek.evaluate).parameters)[:4] == [
        "case", "samples", "outcomes", "threads"]
