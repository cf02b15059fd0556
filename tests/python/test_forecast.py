"""Case.forecast and sweep(..., forecast=True): the forecast against time from
Python is batch mode's --forecast (its CSV to the digit, its report), indexed by
date, refuses what batch mode refuses, and reads the case only while it holds
the interpreter lock."""

import datetime
import os
import signal
import threading
import time

import numpy as np
import pandas as pd
import pytest

import morvek
from conftest import EXAMPLES, batch

SETTINGS = {
    "forecast_start": "2025-01-01",
    "forecast_years": 30,
    "oil_rate_target_m3_per_day": 400,
    "productivity_index_m3_per_day_bar": 5,
    "min_bottomhole_pressure_bar": 50,
    "abandonment_rate_m3_per_day": 40,
}


def with_forecast(case):
    for name, value in SETTINGS.items():
        setattr(case, name, value)
    return case


def set_args():
    return [a for name, value in SETTINGS.items() for a in ("--set", f"{name}={value}")]


def test_forecast_is_batch_modes_forecast_indexed_by_date(tmp_path, nordfeld):
    case = with_forecast(nordfeld)
    assert case.forecast_start == datetime.date(2025, 1, 1)
    frame = case.forecast()
    assert isinstance(frame.index, pd.DatetimeIndex) and frame.index.name == "date"
    assert frame.index[0] == pd.Timestamp("2025-01-01")
    assert frame.index.is_monotonic_increasing
    assert list(frame.columns) == [
        "days", "pressure_bar", "oil_rate_m3_per_day", "gas_rate_1000sm3_per_day",
        "water_rate_m3_per_day", "np_1000m3", "gp_mio_sm3", "wp_1000m3", "we_1000m3",
        "gor_sm3_per_m3", "water_cut", "limit"]
    # The first row is the start: no rates yet. Np is the sum of rate x days.
    assert np.isnan(frame.oil_rate_m3_per_day.iloc[0]) and frame.limit.iloc[0] is None
    np.testing.assert_allclose(
        (frame.oil_rate_m3_per_day * frame.days.diff()).fillna(0).cumsum() / 1000,
        frame.np_1000m3, rtol=1e-12, atol=1e-12)
    assert set(frame.limit.iloc[1:]) == {"target", "wells"}
    assert frame.attrs["stop"] == "abandonment_rate"
    assert frame.attrs["plateau_end"] == frame.index[frame.limit.eq("target")][-1]

    status, stdout, stderr = batch(EXAMPLES / "nordfeld.mvk", "--forecast", *set_args(),
                                   "--forecast-csv", tmp_path / "f.csv")
    assert status == 0, stderr
    assert stdout.decode("utf-8") == frame.attrs["report"]
    csv = pd.read_csv(tmp_path / "f.csv", sep=";", float_precision="round_trip")
    assert len(csv) == len(frame) - 1
    for column in ("days", "pressure_bar", "oil_rate_m3_per_day", "np_1000m3", "gp_mio_sm3",
                   "gor_sm3_per_m3"):
        assert csv[column].tolist() == frame[column].iloc[1:].tolist(), column
    assert csv.date.tolist() == [d.strftime("%Y-%m-%d") for d in frame.index[1:].floor("D")]
    # Keyword inputs change the forecast for this call only.
    shorter = case.forecast(forecast_years=2)
    assert shorter.index[-1] == pd.Timestamp("2027-01-01")
    assert case.forecast_years == 30


def test_refused_inputs_raise_input_error_and_change_nothing(tmp_path, nordfeld):
    case = with_forecast(nordfeld)
    before = case.copy()
    with pytest.raises(morvek.InputError, match="Plateaurate"):
        case.forecast(oil_rate_target_m3_per_day=0)
    with pytest.raises(morvek.InputError, match="Mindestsohlendruck"):
        case.forecast(min_bottomhole_pressure_bar=250)
    with pytest.raises(morvek.InputError, match="Datum"):
        case.forecast_start = "2025-02-30"
    with pytest.raises(TypeError):
        case.forecast_start = 45658.5
    table = tmp_path / "wc.txt"
    table.write_text("RF WC\n0 0\n10 0.5\n20 0.3\n", encoding="utf-8")
    with pytest.raises(morvek.InputError, match="nicht fallen"):
        case.read_water_cut(table)
    assert case == before
    case.forecast_start = None
    with pytest.raises(morvek.InputError, match="Beginn der Prognose"):
        case.forecast()


def test_water_cut_table_adds_water_to_the_balance(tmp_path, nordfeld):
    case = with_forecast(nordfeld)
    dry = case.forecast()
    table = tmp_path / "wc.txt"
    table.write_text("RF WC\n0 0\n5 0.1\n20 0.6\n", encoding="utf-8")
    assert case.read_water_cut(table) == 3
    assert list(case.water_cut_table.recovery_pct) == [0, 5, 20]
    wet = case.forecast()
    assert (wet.wp_1000m3.iloc[-1] > 0) and (wet.water_cut.iloc[1:] < 0.6 + 1e-12).all()
    cut = wet.water_rate_m3_per_day / (wet.water_rate_m3_per_day + wet.oil_rate_m3_per_day)
    np.testing.assert_allclose(cut.iloc[1:], wet.water_cut.iloc[1:], rtol=1e-12)
    # The water withdrawn lowers the pressure sooner: less oil by the same day.
    day = pd.Timestamp("2031-01-01")
    assert wet.np_1000m3.asof(day) < dry.np_1000m3.asof(day)
    case.water_cut_table = [(0, 0), (50, 0.5)]
    assert case.water_cut_table.water_cut.tolist() == [0, 0.5]
    with pytest.raises(morvek.InputError):
        case.water_cut_table = [(0, 0.5), (50, 0.1)]
    case.water_cut_table = None
    assert case.forecast().equals(dry)


