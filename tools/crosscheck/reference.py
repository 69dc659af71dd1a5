"""Reference model of the geometry calculation, written apart from the C++ one.

Every formula is evaluated in x87 extended precision through numpy's longdouble
(80-bit on x86-64 Linux).  A value becomes a double only where the program keeps
it in a double field of the design record or hands it to RoundTo; everything in
between stays extended.  The model returns what the main window would show: the
caption and warning colour of every label it writes, whether the run completed,
and the message boxes.
"""

from decimal import Decimal, ROUND_HALF_UP, localcontext
from fractions import Fraction
import re

import numpy as np

E = np.longdouble

# pi rounded to the 64-bit significand of the extended format.
PI = np.ldexp(E(0xC90FDAA2) * E(2 ** 32) + E(0x2168C235), -62)
DEG = PI / E(180)  # one degree in radians, as the degree conversion multiplies

RATIO_MESSAGE = "输入参数不正确......（速比=齿数/头数）"
FAULT_MESSAGE = "只能输入合法数字，且不能为空"

SUFFIX = {
    24: "-----蜗杆齿顶圆弧偏心量",
    23: "-----蜗轮分度圆直径",
    8: "-----蜗杆齿根圆弧半径",
    9: "-----蜗杆齿顶圆弧半径",
    10: "-----蜗杆工作长度",
    11: "-----肩台",
    12: "-----主基圆直径",
    14: "----分度圆齿形角",
    13: "-----母平面倾斜角",
    16: "-----法向弦齿厚",
    17: "-----法向弦齿高",
    25: "-----端面模数",
    26: "-----包围齿数",
    27: "-----工作半包角",
    28: "-----蜗杆喉部导程角",
    53: "-----蜗杆喉部齿根直径",
    48: "-----蜗杆最大齿顶圆直径",
    43: "-----蜗杆齿顶宽",
    18: "-----刀体齿顶圆弧半径",
    19: "-----刀体齿跟圆弧半径",
    20: "-----滚刀有效长度",
    21: "-----滚刀法向弦齿厚",
    22: "-----滚刀法向弦齿高",
    29: "-----滚刀包围齿数",
    49: "-----滚刀齿顶宽",
    33: "-----蜗轮最大外圆",
    44: "------蜗轮法向弦齿厚",
    45: "------蜗轮法向弦齿高",
    34: "-----齿圈工作宽度",
    35: "-----蜗轮喉径",
    40: "-----蜗轮齿顶圆弧半径",
    41: "---修形母面倾斜角",
    42: "----修形传动比",
    51: "----修形中心距",
    52: "----修形主基圆直径",
}

WARNING_LABELS = (14, 28, 53)


class ParseError(Exception):
    pass


class ArithmeticFault(Exception):
    pass


# --------------------------------------------------------------------------
# Numeric conventions
# --------------------------------------------------------------------------

def extended_from_fraction(value):
    """The extended value nearest to an exact rational, ties to even."""
    if value == 0:
        return E(0)
    sign = -1 if value < 0 else 1
    value = abs(value)
    num, den = value.numerator, value.denominator
    exp = num.bit_length() - den.bit_length() - 64
    # Scale so that the integer part has exactly 64 bits.
    while True:
        scaled = Fraction(num, den) / (Fraction(2) ** exp)
        if scaled >= 2 ** 64:
            exp += 1
        elif scaled < 2 ** 63:
            exp -= 1
        else:
            break
    if exp < -16445:  # below the normal range: fewer significant bits remain
        exp = -16445
        scaled = Fraction(num, den) / (Fraction(2) ** exp)
    mant = int(scaled)
    rest = scaled - mant
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and mant % 2 == 1):
        mant += 1
    if mant == 2 ** 64:
        mant //= 2
        exp += 1
    if exp + 64 > 16384:
        raise ParseError("out of the extended range")
    built = E(mant >> 32) * E(2 ** 32) + E(mant & 0xFFFFFFFF)
    return E(sign) * np.ldexp(built, exp)


