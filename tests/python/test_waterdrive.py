"""The production history and the material balance with water influx from
Python: Case.history and read_history as --historie reads the file,
Case.mb_fit as batch mode's --mb-fit to the byte of its CSV, the history
travelling with a pickled case, and the refusals."""

import pickle
import threading

import pandas as pd
import pytest

import morvek
from conftest import EXAMPLES, batch

DAKE_N = 312e6 * 0.158987294928 / 1000  # Dake's 312 MMstb in 1000 m3


def test_history_reads_assigns_and_pickles(tmp_path):
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    assert case.history is None
    assert case.read_history(EXAMPLES / "dake1978-historie.txt") == 11
    frame = case.history
    assert list(frame.columns) == ["days", "pressure_bar", "np_1000m3", "gp_mio_sm3",
                                   "wp_1000m3", "wi_1000m3", "gi_mio_sm3"]
    assert frame["days"].iloc[-1] == 3650
    # Assigned back, by dates and Rp, the same rows.
    dated = pd.DataFrame({
        "date": pd.to_datetime("2001-01-01") + pd.to_timedelta(frame["days"], unit="D"),
        "pressure_bar": frame["pressure_bar"], "np_1000m3": frame["np_1000m3"],
        "gp_mio_sm3": frame["gp_mio_sm3"]})
    other = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    other.history = dated
    assert list(other.history["days"]) == list(frame["days"])
    assert str(other.history["date"].iloc[0].date()) == "2001-01-01"
    back = pickle.loads(pickle.dumps(case))
    assert back == case
    case.history = None
    assert case.history is None


def test_bad_history_is_refused_with_its_line_and_changes_nothing(tmp_path):
    bad = tmp_path / "schlecht.txt"
    bad.write_text("days;pressure_bar;np_1000m3;gp_mio_sm3\n0;250;0;0\n365;240;100;9\n"
                   "730;235;90;12\n")
    case = morvek.Case.load(EXAMPLES / "dake1978.mvk")
    before = case.history.copy()
    with pytest.raises(morvek.InputError, match="Zeile 4: Die kumulative Ölförderung fällt"):
        case.read_history(bad)
    with pytest.raises(OSError):
        case.read_history(tmp_path / "fehlt.txt")
    pd.testing.assert_frame_equal(case.history, before)


def test_mb_fit_equals_batch_mode(tmp_path):
    case = morvek.Case.load(EXAMPLES / "dake1978.mvk")
    result = case.mb_fit(["ooip_1000m3", "aquifer_radius_m"])
    assert result.converged, result.message
    assert abs(result.case.ooip_1000m3 / DAKE_N - 1) < 0.01
    assert abs(result.case.aquifer_radius_m / 14020.8 - 1) < 0.01
    status, _, stderr = batch(EXAMPLES / "dake1978.mvk", "--mb-fit",
                              "ooip_1000m3,aquifer_radius_m", "--mb-fit-csv",
                              tmp_path / "fit.csv", "--report", tmp_path / "bericht.txt")
    assert status == 0, stderr
    assert result.csv() == (tmp_path / "fit.csv").read_text(encoding="utf-8")
    table = case.history_balance()
    assert len(table) == 10 and "wdi" in table.columns
    pressure = case.mb_fit(["ooip"], objective="pressure")
    assert abs(pressure.case.ooip_1000m3 / DAKE_N - 1) < 0.02


def test_mb_fit_refusals_name_what_is_wrong():
    case = morvek.Case.load(EXAMPLES / "dake1978.mvk")
    with pytest.raises(TypeError, match="objective"):
        case.mb_fit(["ooip_1000m3"], objective=1)
    with pytest.raises(morvek.InputError, match="kann nicht angepaßt werden"):
        case.mb_fit(["m_Swi"])
    case.aquifer_model = "fetkovich_radial"
    assert case.aquifer_model == 2
    with pytest.raises(morvek.InputError):
        case.aquifer_model = "fetkovich"
    with pytest.raises(morvek.InputError, match="zwischen 0 und 1"):
        case.aquifer_porosity = 1.5


def test_mb_fit_works_on_a_copy_while_another_thread_changes_the_case():
    case = morvek.Case.load(EXAMPLES / "dake1978.mvk")
    single = case.mb_fit(["ooip_1000m3"]).case.ooip_1000m3
    stop = threading.Event()

    def change():
        while not stop.is_set():
            case.aquifer_permeability_md = 50.0
            case.aquifer_permeability_md = 200.0

    thread = threading.Thread(target=change)
    thread.start()
    try:
        results = [case.mb_fit(["ooip_1000m3"]).case.ooip_1000m3 for _ in range(3)]
    finally:
        stop.set()
        thread.join()
    # Each fit ran on the case as it stood when called: one of the two values.
    other = morvek.Case.load(EXAMPLES / "dake1978.mvk")
    other.aquifer_permeability_md = 50.0
    alternatives = {single, other.mb_fit(["ooip_1000m3"]).case.ooip_1000m3}
    assert all(r in alternatives for r in results)
