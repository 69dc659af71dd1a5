#!/usr/bin/python3
"""Independent hand check of the drive-check cases of test_rating.cpp.

    python3 hand_check.py

Written apart from rating/rating.cpp, straight from the relations as the
manual states them, in plain Python floats (IEEE double, math module only);
it prints each case's values with 17 significant digits, which the C++ table
holds as its expected values. The C++ side computes in long double, so the
two agree to about 1e-15 relative; the test allows 1e-11.
"""
import math

STEEL_BRONZE = [(0.5, 0.06), (1, 0.05), (2, 0.035), (5, 0.023), (10, 0.017), (20, 0.014)]
IRON_IRON = [(0.5, 0.08), (1, 0.067), (2, 0.050), (5, 0.037), (10, 0.022), (20, 0.018)]


def mu_from(table, vs):
    if vs <= table[0][0]:
        return table[0][1], vs < table[0][0]
    if vs >= table[-1][0]:
        return table[-1][1], vs > table[-1][0]
    for (v0, m0), (v1, m1) in zip(table, table[1:]):
        if vs <= v1:
            return m0 + (m1 - m0) * (vs - v0) / (v1 - v0), False


def check(name, a, i, d1, d2, gamma_deg, alpha_deg, p1, n1, table=None, mu=None,
          ta=20.0, tlim=80.0, alpha_s=14.0, s=None, eta_o=0.96):
    g = math.radians(gamma_deg)
    al = math.radians(alpha_deg)
    t1 = 9550.0 * p1 / n1
    n2 = n1 / i
    vs = math.pi * d1 * n1 / (60000.0 * math.cos(g))
    outside = False
    if mu is None:
        mu, outside = mu_from(table, vs)
    rho = math.atan(mu / math.cos(al))
    eta_m = math.tan(g) / math.tan(g + rho)
    eta = eta_m * eta_o
    locking = g <= rho
    eta_b = 0.0 if locking else math.tan(g - rho) / math.tan(g)
    t2 = t1 * i * eta
    p2 = p1 * eta
    ft2 = 2000.0 * t2 / d2
    ft1 = 2000.0 * t1 / d1
    fr = ft2 * math.tan(al) / math.cos(g)
    h = 1000.0 * p1 * (1.0 - eta)
    if s is None:
        s = 9e-5 * a ** 1.85
    to = ta + h / (alpha_s * s)
    sreq = h / (alpha_s * (tlim - ta))
    values = [t1, n2, vs, mu, math.degrees(rho), eta_m, eta, eta_b, t2, p2, ft2, ft1, fr, h, s, to, sreq]
    print("// %s: self-locking %s, thermal ok %s, vs outside table %s"
          % (name, locking, to <= tlim, outside))
    print("{" + ", ".join("%.17gL" % v for v in values) + "}")


# The manual's example design (a 250, z2 45, z1 2, d1 90, db 160): d2 = 410,
# γ = 11.446°, α = 22.97° as the program shows them.
check("manual example, 15 kW at 1450 r/min, steel-bronze", 250, 22.5, 90, 410, 11.446, 22.97, 15, 1450,
      table=STEEL_BRONZE)
check("self-locking: γ 3.5° below ρ' with a typed μ 0.1", 200, 50, 80, 320, 3.5, 20, 2, 750, mu=0.1)
check("vs below the table: 50 r/min", 250, 22.5, 90, 410, 11.446, 22.97, 1, 50, table=STEEL_BRONZE)
check("vs above the table: 4500 r/min", 250, 22.5, 90, 410, 11.446, 22.97, 15, 4500, table=STEEL_BRONZE)
check("failing heat check: 30 kW, iron-iron, S 1 m², ta 35", 250, 22.5, 90, 410, 11.446, 22.97, 30, 1450,
      table=IRON_IRON, ta=35, tlim=85, alpha_s=10, s=1.0, eta_o=0.95)