def exact_decimal(x):
    """The exact decimal value of an extended number."""
    x = E(x)
    hi = float(np.float64(x))
    lo = float(np.float64(x - E(hi)))
    with localcontext() as ctx:
        ctx.prec = 200
        return Decimal(hi) + Decimal(lo)


_FLOAT_TEXT = re.compile(r"^ *([+-]?)(\d*)(?:\.(\d*))?(?:[eE]([+-]?\d+))? *$")


def str_to_float(text):
    m = _FLOAT_TEXT.match(text)
    if not m:
        raise ParseError(text)
    sign, whole, frac, exp = m.groups()
    if whole == "" and frac is None:
        raise ParseError(text)  # neither a digit nor the separator
    frac = frac or ""
    digits = (whole + frac) or "0"
    exponent = int(exp or "0") - len(frac)
    mant = int(digits)
    if mant == 0:
        value = E(0)
    else:
        magnitude = len(str(mant)) + exponent
        if magnitude > 4940:
            raise ParseError(text)
        if magnitude < -4960:
            value = E(0)
        else:
            value = extended_from_fraction(Fraction(mant) * Fraction(10) ** exponent)
    return -value if sign == "-" else value


_INT_TEXT = re.compile(r"^ *([+-]?)(\d+|\$[0-9A-Fa-f]+|0[xX][0-9A-Fa-f]+)$")


def str_to_int(text):
    m = _INT_TEXT.match(text)
    if not m:
        raise ParseError(text)
    sign, body = m.groups()
    if body.startswith("$"):
        value = int(body[1:], 16)
    elif body[:2] in ("0x", "0X"):
        value = int(body[2:], 16)
    else:
        value = int(body)
    if sign == "-":
        value = -value
    if not -2 ** 31 <= value < 2 ** 31:
        raise ParseError(text)
    return value


def dbl(x):
    """Store in a double: the nearest double, an overflow being a fault."""
    x = E(x)
    d = np.float64(x)
    if np.isinf(d) and not np.isinf(x):
        raise ArithmeticFault("overflow storing a double")
    return E(d)


def _factor(digit):
    if digit < 0:
        return dbl(E(1) / E(10 ** -digit))
    return dbl(E(10 ** digit))


def _whole(n):
    """The rounded quotient goes through a 64-bit integer, as Round and Trunc
    do: a value outside its range is an invalid operation."""
    if not -(2 ** 63) <= int(n) <= 2 ** 63 - 1:
        raise ArithmeticFault("integer conversion out of range")
    return n


def round_to(x, digit):
    f = _factor(digit)
    q = dbl(x) / f
    n = _whole(np.rint(q))
    return dbl(n * f)


def trunc(x):
    t = np.trunc(E(x))
    if not np.isfinite(t):
        raise ArithmeticFault("integer conversion of a non-finite value")
    return int(_whole(t))


def deg_to_rad(x):
    return E(x) * DEG


def arcsin(x):
    x = E(x)
    return np.arctan2(x, np.sqrt(E(1) - x * x))


def float_to_str(x):
    x = E(x)
    if x == 0:
        return "0"
    negative = x < 0
    value = abs(exact_decimal(x))
    with localcontext() as ctx:
        ctx.prec = 200
        exp = value.adjusted()
        rounded = value.quantize(Decimal(1).scaleb(exp - 14), rounding=ROUND_HALF_UP)
        if rounded.adjusted() != exp:
            exp = rounded.adjusted()
            rounded = value.quantize(Decimal(1).scaleb(exp - 14), rounding=ROUND_HALF_UP)
    digits = "".join(str(d) for d in rounded.as_tuple().digits).rstrip("0")
    e10 = rounded.adjusted() + 1  # value = 0.d1d2... x 10^e10
    if -3 <= e10 <= 15:
        if e10 > 0:
            head = digits[:e10].ljust(e10, "0")
            tail = digits[e10:]
            text = head + ("." + tail if tail else "")
        else:
            text = "0." + "0" * (-e10) + digits
    else:
        sci = e10 - 1
        text = digits[0] + ("." + digits[1:] if len(digits) > 1 else "") + "E" + str(sci)
    return ("-" if negative else "") + text


