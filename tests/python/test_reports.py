"""The module computes what the program computes: the report of every golden
case, in every result kind and with both answers, is byte for byte batch
mode's; and its columns are the fluid model's at the steps' pressures."""

import numpy as np
import pytest

import morvek
from conftest import EXAMPLES, batch, golden_cases

KINDS = {"prediction": [], "pvt": ["--pvt"], "relperm": ["--relperm"]}


def golden_case(example, settings):
    case = morvek.Case.load(EXAMPLES / example)
    for name, value in settings:
        case[name] = value  # the text as --set reads it
    return case


def run(case, kind, use_api):
    if kind == "prediction":
        return case.predict(use_api_from_initial_gor=use_api)
    if kind == "pvt":
        return case.pvt_table(use_api_from_initial_gor=use_api)
    return case.relperm_table()


@pytest.mark.parametrize("name,example,settings", golden_cases(), ids=lambda v: str(v))
def test_report_equals_batch_mode_in_every_kind_with_both_answers(name, example, settings):
    case = golden_case(example, settings)
    sets = [arg for n, v in settings for arg in ("--set", f"{n}={v}")]
    for kind, flags in KINDS.items():
        for answer in ("nein", "ja"):
            status, stdout, stderr = batch(EXAMPLES / example, *sets, *flags, "--answer", answer)
            # 3: the report is written, but the run has no result: it does not
            # end with the closing line.
            assert status in (0, 3), stderr
            result = run(case, kind, answer == "ja")
            if kind == "prediction":
                closed = result.report().endswith(" Morvek Berechnung abgeschlossen\n")
                assert (status == 3) == (not closed), (name, answer)
            assert result.report().encode("utf-8") == stdout, (name, kind, answer)
            # What the program shows beside the report reaches the caller as data.
            for message in result.diagnostics:
                assert message in stderr, (name, kind, answer, message)


def test_a_laboratory_pvt_table_takes_no_oil_gravity_message(tmp_path):
    # The API gravity does not enter a laboratory table's properties: with
    # one, a measured initial ratio no gravity reproduces goes unmentioned.
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    case.initial_gor_sm3_m3 = 1
    assert any("Grad API" in m for m in case.predict().diagnostics)
    case.read_pvt_table(EXAMPLES / "tabellen" / "nordfeld-pvt.txt")
    case.save(tmp_path / "pvt.mvk")
    status, stdout, stderr = batch(tmp_path / "pvt.mvk")
    result = case.predict()
    assert status == 0 and result.report().encode("utf-8") == stdout
    assert "Grad API" not in stderr and result.diagnostics == []


def test_results_of_predict_many_render_the_same_reports():
    cases = [golden_case(example, settings) for _, example, settings in golden_cases()]
    for answer in (False, True):
        many = morvek.predict_many(cases, threads=2, use_api_from_initial_gor=answer)
        for case, result in zip(cases, many):
            assert result.report() == case.predict(use_api_from_initial_gor=answer).report()


def test_columns_are_the_fluid_models_at_every_step():
    for _, example, settings in golden_cases():
        case = golden_case(example, settings)
        result = case.predict()
        fluid = morvek.Fluid(case)
        # Step 0 is the initial state; below the bubble point the balance takes
        # the fluid model's values at the step's pressure.
        np.testing.assert_array_equal(result.rs, fluid.rs(result.p_bar))
        np.testing.assert_array_equal(result.bo, fluid.bo(result.p_bar))
        np.testing.assert_array_equal(result.bg, fluid.bg(result.p_bar))
        np.testing.assert_array_equal(result.mu_o, fluid.mu_o(result.p_bar))
        np.testing.assert_array_equal(result.mu_g, fluid.mu_g(result.p_bar))
        table = case.pvt_table()
        ok = ~np.isnan(table.rs)
        for column in ("rs", "bo", "co", "mu_o", "bg", "mu_g"):
            np.testing.assert_array_equal(getattr(table, column)[ok],
                                          getattr(fluid, column)(table.p_bar[ok]))
        # The pandas table is the same numbers.
        frame = result.to_pandas()
        assert list(frame.index) == list(range(len(result)))
        np.testing.assert_array_equal(frame["gor"].to_numpy(), result.gor)
        assert frame.shape == (len(result), 20)  # every column but step, efw and rv included
