"""morvek.sweep: the uncertainty run from Python is batch mode's --vary, to the
byte of its CSV and its summary (refused samples included), the same on any
number of threads, refuses what batch mode refuses, and its result pickles."""

import math
import pickle

import pytest

import morvek
from conftest import EXAMPLES, batch

# The bubble point's range reaches above the initial pressure (250 bar), so
# that some samples are refused by the dialog's checks.
VARY = {"m_Entloesungsdruck": (150, 260), "sgc": (0.02, 0.05, 0.1), "m_KrgMax": (0.3, 0.9)}
VARY_ARGS = ["m_Entloesungsdruck=150:260", "sgc=0.02:0.05:0.1", "m_KrgMax=0.3:0.9"]


@pytest.mark.parametrize("sampling,seed,abandon", [("lhs", 1, None), ("mc", 7, 50)])
def test_sweep_equals_batch_mode_on_any_threads_and_pickles(tmp_path, sampling, seed, abandon):
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    result = morvek.sweep(case, VARY, samples=300, sampling=sampling, seed=seed, threads=1,
                          abandon_bar=abandon)
    assert case == morvek.Case.load(EXAMPLES / "nordfeld.mvk")  # the case is not changed

    args = [a for v in VARY_ARGS for a in ("--vary", v)]
    args += ["--samples", "300", "--sampling", sampling, "--seed", str(seed)]
    args += ["--abandon", str(abandon)] if abandon else []
    status, _, stderr = batch(EXAMPLES / "nordfeld.mvk", *args,
                              "--sweep-csv", tmp_path / "s.csv",
                              "--sweep-summary", tmp_path / "s.txt")
    assert status == 0, stderr
    assert result.csv() == (tmp_path / "s.csv").read_text(encoding="utf-8")
    assert result.summary() == (tmp_path / "s.txt").read_text(encoding="utf-8")
    assert morvek.sweep(case, VARY, samples=300, sampling=sampling, seed=seed, threads=2,
                        abandon_bar=abandon).csv() == result.csv()

    # The table holds what the CSV holds; failed samples have a reason and no outcomes.
    table = result.to_pandas()
    assert len(table) == len(result) == 300 and list(table.index) == list(range(1, 301))
    failed = table[table.failure.notna()]
    assert 0 < len(failed) == result.failed_count < 300
    assert all("Entlösungsdruck" in why for why in failed.failure)
    assert failed.bubble_point_pressure_bar.gt(250).all()
    assert failed.rf_end_pct.isna().all() and table.rf_end_pct.notna().sum() == 300 - len(failed)
    stats = result.statistics()
    assert (stats["count"] == 300 - len(failed)).all()
    rf = stats.loc["rf_end_pct"]
    assert rf["min"] <= rf["p90"] <= rf["p50"] <= rf["p10"] <= rf["max"]
    assert math.isclose(rf["mean"], table.rf_end_pct.mean(), rel_tol=1e-12)
    assert ("np_abandon_1000m3" in stats.index) == (abandon is not None)
    tornado = result.tornado()
    assert list(tornado.swing_pct) == sorted(tornado.swing_pct, reverse=True)
    assert result.rf_curve[-1, 1] == 100.0

    back = pickle.loads(pickle.dumps(result))
    assert back.csv() == result.csv() and back.summary() == result.summary()
    assert back.to_pandas().equals(table) and back.tornado().equals(tornado)


@pytest.mark.parametrize("vary,error,batch_arg", [
    ({"m_Feldname": (1, 2)}, morvek.InputError, "m_Feldname=1:2"),
    ({"m_OOIP": (6000, 4000)}, morvek.InputError, "m_OOIP=6000:4000"),
    ({"m_Sgc": (0.02, 0.2, 0.1)}, morvek.InputError, "m_Sgc=0.02:0.2:0.1"),
    ({"m_OOIP": (4000, 6000), "ooip_1000m3": (1, 2)}, morvek.InputError, None),
    ({"m_OOIP": (1e39, 2e39)}, morvek.InputError, None),
    ({"m_OOIP": (4000,)}, morvek.InputError, None),
    ({"m_OOIP": ("viel", 6000)}, TypeError, None),
    ({}, morvek.InputError, None),
])
def test_sweep_refuses_what_batch_mode_refuses(vary, error, batch_arg):
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    with pytest.raises(error) as refused:
        morvek.sweep(case, vary, samples=10)
    if batch_arg is not None:
        status, _, stderr = batch(EXAMPLES / "nordfeld.mvk", "--vary", batch_arg)
        assert status == 2
        assert str(refused.value) in stderr


def test_sweep_refuses_bad_plans():
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    vary = {"m_OOIP": (4000, 6000)}
    for options in [{"samples": 0}, {"sampling": "sobol"}, {"threads": 0}, {"abandon_bar": 0.5}]:
        with pytest.raises(morvek.InputError):
            morvek.sweep(case, vary, **options)
    # No run goes below a PVT table's lowest pressure: an abandonment pressure
    # there is refused, as batch mode and the dialog refuse it.
    case.read_pvt_table(EXAMPLES / "tabellen" / "nordfeld-pvt.txt")
    rows = case.pvt_table_data
    case.pvt_table_data = rows[rows.iloc[:, 0] >= 100]
    with pytest.raises(morvek.InputError, match="unter dem niedrigsten Druck der PVT-Tabelle"):
        morvek.sweep(case, vary, samples=4, abandon_bar=50)
    assert morvek.sweep(case, vary, samples=4, abandon_bar=100).failed_count == 0