def int_to_str(n):
    return str(n)


# --------------------------------------------------------------------------
# The calculation
# --------------------------------------------------------------------------

class Window:
    """The labels as the calculation leaves them."""

    def __init__(self):
        self.captions = {}
        self.red = {}

    def show(self, label, value):
        self.captions[label] = float_to_str(value) + SUFFIX[label]

    def show_text(self, label, text):
        self.captions[label] = text + SUFFIX[label]

    def warn(self, label, warning):
        self.red[label] = bool(warning)


def calculate(fields, N, whole_teeth):
    """fields: texts of Edit1 ... Edit13 by name; N: sixteen doubles.

    Returns (outcome, window, messages) with outcome "completed", "ratio" or
    "fault"."""
    w = Window()
    try:
        # The fault flags are numpy's per-thread error state: set them here.
        with np.errstate(divide="raise", invalid="raise", over="raise", under="ignore"):
            _run(fields, [dbl(E(float(c))) for c in N], whole_teeth, w)
    except _RatioMismatch:
        return "ratio", w, [RATIO_MESSAGE]
    except (ParseError, ArithmeticFault, FloatingPointError, ZeroDivisionError):
        return "fault", w, [FAULT_MESSAGE]
    return "completed", w, []


class _RatioMismatch(Exception):
    pass


