#!/usr/bin/env python3
"""An independent calculation of the two published depletion cases
(docs/published-cases.md): a fine-step generalised Tarner balance written
here from the equations alone, numpy only, not the program's code.

It reads the same table files as the program (examples/tabellen/), steps the
pressure as finely as asked, and splits the remaining stock-tank oil A and gas B
into reservoir oil and gas, Vo = Bo (A - Rv B)/(1 - Rv Rs) and
Vg = Bg (B - Rs A)/(1 - Rv Rs), whose volume must fill the pore volume left
(compacted, the connate water expanded). The producing gas-oil ratio is
(Rs Bg + L Bo)/(Bg + L Rv Bo) with L = (krg/kro)(muo/mug), the gas of a step
leaves at the mean of its start and end ratios. krg and kro come from the
laboratory table read linearly (as the program reads it) or, with --corey,
along Corey curves fitted to the same points.

    python3 scripts/published_cases.py            # both cases, the program's reading
    python3 scripts/published_cases.py --corey    # krg, kro along fitted Corey curves
    python3 scripts/published_cases.py --steps 12 # only the published pressures as steps
"""

import argparse
import pathlib

import numpy as np

BAR_PER_PSI = 0.0689475729
SM3_PER_SCF = 0.0283168466
M3_PER_BBL = 0.158987295
GOR = SM3_PER_SCF / M3_PER_BBL  # sm3/m3 per scf/STB
TABLES = pathlib.Path(__file__).resolve().parent.parent / "examples" / "tabellen"


def read_table(name):
    lines = (TABLES / name).read_text(encoding="utf-8").splitlines()[1:]
    rows = sorted(([float(v) for v in line.replace(";", " ").split()] for line in lines
                   if line.strip()), key=lambda r: r[0])
    return np.array(rows)


def corey(relperm, swi, sgc):
    """Corey curves krg = ((Sg - Sgc)/(1 - Swi - Sor - Sgc))^ng and kro =
    ((Sgmax - Sg)/(Sgmax - Sgc))^no through the table's end points, ng and no
    fitted to its points by least squares on a grid."""
    sg, krg, kro = relperm.T
    sgmax = sg[kro == 0].min() if (kro == 0).any() else 1 - swi
    span = sgmax - sgc
    best = None
    for ng in np.arange(0.5, 6.0, 0.01):
        e = np.sum((np.clip((sg - sgc) / span, 0, 1) ** ng - krg) ** 2)
        best = min(best or (e, ng), (e, ng))
    ng = best[1]
    best = None
    for no in np.arange(0.5, 6.0, 0.01):
        e = np.sum((np.clip((sgmax - sg) / span, 0, 1) ** no - kro) ** 2)
        best = min(best or (e, no), (e, no))
    no = best[1]
    s = np.linspace(0, 1 - swi, 801)
    return np.column_stack([s, np.clip((s - sgc) / span, 0, 1) ** ng,
                            np.where(s < sgc, 1.0, np.clip((sgmax - s) / span, 0, 1) ** no)])


def predict(pvt, relperm, pi, pb, swi, n, cf, cw, pressures):
    """Np (1000 m3) and Gp (1000 sm3) at each pressure (bar, falling)."""
    p = pvt[:, 0]
    gas = p <= pb + 1e-6
    has_rv = pvt.shape[1] > 6

    def fluids(x):
        rv = np.interp(x, p[gas], pvt[gas, 6]) if has_rv else 0.0
        return (np.interp(x, p, pvt[:, 1]), np.interp(x, p, pvt[:, 2]),
                np.interp(x, p[gas], pvt[gas, 3]), np.interp(x, p, pvt[:, 4]),
                np.interp(x, p[gas], pvt[gas, 5]), rv)

    boi, rsi = fluids(pi)[:2]
    pore = n * boi / (1 - swi)
    np_ = gp = 0.0
    r_start = rsi
    out = [(pi, 0.0, 0.0)]
    for x in pressures[1:]:
        bo, rs, bg, muo, mug, rv = fluids(x)
        split = 1 - rv * rs
        drop = pi - x
        hydrocarbon = pore * (1 - cf * drop) - pore * swi * (1 + cw * drop)
        oil_term, gas_term = (bo - rs * bg) / split, (bg - rv * bo) / split
        r_end = r_start
        for _ in range(100):
            r_mean = (r_start + r_end) / 2
            dn = ((n - np_) * oil_term + (n * rsi - gp) * gas_term - hydrocarbon) / (
                oil_term + r_mean * gas_term)
            a, b = n - np_ - dn, n * rsi - gp - r_mean * dn
            vo = bo * (a - rv * b) / split
            sg = 1 - (vo + pore * swi * (1 + cw * drop)) / (pore * (1 - cf * drop))
            krg = np.interp(sg, relperm[:, 0], relperm[:, 1])
            kro = np.interp(sg, relperm[:, 0], relperm[:, 2])
            mobility = krg / kro * muo / mug
            r_new = (rs * bg + mobility * bo) / (bg + mobility * rv * bo)
            if abs(r_new - r_end) < 1e-9:
                break
            r_end = r_new
        np_ += dn
        gp += (r_start + r_end) / 2 * dn
        r_start = r_end
        out.append((x, np_, gp))
    return np.array(out)


def at(run, pressure, column):
    return np.interp(-pressure, -run[:, 0], run[:, column])


