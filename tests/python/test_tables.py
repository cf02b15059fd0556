"""Laboratory tables from Python: read from their files they give batch mode's
--pvt-tabelle/--relperm-tabelle reports byte for byte; given as numbers they
give the same prediction; they are checked as the files are, and travel with
the case (pickle, save and load)."""

import pickle

import numpy as np
import pytest

import morvek
from conftest import EXAMPLES, batch

PVT = EXAMPLES / "tabellen" / "nordfeld-pvt.txt"
RELPERM = EXAMPLES / "tabellen" / "nordfeld-relperm.txt"


def test_tables_read_given_and_stored_run_as_batch_mode_runs_them(tmp_path):
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    case.water_compressibility_per_bar = 4.5e-5
    assert case.read_pvt_table(PVT) > 2 and case.read_relperm_table(RELPERM) > 2
    args = ("--set", "m_Cw=4.5e-5", "--pvt-tabelle", PVT, "--relperm-tabelle", RELPERM)
    for flags, run in (((), case.predict), (("--pvt",), case.pvt_table),
                       (("--relperm",), case.relperm_table)):
        status, stdout, stderr = batch(EXAMPLES / "nordfeld.mvk", *args, *flags)
        assert status in (0, 3), stderr
        assert run().report().encode("utf-8") == stdout, flags

    # The same numbers given as data frames: the same prediction.
    given = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    given.water_compressibility_per_bar = 4.5e-5
    given.pvt_table_data = case.pvt_table_data
    given.relperm_table_data = case.relperm_table_data.values.tolist()
    a, b = case.predict(), given.predict()
    for column in ("p_bar", "np_1000m3", "gp_mio_sm3", "gor", "so"):
        np.testing.assert_array_equal(getattr(a, column), getattr(b, column))
    assert "aus Python" in b.report()

    # They travel with the case, bit for bit.
    assert pickle.loads(pickle.dumps(case)) == case
    case.save(tmp_path / "labor.mvk")
    assert morvek.Case.load(tmp_path / "labor.mvk") == case
    case.pvt_table_data = None
    case.relperm_table_data = None
    assert case.pvt_table_data is None
    case.water_compressibility_per_bar = 0
    # Without tables and compressibilities the case is the example again.
    assert case.predict().report() == morvek.Case.load(EXAMPLES / "nordfeld.mvk").predict().report()


def test_tables_are_refused_as_their_files_are(tmp_path):
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    before = case.copy()
    with pytest.raises(morvek.InputError) as refused:
        case.pvt_table_data = [(200, 1.3, 90, 0.005, 0.8, 0.02)]  # one row only
    assert str(refused.value)
    with pytest.raises(morvek.InputError):
        case.relperm_table_data = [(0.1, 0.2, 0.5), (0.1, 0.3, 0.4)]  # a saturation twice
    bad = tmp_path / "schlecht.txt"
    bad.write_text("Kopf\n100 1,3 90 0.005 0.8 0.02\n200 1.4 95 0.004 0.7 0.02\n")
    with pytest.raises(morvek.InputError) as refused:
        case.read_pvt_table(bad)
    assert "2" in str(refused.value)  # names the line
    with pytest.raises(FileNotFoundError):
        case.read_relperm_table(tmp_path / "fehlt.txt")
    assert case == before


def test_runs_that_end_at_the_table_say_so_and_travel():
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    case.read_pvt_table(PVT)
    rows = case.pvt_table_data
    case.pvt_table_data = rows[rows.iloc[:, 0] >= 100]  # no rows below 100 bar
    ended = case.predict()
    assert ended.stop_reason == "lowest_table_pressure"
    assert ended.p_bar[-1] == pytest.approx(100.0)
    back = pickle.loads(pickle.dumps(ended))
    assert back.stop_reason == ended.stop_reason and back.report() == ended.report()
    np.testing.assert_array_equal(back.np_1000m3, ended.np_1000m3)
    # A start outside the table is refused before the run, the case unchanged.
    before = case.copy()
    case.initial_pressure_bar = rows.iloc[:, 0].max() + 10
    with pytest.raises(morvek.InputError, match="außerhalb der PVT-Tabelle"):
        case.predict()


def test_the_pvt_tables_optional_columns_rv_and_bw_travel_as_columns(tmp_path):
    volatile = EXAMPLES / "tabellen" / "walsh1995-pvt.txt"
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    case.read_pvt_table(volatile)
    frame = case.pvt_table_data
    assert list(frame.columns) == ["p_bar", "bo", "rs", "bg", "mu_o", "mu_g", "rv"]
    assert frame.rv.iloc[-1] == pytest.approx(343e-6 * 5.61458, rel=1e-4)
    # The same rows given back, as a frame and as a list of rows with Rv and Bw.
    given = case.copy()
    given.pvt_table_data = frame
    assert given.pvt_table_data.equals(frame)
    assert given.predict().report().replace("aus Python", "walsh1995-pvt.txt") == \
        case.predict().report()
    rows = [list(r) + [1.02] for r in frame.values.tolist()]
    given.pvt_table_data = rows
    assert list(given.pvt_table_data.columns)[-2:] == ["rv", "bw"]
    assert np.allclose(given.pvt_table_data.bw, 1.02)
    # Saved, loaded and pickled with them, bit for bit.
    given.save(tmp_path / "fluechtig.mvk")
    assert morvek.Case.load(tmp_path / "fluechtig.mvk") == given
    assert pickle.loads(pickle.dumps(given)) == given
    # Without the columns every frame is the six columns of before.
    case.read_pvt_table(PVT)
    assert list(case.pvt_table_data.columns) == ["p_bar", "bo", "rs", "bg", "mu_o", "mu_g"]
