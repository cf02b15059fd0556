"""Morvek for Python: depletion predictions of solution-gas-drive oil reservoirs.

A case holds the inputs of one reservoir, as the program's case file (.mvk) does::

    import morvek

    case = morvek.Case.load("examples/nordfeld.mvk")
    case.gas_cap_ratio = 0.3                 # checked as the data-entry dialog checks it
    result = case.predict()                  # the engine's prediction, every step
    result.p_bar, result.np_1000m3, result.gor        # NumPy arrays
    result.to_pandas()                       # a pandas DataFrame
    print(result.report())                   # the German report, as batch mode writes it

Every input is a property with its English name and unit (``case.ooip_1000m3``,
``case.initial_pressure_bar``; ``case.ooip`` for short) and an item by its
case-record name (``case["m_OOIP"]``). ``predict_many`` runs many cases on every
core, ``Case.match`` fits inputs to measured rows, ``sweep`` runs thousands of
samples of uncertain inputs on every core; cases and results pickle for process
pools and cluster schedulers.

Errors are exceptions with the program's German messages: InputError (a
ValueError) for refused input, CaseFileError (an OSError and a ValueError) for a
damaged case file, OSError for a file that cannot be read or written. Nothing
is printed.

The module is built for Debian's /usr/bin/python3.
"""

from ._morvek import (
    Case,
    CaseFileError,
    FieldInfo,
    Fluid,
    ForecastSweepResult,
    InputError,
    MatchResult,
    MeasuredDataWarning,
    Prediction,
    PvtTable,
    RelPermTable,
    SweepResult,
    __version__,
    fields,
    predict_many,
    sweep,
)

__all__ = [
    "Case",
    "CaseFileError",
    "FieldInfo",
    "Fluid",
    "ForecastSweepResult",
    "InputError",
    "MatchResult",
    "MeasuredDataWarning",
    "Prediction",
    "PvtTable",
    "RelPermTable",
    "SweepResult",
    "fields",
    "predict_many",
    "sweep",
]