def steps(pi, pb, pend, count, published):
    if count:
        return [pi] + [x for x in published if x < pi]
    above = np.linspace(pi, pb, 101) if pi > pb else [pi]
    return list(above) + list(np.linspace(pb, pend, 2000))[1:]


def black_oil(args):
    pvt, relperm = read_table("walsh1994-pvt.txt"), read_table("walsh1994-relperm.txt")
    if args.corey:
        relperm = corey(relperm, 0.2, 0.05)
    pi, pb = pvt[-1, 0], 1688 * BAR_PER_PSI
    n = 1e6 * M3_PER_BBL / 1000
    published = [(1800, 0.4, 0.84), (1700, 0.5, 0.84), (1640, 2.7, 0.82), (1600, 4.4, 0.80),
                 (1400, 11.3, 1.41), (1200, 16.1, 2.17), (1000, 19.3, 2.70), (800, 22.2, 3.52),
                 (600, 24.3, 4.58), (400, 26.2, 5.56), (200, 27.9, 6.79)]
    pressures = steps(pi, pb, pvt[0, 0], args.steps,
                      [psia * BAR_PER_PSI for psia, _, _ in published])
    run = predict(pvt, relperm, pi, pb, 0.2, n, 2e-6 / BAR_PER_PSI, 2e-6 / BAR_PER_PSI,
                  pressures)
    print("Walsh, Ansah & Raghavan 1994, black oil: RF %, producing GOR sm3/m3")
    for psia, rf_pub, gor_pub in published:
        x = psia * BAR_PER_PSI
        rf = 100 * at(run, x, 1) / n
        # The producing ratio at x: the gas over the oil of a small step around
        # it (above it at the table's end).
        lo, hi = max(x - 0.05, pvt[0, 0]), x + 0.05
        gor = (at(run, lo, 2) - at(run, hi, 2)) / (at(run, lo, 1) - at(run, hi, 1))
        print(f"{psia:6.0f} {rf_pub:6.2f} {rf:6.2f} {rf - rf_pub:+5.2f}   "
              f"{1000 * gor_pub * GOR:7.1f} {gor:7.1f} {100 * (gor / (1000 * gor_pub * GOR) - 1):+5.1f}%")


def volatile_oil(args):
    pvt, relperm = read_table("walsh1995-pvt.txt"), read_table("walsh1995-relperm.txt")
    if args.corey:
        relperm = corey(relperm, 0.2, 0.05)
    pi, pb = pvt[-1, 0], 4698 * BAR_PER_PSI
    stb = 10179044.0
    n = stb * M3_PER_BBL / 1000
    published = [(4998, 36, 2909.000), (4798, 130, 2909.000), (4698, 184, 2909.000),
                 (4658, 227, 2894.273), (4598, 302, 2887.417), (4398, 582, 2847.079),
                 (4198, 808, 2928.218), (3998, 1022, 3072.407), (3798, 1227, 3286.064),
                 (3598, 1388, 3578.530), (3398, 1528, 3918.848), (3198, 1646, 4290.401),
                 (2998, 1764, 4661.565), (2798, 1861, 5053.735), (2598, 1947, 5470.981),
                 (2398, 2022, 5889.713), (2198, 2097, 6294.230), (1998, 2151, 6760.576),
                 (1798, 2215, 7172.009), (1598, 2269, 7640.811), (1398, 2323, 8059.836),
                 (1198, 2366, 8499.155), (998, 2420, 8900.413), (798, 2463, 9329.679)]
    pressures = steps(pi, pb, 798 * BAR_PER_PSI, args.steps,
                      [psia * BAR_PER_PSI for psia, _, _ in published])
    run = predict(pvt, relperm, pi, pb, 0.2, n, 2e-6 / BAR_PER_PSI, 3e-6 / BAR_PER_PSI,
                  pressures)
    print("Walsh 1995, volatile oil: RF %, interval GOR and cumulative Rp, sm3/m3")
    np_before = gp_before = np_pub_before = gp_pub_before = 0.0
    for psia, np_pub, rp_pub in published:
        x = psia * BAR_PER_PSI
        np_, gp = at(run, x, 1), at(run, x, 2)
        gp_pub = rp_pub * np_pub
        interval_pub = (gp_pub - gp_pub_before) / (np_pub - np_pub_before) * GOR
        interval = (gp - gp_before) / (np_ - np_before)
        rf_pub, rf = 100 * np_pub * 1000 / stb, 100 * np_ / n
        print(f"{psia:6.0f} {rf_pub:6.2f} {rf:6.2f} {rf - rf_pub:+5.2f}   "
              f"{interval_pub:7.1f} {interval:7.1f} {100 * (interval / interval_pub - 1):+6.1f}%   "
              f"{rp_pub * GOR:7.1f} {gp / np_:7.1f} {100 * (gp / np_ / (rp_pub * GOR) - 1):+5.1f}%")
        np_before, gp_before, np_pub_before, gp_pub_before = np_, gp, np_pub, gp_pub


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--corey", action="store_true", help="krg, kro along fitted Corey curves")
    parser.add_argument("--steps", type=int, default=0,
                        help="step only from published pressure to published pressure (any value)")
    args = parser.parse_args()
    black_oil(args)
    print()
    volatile_oil(args)


if __name__ == "__main__":
    main()
