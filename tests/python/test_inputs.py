"""Bad input raises with the program's German message and changes nothing:
assignments as --set (and so the data-entry dialog) refuses them, cases that
fail the OK button's checks, damaged and missing files. Nothing is printed."""

import math
import pickle
import warnings

import pytest

import morvek
from conftest import EXAMPLES, batch

NORDFELD = EXAMPLES / "nordfeld.mvk"


def set_message(name, value):
    """Batch mode's message for --set NAME=VALUE, without its prefix."""
    status, _, stderr = batch(NORDFELD, "--set", f"{name}={value}")
    assert status == 2
    prefix = f"--set {name}={value}: "
    assert stderr.startswith(prefix), stderr
    return stderr[len(prefix):].rstrip("\n")


def refused_values(field):
    if field.kind == "text":
        return ["Ωmega"]
    if field.kind == "choice":
        return [str(field.max + 1), "-1", "x"]
    values = ["abc", "1e39", "nan"]
    if field.min is not None:
        # Beyond the bounds by more than single precision rounds away.
        values += [repr(field.min - 0.5 - abs(field.min) * 0.01),
                   repr(field.max + 0.5 + abs(field.max) * 0.01)]
    return values


@pytest.mark.parametrize("field", morvek.fields(), ids=lambda f: f.record_name)
def test_assignments_are_refused_exactly_as_batch_mode_refuses_them(field, nordfeld):
    before = nordfeld.copy()
    for value in refused_values(field):
        message = set_message(field.record_name, value)
        with pytest.raises(morvek.InputError) as by_name:
            nordfeld[field.record_name] = value
        assert str(by_name.value) == message
        if field.kind == "number" and value != "abc":
            with pytest.raises(morvek.InputError) as as_number:
                setattr(nordfeld, field.name, float(value))
            assert str(as_number.value) == message
        assert nordfeld == before
    # A value of the wrong type is a TypeError, with the same German words.
    wrong = 1.5 if field.kind == "text" else [1]
    with pytest.raises(TypeError):
        setattr(nordfeld, field.name, wrong)
    assert nordfeld == before


@pytest.mark.parametrize("settings", [
    [("m_Swi", "0")],
    [("m_Entloesungsdruck", "300")],
    [("m_API", "9.8")],
    [("m_Swi", "0.6"), ("m_Sgc", "0.4")],
    [("m_OOIP", "500")],  # below the measured cumulative oil
    [(f"m_Gas[{i}]", "0") for i in range(15)],
], ids=lambda s: s[0][0])
def test_cases_that_fail_the_ok_checks_raise_batch_modes_message(settings, nordfeld):
    sets = [arg for name, value in settings for arg in ("--set", f"{name}={value}")]
    status, stdout, stderr = batch(NORDFELD, *sets)
    assert status == 2 and stdout == b""
    for name, value in settings:
        nordfeld[name] = value
    for call in (nordfeld.predict, nordfeld.pvt_table, nordfeld.relperm_table,
                 lambda: morvek.Fluid(nordfeld), lambda: morvek.predict_many([nordfeld])):
        with pytest.raises(morvek.InputError) as refused:
            call()
        assert str(refused.value).removeprefix("Fall 0: ") == stderr.rstrip("\n")


def test_damaged_case_files_raise_case_file_error_and_missing_ones_os_errors(tmp_path):
    data = NORDFELD.read_bytes()
    damaged = tmp_path / "damaged.mvk"
    for cut in range(len(data)):
        damaged.write_bytes(data[:cut])
        with pytest.raises(morvek.CaseFileError) as refused:
            morvek.Case.load(damaged)
        assert isinstance(refused.value, ValueError) and isinstance(refused.value, OSError)
        assert str(refused.value) == f"Die Datei {damaged} ist keine gültige Morvek-Datei."
    damaged.write_bytes(data + b"\0")
    with pytest.raises(morvek.CaseFileError):
        morvek.Case.load(damaged)
    with pytest.raises(FileNotFoundError) as missing:
        morvek.Case.load(tmp_path / "missing.mvk")
    assert "kann nicht gelesen werden" in str(missing.value)
    with pytest.raises(IsADirectoryError):
        morvek.Case.load(tmp_path)
    with pytest.raises(FileNotFoundError):
        morvek.Case().read_measured_data(tmp_path / "missing.txt")


