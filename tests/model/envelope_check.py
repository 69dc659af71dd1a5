#!/usr/bin/python3
"""An independent look at the worm flank: the material the generating plane
leaves, sampled directly.

Reads a JSON object on stdin: the generating motion (a, i, rb, beta,
tangent angle), the tooth zone of the tool and nodes (u, v, psi) of the
left flank from the C++ model. For each node it intersects the circle u of
the axial section v with the plane of every tool angle theta of a dense
sample over half a tool pitch either way (closed form: A cos psi + B sin psi
= C), keeps the smallest crossing angle psi (the plane removes everything
beyond it) where the point lies in the tool's tooth zone, and refines the
minimum with a bounded scalar minimisation. Prints the largest difference
u * |psi_model - psi_sampled| in mm. numpy/scipy in float64: agreement to
well below a micrometre is what an independent float64 calculation can show
(it agrees to about 1e-13 mm).
"""
import json
import sys

import numpy as np
from scipy.optimize import minimize_scalar


def main():
    d = json.load(sys.stdin)
    a, i, rb, beta, tang = d["a"], d["i"], d["rb"], d["beta"], d["tangent"]
    pitch = 2 * np.pi / d["teeth"]
    zone = d["zone"]  # [tip, root, half width]

    def cut(theta, u, v):
        # The plane at tool angle theta in the fixed frame.
        psi_t = tang - theta
        n = np.array([np.cos(beta) * np.cos(psi_t), -np.sin(beta), -np.cos(beta) * np.sin(psi_t)])
        p = n[0] * a - rb * np.cos(beta)
        phi = i * theta
        c, s = np.cos(v + phi), np.sin(v + phi)
        k = n[0] * c + n[1] * s
        # n . Rz(phi) X(psi) = p, X(psi) = ((a - u cos psi) cos v, (a - u cos psi) sin v, u sin psi)
        A, B, C = -u * k, u * n[2], p - a * k
        r = np.hypot(A, B)
        if abs(C) > r:
            return np.inf
        base = np.arctan2(B, A)
        roots = [base + np.arccos(C / r), base - np.arccos(C / r)]
        roots = [(x + np.pi) % (2 * np.pi) - np.pi for x in roots]
        psi = min(roots, key=abs)
        # Only where the point passes through the tool's tooth.
        rho = a - u * np.cos(psi)
        x, y, z = rho * c, rho * s, u * np.sin(psi)
        rw = np.hypot(a - x, z)
        if rw < zone[0] or rw > zone[1] or abs(y) > zone[2]:
            return np.inf
        return psi

    worst = 0.0
    for u, v, psi_model in d["nodes"]:
        centre = -v / i
        thetas = np.linspace(centre - pitch / 2, centre + pitch / 2, 4001)
        values = np.array([cut(t, u, v) for t in thetas])
        k = int(np.argmin(values))
        if not np.isfinite(values[k]) or k == 0 or k == len(thetas) - 1:
            print("no interior minimum for node", u, v)
            return 1
        res = minimize_scalar(lambda t: cut(t, u, v), bounds=(thetas[k - 1], thetas[k + 1]), method="bounded",
                              options={"xatol": 1e-14})
        worst = max(worst, u * abs(psi_model - res.fun))
    print("%.3e" % worst)
    return 0


if __name__ == "__main__":
    sys.exit(main())