def _run(f, N, whole_teeth, w):
    # Inputs and the ratio check.
    a = dbl(str_to_float(f["Edit1"]))
    i = dbl(str_to_float(f["Edit2"]))
    z2 = str_to_int(f["Edit3"])
    z1 = str_to_int(f["Edit4"])
    if abs(i - E(z2) / E(z1)) > str_to_float("0.001"):
        raise _RatioMismatch()
    # Counts below one give no drive; the program rejects them with the
    # failure message once the ratio is known to match.
    if z2 < 1 or z1 < 1:
        raise ArithmeticFault("tooth or start count below one")
    if i < 10:
        delta = 4
    elif i <= str_to_float("30.99"):
        delta = 6
    else:
        delta = 8
    str_to_float(f["Edit5"])
    e = dbl(str_to_float(f["Edit6"]))
    str_to_float(f["Edit7"])
    j = dbl(str_to_float(f["Edit8"]))
    w.show(24, e)

    # Drive characteristics and worm.
    d1 = dbl(str_to_float(f["Edit7"]))
    d2 = round_to(2 * a - d1, -3)
    w.show(23, d2)
    mt = round_to(d2 / E(z2), -3)
    hf = round_to(N[1] * mt, -3)
    df1 = round_to(d1 - 2 * hf, -3)
    Rf1 = round_to(a - df1 / 2, -3)
    w.show(8, Rf1)
    ha = round_to(N[2] * mt, -3)
    da1 = dbl(2 * ha + d1)
    Ra1 = round_to(a - da1 / 2 + e, -3)
    w.show(9, Ra1)
    tau = round_to(E(360) / E(z2), -3)
    K = dbl(E(z2 // 5) / 2 + N[7])
    if whole_teeth:
        K = dbl(trunc(K))
    if K > N[15]:
        K = N[15]
    phiw = round_to(E(0.5) * tau * (K - N[3]), -3)
    Lw = round_to(d2 * np.sin(deg_to_rad(phiw)) + 1, 0)
    w.show(10, Lw)
    shoulder = trunc(N[6] * mt)
    w.show_text(11, int_to_str(shoulder))
    db = dbl(str_to_float(f["Edit5"]))
    w.show(12, db)
    gamma_r = dbl(np.arctan(d2 / i / d1))
    gamma = round_to(gamma_r * 180 / PI, -3)
    alpha = round_to(arcsin(db / d2) * 180 / PI, -3)
    w.warn(14, alpha < str_to_float("20.5") or alpha > str_to_float("24.5"))
    w.show(14, alpha)
    p = round_to(PI * mt, -3)
    r = d2 / a / 2
    c1 = np.cos(deg_to_rad(delta + alpha))
    c0 = np.cos(deg_to_rad(alpha))
    beta = dbl(np.arctan(c0 * (c1 * r) / ((c1 - c0 * r) * i)) * 180 / PI)
    w.show_text(13, float_to_str(round_to(beta, -3)))
    s1 = round_to(p - N[5] * p - j, -3)
    sn1 = round_to(np.cos(deg_to_rad(gamma)) * s1, -3)
    w.show(16, sn1)
    hn1 = round_to(ha - (1 - np.cos(arcsin(s1 / d2))) * (E(0.5) * d2), -3)
    w.show(17, hn1)
    w.show(25, mt)
    w.show(26, K)
    w.show(27, phiw)
    w.warn(28, gamma > 25)
    w.show(28, gamma)
    v = round_to(2 * (a - Rf1), -2)
    w.warn(53, not v >= 30)
    w.show(53, v)

    # Hob and wheel.
    Rh = round_to(Ra1 - str_to_float("0.2") * mt - N[8] * mt, -3)
    w.show(18, Rh)
    w.show(19, Rf1 + N[9])
    Kh = dbl(trunc(K) + N[11])
    phih = round_to(E(0.5) * tau * (Kh - N[10]), -3)
    Lh = round_to(d2 * np.sin(deg_to_rad(phih)) + E(0.5), 0)
    w.show(20, Lh)
    w.show(21, sn1 + j)
    sh = round_to((sn1 + j) / np.cos(deg_to_rad(gamma)), -3)
    hh = round_to(str_to_float("0.2") * mt + hn1 + N[8] * mt, -3)
    w.show(22, hh)
    w.show(29, Kh)
    outer = round_to(2 * ha + d2 + N[13] * mt, 0)
    s2 = round_to(p * N[5], -3)
    w.show(44, round_to(np.cos(deg_to_rad(gamma)) * s2, -3))
    w.show(45, round_to((1 - np.cos(arcsin(s2 / d2))) * (E(0.5) * d2) + ha, -3))
    w.show(33, outer)
    b2 = trunc(N[14] * d1)
    w.show(34, E(b2))
    w.show(35, round_to(2 * ha + d2, -3))

    w.show(48, round_to(2 * (a + e - np.sqrt(Ra1 * Ra1 - (E(0.5) * Lw) * (E(0.5) * Lw))), -3))
    w.show(40, round_to((a - np.sqrt(Rf1 * Rf1 - (E(0.5) * Lw) * (E(0.5) * Lw))) * (2 * N[12]), 0))
    theta = np.arctan((s1 / 2) / (Ra1 - e + hn1)) * 180 / PI + alpha
    w.show(43, round_to(2 * (s1 / 2 - np.tan(deg_to_rad(theta)) * hn1), -2))

    theta_h = np.arctan((sh / 2) / (Rh - e + hh)) * 180 / PI + alpha
    w.show(49, round_to(2 * (sh / 2 - np.tan(deg_to_rad(theta_h)) * hh), -2))

    # Modified drive.
    dz = dbl(str_to_float(f["Edit13"]))
    i_m = round_to((z2 + dz) / E(z1), -3)
    a_m = dbl(dz * mt / 2 + a)
    d2_m = dbl((z2 + dz) * mt)
    db_m = dbl(np.sin(deg_to_rad(alpha)) * d2_m)
    alpha_m = dbl(arcsin(db_m / d2_m) * 180 / PI)
    r_m = d2_m / a_m / 2
    c1_m = np.cos(deg_to_rad(delta + alpha_m))
    c0_m = np.cos(deg_to_rad(alpha_m))
    beta_m = dbl(np.arctan(c0_m * (c1_m * r_m) / ((c1_m - c0_m * r_m) * i_m)) * 180 / PI)
    w.show(41, round_to(beta_m, -3))
    w.show(42, i_m)
    w.show(51, round_to(a_m, -3))
    w.show(52, round_to(db_m, -3))