def test_save_writes_what_the_program_saves_and_a_failed_save_keeps_the_file(tmp_path, nordfeld):
    nordfeld.gas_cap_ratio = 0.25
    nordfeld.field_name = "Nordfeld Süd"
    ours, theirs = tmp_path / "ours.mvk", tmp_path / "theirs.mvk"
    nordfeld.save(ours)
    status, _, _ = batch(NORDFELD, "--set", "m_Gaskappe=0.25", "--set",
                         "m_Feldname=Nordfeld Süd", "--save", theirs)
    assert status == 0
    assert ours.read_bytes() == theirs.read_bytes()
    assert morvek.Case.load(ours) == nordfeld
    blocked = tmp_path / "blocked"
    blocked.mkdir()
    (blocked / "x.mvk").mkdir()
    with pytest.raises(OSError) as failed:
        nordfeld.save(blocked / "x.mvk")
    assert "konnte nicht gespeichert werden" in str(failed.value)
    assert (blocked / "x.mvk").is_dir()


def test_measured_data_file_is_read_as_batch_mode_reads_it(tmp_path, nordfeld):
    saved = tmp_path / "saved.mvk"
    status, _, _ = batch(NORDFELD, "--messwerte", EXAMPLES / "nordfeld-messwerte.txt",
                         "--save", saved)
    assert status == 0
    nordfeld.measured_rows = []
    assert nordfeld.read_measured_data(EXAMPLES / "nordfeld-messwerte.txt") == 8
    assert nordfeld.measured_row_texts == morvek.Case.load(saved).measured_row_texts
    assert nordfeld.measured_rows[-1] == (786.0, 108.0, None)

    # A pressure above the initial pressure ends the reading, with the
    # program's message as a warning; the rows before it are taken.
    stops = tmp_path / "stops.txt"
    stops.write_text("Kopf\n10 200 90\n20 300 95\n30 190 99\n", encoding="cp1252")
    status, _, stderr = batch(NORDFELD, "--messwerte", stops)
    with pytest.warns(morvek.MeasuredDataWarning) as warned:
        assert nordfeld.read_measured_data(stops) == 1
    assert str(warned[0].message) in stderr
    # A warning made an error leaves the rows as they were.
    before = nordfeld.copy()
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with pytest.raises(morvek.MeasuredDataWarning):
            nordfeld.read_measured_data(stops)
    assert nordfeld == before


def test_measured_rows_take_tuples_and_texts_and_refuse_rows_without_two_numbers(nordfeld):
    nordfeld.measured_rows = [(20, 226.25, 99.5), (41.125, 201.5, None), (50, 199, math.nan),
                              "105.0 188.0 93.0"]
    assert nordfeld.measured_rows == [(20.0, 226.25, 99.5), (41.125, 201.5, None),
                                      (50.0, 199.0, None), (105.0, 188.0, 93.0)]
    before = nordfeld.copy()
    for bad in ([(1.0,)], [(1.0, math.inf)], ["12"], ["1 2 Ω"], [(1, 2, 3, 4)]):
        with pytest.raises(morvek.InputError):
            nordfeld.measured_rows = bad
    with pytest.raises(TypeError):
        nordfeld.measured_rows = [(1.0, "x")]
    assert nordfeld == before


def test_fields_read_back_as_assigned_and_by_every_name(nordfeld):
    nordfeld.swi = 0.2
    assert nordfeld.swi == 0.2 and nordfeld["m_Swi"] == 0.2 and nordfeld["swi"] == 0.2
    nordfeld["m_Gas[0]"] = "1.5"
    assert nordfeld.h2s_pct == 1.5
    nordfeld.ooip = 4321.5
    assert nordfeld.ooip_1000m3 == 4321.5
    nordfeld.correlation = 2
    assert nordfeld["m_Methode"] == 2
    assert morvek.Case(ooip=1000, m_Swi=0.3).to_dict()["swi"] == 0.3
    with pytest.raises(KeyError):
        nordfeld["m_Nichts"] = 1
    with pytest.raises(AttributeError):
        nordfeld.ooip_m3 = 1
    assert [f.name for f in morvek.fields()] == list(nordfeld.to_dict())


def test_nothing_is_printed(capfd, tmp_path, nordfeld):
    heavy = nordfeld.copy()
    heavy["m_API"] = "18"
    heavy["m_NuoPb"] = "25"
    result = heavy.predict()
    assert result.diagnostics  # the viscosity calibration, which batch mode writes to stderr
    result.report()
    pickle.loads(pickle.dumps(result)).report()
    morvek.predict_many([heavy, nordfeld])
    heavy.pvt_table().report()
    with pytest.raises(morvek.InputError):
        morvek.Case().predict()
    out, err = capfd.readouterr()
    assert out == "" and err == ""
