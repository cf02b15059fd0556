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

import functools

from . import _morvek
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
)


def _exported(function):
    """The compiled function as a function of this module: so it pickles (by
    name, for process pools and Dask: map_partitions(partial(morvek.evaluate,
    case))) and inspect reads its signature."""

    @functools.wraps(function)
    def call(*args, **kwargs):
        return function(*args, **kwargs)

    call.__module__ = __name__
    call.__qualname__ = function.__name__
    return call


evaluate = _exported(_morvek.evaluate)
fields = _exported(_morvek.fields)
predict_many = _exported(_morvek.predict_many)
sweep = _exported(_morvek.sweep)

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
    "Predictions",
    "PvtTable",
    "RelPermTable",
    "SweepResult",
    "evaluate",
    "fields",
    "predict_many",
    "sweep",
]


def _restore(kind, state):
    """The object a pickle of the module holds: every class pickles through this
    factory (never through __new__), so that no object without state exists."""
    return _morvek._restore_state(kind, state)


class Predictions(list):
    """The predictions of ``predict_many``: a list of Prediction in the order of
    the cases, with ``to_xarray()``."""

    __slots__ = ()

    def to_xarray(self):
        """The predictions as an xarray Dataset over the dimensions case and step:
        every column of a prediction (NaN, or False for ``converged``, after a
        case's last step), ``steps`` (each case's number of steps),
        ``stop_reason`` and ``recovery_factor`` over case; each variable's unit
        and meaning in its attrs ("units", "description")."""
        import numpy as np
        import xarray as xr

        units = _morvek._column_units()
        longest = max((len(p) for p in self), default=0)
        cases = np.arange(len(self), dtype=np.int64)
        data = {}
        for name, (unit, description) in units.items():
            if name == "step":
                continue
            first = getattr(self[0], name) if self else np.zeros(0)
            if first.dtype == np.bool_:
                values = np.zeros((len(self), longest), dtype=np.bool_)
            else:
                values = np.full((len(self), longest), np.nan)
            for i, prediction in enumerate(self):
                column = getattr(prediction, name)
                values[i, : len(column)] = column
            data[name] = xr.Variable(("case", "step"), values,
                                     {"units": unit, "description": description})
        data["steps"] = xr.Variable("case", np.array([len(p) for p in self], dtype=np.int64),
                                    {"units": "", "description": "Number of steps of the case."})
        data["stop_reason"] = xr.Variable("case", np.array([p.stop_reason for p in self], dtype=object),
                                          {"units": "", "description": "Why the prediction ended."})
        data["recovery_factor"] = xr.Variable(
            "case", np.array([p.recovery_factor for p in self], dtype=np.float64),
            {"units": "", "description": "Np at the last step over N."})
        return xr.Dataset(data, coords={"case": cases,
                                        "step": np.arange(longest, dtype=np.int64)})

    def __reduce__(self):
        return (Predictions, (list(self),))