def test_a_thread_changing_the_case_does_not_reach_a_running_forecast(nordfeld):
    case = with_forecast(nordfeld)
    alone = case.forecast()
    stop = threading.Event()

    def change():
        while not stop.is_set():
            case.oil_rate_target_m3_per_day = 600
            case.oil_rate_target_m3_per_day = 400

    other = threading.Thread(target=change)
    other.start()
    try:
        results = [case.forecast(oil_rate_target_m3_per_day=400) for _ in range(5)]
    finally:
        stop.set()
        other.join()
    assert all(r.equals(alone) for r in results)


def test_sweep_with_the_forecast_as_its_run_is_batch_modes(tmp_path, nordfeld):
    case = with_forecast(nordfeld)
    vary = {"productivity_index_m3_per_day_bar": (3, 8), "ooip_1000m3": (4000, 6000)}
    result = morvek.sweep(case, vary, samples=40, seed=3, forecast=True, np_by=[2030, 2040],
                          threads=2)
    assert isinstance(result, morvek.ForecastSweepResult) and len(result) == 40
    status, _, stderr = batch(
        EXAMPLES / "nordfeld.mvk", "--forecast", *set_args(), "--vary",
        "productivity_index_m3_per_day_bar=3:8", "--vary", "ooip_1000m3=4000:6000",
        "--samples", "40", "--seed", "3", "--np-by", "2030,2040",
        "--sweep-csv", tmp_path / "s.csv", "--sweep-summary", tmp_path / "s.txt")
    assert status == 0, stderr
    assert result.csv() == (tmp_path / "s.csv").read_text(encoding="utf-8")
    assert result.summary() == (tmp_path / "s.txt").read_text(encoding="utf-8")
    samples = result.to_pandas()
    assert samples.index.dtype == np.int64
    assert samples.np_by_2030.le(samples.np_by_2040).all()
    assert samples.np_by_2040.le(samples.np_at_abandonment_1000m3 + 1e-9).all()
    stats = result.statistics()
    assert stats.loc["np_by_2040", "p90"] <= stats.loc["np_by_2040", "p10"]
    assert stats.loc["plateau_end_date", "p90"] <= stats.loc["plateau_end_date", "p10"]
    fan = result.fan()
    assert isinstance(fan.index, pd.DatetimeIndex) and fan.index[0] == pd.Timestamp("2025-01-01")
    assert (fan.np_1000m3_p90 <= fan.np_1000m3_p50 + 1e-9).all()
    assert (fan.np_1000m3_p50 <= fan.np_1000m3_p10 + 1e-9).all()
    with pytest.raises(morvek.InputError, match="2090"):
        morvek.sweep(case, vary, samples=4, forecast=True, np_by=[2090])


def test_slices_of_a_forecast_sweep_give_exactly_the_whole_runs_rows(nordfeld):
    case = with_forecast(nordfeld)
    vary = {"productivity_index_m3_per_day_bar": (3, 8), "ooip_1000m3": (4000, 6000)}
    whole = morvek.sweep(case, vary, samples=30, seed=4, forecast=True, np_by=[2030])
    parts = [morvek.sweep(case, vary, samples=30, seed=4, forecast=True, np_by=[2030],
                          first_sample=first, count=count, threads=threads)
             for first, count, threads in ((1, 11, 1), (12, 5, 2), (17, 14, None))]
    pd.testing.assert_frame_equal(pd.concat([p.to_pandas() for p in parts]), whole.to_pandas())
    lines = whole.csv().splitlines()
    assert [line for p in parts for line in p.csv().splitlines()[1:]] == lines[1:]
    assert [(p.first_sample, p.count, len(p)) for p in parts] == [(1, 11, 11), (12, 5, 5),
                                                                  (17, 14, 14)]
    assert (whole.first_sample, whole.count) == (1, 30)
    # A slice's statistics and fan are those of its own samples.
    middle = parts[1].to_pandas()
    assert parts[1].statistics().loc["np_at_abandonment_1000m3", "mean"] == pytest.approx(
        middle.np_at_abandonment_1000m3.mean(), rel=1e-12)
    assert "Gerechnet: die Stichproben 12 bis 16" in parts[1].summary()
    assert "Gerechnet" not in whole.summary()
    for bad in ({"first_sample": 0}, {"first_sample": 31}, {"count": 0},
                {"first_sample": 20, "count": 12}):
        with pytest.raises(morvek.InputError):
            morvek.sweep(case, vary, samples=30, forecast=True, **bad)


def test_ctrl_c_stops_a_forecast_sweep_at_once(nordfeld):
    case = with_forecast(nordfeld)
    sent = []
    timer = threading.Timer(0.5, lambda: (sent.append(time.perf_counter()),
                                          os.kill(os.getpid(), signal.SIGINT)))
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        # Some minutes of forecasts on two threads.
        morvek.sweep(case, {"ooip_1000m3": (4000, 6000)}, samples=200000, forecast=True,
                     threads=2)
    stopped = time.perf_counter()
    timer.join()
    assert sent and stopped - sent[0] < 2.0
