"""Case.match: the history match from Python is batch mode's --match, to the
byte of its summary and its CSV, refuses what batch mode refuses with the same
message, and its result pickles."""

import pickle

import pytest

import morvek
from conftest import EXAMPLES, batch


def test_match_equals_batch_mode_and_pickles(tmp_path):
    case = morvek.Case.load(EXAMPLES / "nordfeld.mvk")
    result = case.match(["m_OOIP", "gas_cap_ratio"])
    assert result.converged, result.message
    assert case == morvek.Case.load(EXAMPLES / "nordfeld.mvk")  # the case is not changed

    status, _, stderr = batch(EXAMPLES / "nordfeld.mvk", "--match", "m_OOIP,m_Gaskappe",
                              "--match-csv", tmp_path / "fit.csv",
                              "--match-report", tmp_path / "fit.txt",
                              "--save", tmp_path / "fit.mvk")
    assert status == 0, stderr
    assert result.csv() == (tmp_path / "fit.csv").read_text(encoding="utf-8")
    assert result.summary() == (tmp_path / "fit.txt").read_text(encoding="utf-8")
    assert result.case == morvek.Case.load(tmp_path / "fit.mvk")
    # The fitted case's prediction is what batch mode computes after the match.
    assert result.case.predict().report().encode("utf-8") == batch(tmp_path / "fit.mvk")[1]

    table = result.to_pandas()
    assert list(table.index) == ["ooip_1000m3", "gas_cap_ratio"]  # English names, as every table
    assert list(result.fitted) == ["ooip_1000m3", "gas_cap_ratio"]
    assert (table.loc["ooip_1000m3", "ci95_low"] < result.fitted["ooip_1000m3"]
            < table.loc["ooip_1000m3", "ci95_high"])
    assert result.correlation.shape == (2, 2)
    assert len(result.rows()) == len(case.measured_rows)

    back = pickle.loads(pickle.dumps(result))
    assert back.summary() == result.summary() and back.csv() == result.csv()
    assert back.case == result.case
    assert back.rows().equals(result.rows())


@pytest.mark.parametrize("example,names,same_message", [
    ("gaskappe.mvk", ["m_OOIP"], True),             # no measured rows
    ("nordfeld.mvk", ["m_OOIP", "m_OOIP"], False),  # named twice
    ("nordfeld.mvk", ["m_API"], False),             # not an input a match fits
])
def test_match_refuses_what_batch_mode_refuses(example, names, same_message):
    with pytest.raises(morvek.InputError) as refused:
        morvek.Case.load(EXAMPLES / example).match(names)
    status, _, stderr = batch(EXAMPLES / example, "--match", ",".join(names))
    assert status == 2
    # Batch mode refuses a malformed command line before the case is looked at.
    if same_message:
        assert str(refused.value).splitlines()[0] in stderr
