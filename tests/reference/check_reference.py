#!/usr/bin/env python3
"""Compares the clearance core with the exact model on many generated inputs.

Three kinds of request go to the clearance_eval driver in one batch: whole
calculations from six field texts, single field parses (bit patterns compared),
and result texts of chosen single values. Exits non-zero on any disagreement.
"""

import argparse
import math
import os
import random
import resource
import subprocess
import sys
import time
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import crcl_reference as ref  # noqa: E402

FLT_MAX = ref.single_from_bits(0x7F7FFFFF)
STARTUP = ("55", "1.0", "1500", "24", "69", "175")

# Outcomes that follow from the rules by hand; they keep the model itself honest.
EVAL_ANCHORS = [
    (STARTUP, True, True, ref.RESULT, "50.0"),
    (("55", "2.0", "1500", "24", "69", "175"), True, True, ref.RESULT, "25.0"),
    (("120", "1.2", "1800", "24", "170", "70"), False, False, ref.RESULT, "117.9"),
    (("120", "1.2", "1800", "24", "170", "70"), True, True, ref.RESULT, "109.8"),
    (("1", "100", "1", "24", "69", "175"), True, True, ref.RESULT, ".0"),
    (("55", "2,0", "1 500", "24h", "&H45", "&O257"), True, True, ref.RESULT, "25.0"),
    (("55", "1e-20", "1500", "1e-20", "69", "175"), True, True, ref.FP_ERROR, ref.OVERFLOW),
    (("55", "1.0", "1500", "24", "1.35e38", "175"), True, True, ref.FP_ERROR, ref.OVERFLOW),
    (("55", "1.0", "1500", "24", "1e-44", "1e-44"), False, False, ref.FP_ERROR,
     ref.DIVISION_BY_ZERO),
    (("55", "1.0", "1500", "24", "69", "1e400"), True, True, ref.FP_ERROR, ref.OVERFLOW),
    (("55", "1.0", "1500", "24", "69", "1e39"), True, True, ref.FP_ERROR, ref.OVERFLOW),
    (("55", "", "1500", "24", "69", "175"), True, True, ref.INVALID_FIELDS, None),
    (("55", "1.0", "abc", "24", "69", "175"), True, True, ref.INVALID_FIELDS, None),
    (("55", "1.0", "1500", "0.0", "69", "175"), True, True, ref.INVALID_FIELDS, None),
    (("55", "1.0", "1500", "24", "-5", "175"), True, True, ref.INVALID_FIELDS, None),
    (("55", "1.0", "1500", "24", "69", "1e-46"), True, True, ref.INVALID_FIELDS, None),
    (("55", "1.0", "1500", "24", "69", "-1e400"), True, True, ref.INVALID_FIELDS, None),
    (("55", "1.0", "1500", "24", "1e400", "0"), True, True, ref.INVALID_FIELDS, None),
]
PARSE_ANCHORS = [
    ("55", 55.0), ("1.0", 1.0), ("", 0.0), ("abc", 0.0), ("12abc", 12.0), ("1,500", 1.0),
    (" 1 5\t0\n0 ", 1500.0), (".5", 0.5), ("5.", 5.0), ("+7", 7.0), ("1e3", 1000.0),
    ("1D3", 1000.0), ("2.5E-1", 0.25), ("&H10", 16.0), ("&O17", 15.0), ("&hff", 255.0),
    ("&H1e3", 483.0), ("-", 0.0), (".", 0.0), ("1.2.3", 1.2), ("1e-46", 0.0),
    ("1e-45", 1e-45), ("0.1", 0.1), ("15\r\n", 15.0), ("1\u00a0500", 1.0), ("\uff15", 0.0),
    ("1e", 1.0), ("1e+", 1.0), ("&HFFFF", 65535.0), ("1e400", math.inf), ("1e-400", 0.0),
]
TEXT_ANCHORS = [
    (49.96083, "50.0"), (99.95, "100.0"), (100.35, "100.4"), (60.65, "60.7"), (12.25, "12.3"),
    (0.46, ".5"), (0.05, ".1"), (0.04, ".0"), (0.96, "1.0"), (12345.67, "12345.7"),
    (123456789.0, "123456800.0"), (6.055858e-6, ".0"), (0.0, ".0"),
]

NBSP = "\u00a0"
FULL_WIDTH = "\uff10\uff11\uff15\uff0e"
JUNK = ["abc", ",", ",5", ".", ".5.5", "..", "%", "mg", " mL", "kg", "lb", "\r", "\r\n", NBSP,
        NBSP + "5", "\uff15", "\x00", "\x0b", "\x0c", "x", "e", "E+", "d-", "&", "$", "\u2212",
        "\u00b7", "\u20ac", "1", "+", "-", "--", "e5"]
WHITESPACE = [" ", "\t", "\n"]


# --- field text generators ------------------------------------------------------------------


def exact_decimal(q):
    """The terminating decimal expansion of a non-negative Fraction."""
    d = q.denominator
    twos = (d & -d).bit_length() - 1
    rest, fives = d >> twos, 0
    while rest % 5 == 0:
        rest //= 5
        fives += 1
    places = max(twos, fives)
    digits = str(q.numerator * 10**places // d).rjust(places + 1, "0")
    return digits[: len(digits) - places] + ("." + digits[len(digits) - places :] if places else "")


def exact_text(x):
    """A text that reads back as exactly the single or double value x."""
    return repr(float(x))


def scatter_whitespace(rng, s, chance=0.15):
    out = []
    for ch in s:
        if rng.random() < chance:
            out.append(rng.choice(WHITESPACE) * rng.randint(1, 3))
        out.append(ch)
    if rng.random() < chance:
        out.append(rng.choice(WHITESPACE))
    return "".join(out)


def restyle(rng, value, places):
    """One of the many ways a user might type a plain decimal number."""
    style = rng.random()
    if style < 0.55:
        s = f"{value:.{places}f}"
    elif style < 0.7:
        s = f"{value:.{rng.randint(1, 9)}g}"
    elif style < 0.8:
        mantissa, exponent = f"{value:.{rng.randint(1, 8)}e}".split("e")
        s = mantissa + rng.choice("eEdD") + rng.choice(["", "+", "0"]) + str(int(exponent))
    elif style < 0.9:
        s = rng.choice(["+", "0", "00", "+0"]) + f"{value:.{places}f}"
    else:
        s = f"{value:.{places}f}".rstrip("0")
        if s.startswith("0."):
            s = s[1:]
    if rng.random() < 0.2:
        s = scatter_whitespace(rng, s)
    if rng.random() < 0.1:
        s += rng.choice(JUNK)
    return s


def clinical_fields(rng, inches, pounds):
    height = rng.uniform(40, 90) if inches else rng.uniform(100, 220)
    weight = rng.uniform(50, 400) if pounds else rng.uniform(20, 200)
    values = [(rng.uniform(5, 400), 1), (rng.uniform(0.1, 15), 2), (rng.uniform(100, 5000), 0),
              (rng.choice([24, 24, 12, 6, 48, rng.uniform(1, 48)]), 1), (height, 1), (weight, 1)]
    return [restyle(rng, v, rng.randint(0, places + 1)) for v, places in values]


def malformed_text(rng):
    parts = ["0", "1", "5", "9", "12", ".", ",", "+", "-", "e", "E", "d", "D", "&", "H", "h",
             "O", "o", "a", "F", "8", " ", "\t", "\n", "\r", NBSP, "\uff11", "\x00", "e-", "1e5",
             "&H", "&O", "..", "\u00e9", "\U0001f600", "\x7f", "\udcff", "\udc80\udc80"]
    return "".join(rng.choices(parts, k=rng.randint(0, 14)))


def radix_text(rng):
    hexadecimal = rng.random() < 0.6
    alphabet = "0123456789abcdefABCDEF" if hexadecimal else "01234567"
    count = rng.choice([0, 1, 2, 4, 8, 13, 14, 16, 20, 27, 40, 64, 255, 256, 257, 300, 1000, 3000])
    digits = "".join(rng.choices(alphabet, k=count))
    if rng.random() < 0.3:
        digits = "0" * rng.randint(1, 2000) + digits
    s = "&" + rng.choice("Hh" if hexadecimal else "Oo") + digits
    if rng.random() < 0.3:
        s += rng.choice(["g", "8", "9", ".5", "e3", "&H1", "-1", NBSP, "\uff11"])
    if rng.random() < 0.2:
        s = scatter_whitespace(rng, s, 0.05)
    return s


def long_decimal_text(rng):
    count = rng.choice([30, 100, 500, 800, 2000, 5000])
    digits = "".join(rng.choices("0123456789", k=count))
    shape = rng.randrange(6)
    if shape == 0:
        return digits
    if shape == 1:
        return "0." + "0" * rng.randint(0, 3000) + digits + "e" + str(rng.randint(-400, 3400))
    if shape == 2:
        return digits + "e-" + str(count + rng.randint(-350, 350))
    if shape == 3:
        return "1" + "0" * count + "e-" + str(count)
    if shape == 4:
        sign = rng.choice(["", "-", "+"])
        return digits[:3] + "e" + sign + "0" * count + str(rng.randint(0, 400))
    return "1e" + rng.choice(["", "-"]) + "9" * rng.randint(5, 400)


MAGNITUDES = ["7.006492321624085e-46", "7.0064923e-46", "7.1e-46", "1.4e-45", "1e-45", "2.8e-45",
              "1.1754942e-38", "1.1754943e-38", "3.4028234e38", "3.40282347e38",
              "3.40282356e38", "3.40282357e38", "3.4028236e38", "1.3396943e38", "1.3396944e38",
              "1.34e38", "1e308", "1.7976931348623157e308", "1.7976931348623159e308", "1.8e308",
              "1e309", "1e400", "1e-400", "4.9e-324", "2.4703282292062328e-324",
              "2.4703282292062327e-324", "1e-310", "2.2250738585072014e-308", "0e999999"]


def extreme_text(rng):
    pick = rng.random()
    if pick < 0.4:
        s = rng.choice(MAGNITUDES)
    elif pick < 0.8:
        exponent = rng.choice([-46, -45, -44, -40, -38, -324, -320, -308, 36, 37, 38, 39, 308, 309])
        s = f"{rng.uniform(1, 10):.{rng.randint(0, 12)}f}e{exponent}"
    else:
        s = exact_text(ref.single_from_bits(rng.choice([1, 2, 3, 0x7F7FFFFF, 0x7F7FFFFE, 0x00800000,
                                                        0x007FFFFF, 0x7F000000])))
    return ("-" if rng.random() < 0.1 else "") + s


def random_single(rng, low_exp=-149, high_exp=127):
    """A positive finite single drawn evenly over its binary exponents."""
    while True:
        x = math.ldexp(rng.random() + 0.5, rng.randint(low_exp, high_exp))
        s = ref.to_single(x)
        if 0 < s < math.inf:
            return s


def next_single(x, steps=1):
    return ref.single_from_bits(ref.single_bits(x) + steps)


def rounding_trap_texts(rng):
    """Texts at or a hair beside a midpoint between two singles, where reading straight to
    single and reading to double first part ways."""
    a = random_single(rng)
    m = (Fraction(a) + Fraction(next_single(a))) / 2
    half_double_ulp = Fraction(math.ulp(float(m))) / 2
    hair = Fraction(1, 10 ** (len(exact_decimal(m)) + 3))
    points = [m, m + hair, m - hair, m + half_double_ulp, m - half_double_ulp,
              m + half_double_ulp + hair, m - half_double_ulp - hair]
    texts = [exact_decimal(p) for p in points]
    if m >= 2**54:
        integers = [int(m), int(m) + 1, int(m) - 1, int(m + half_double_ulp),
                    int(m + half_double_ulp) + 1, int(m - half_double_ulp) - 1]
        texts += ["&H%X" % n for n in integers] + ["&O%o" % n for n in integers[:3]]
        texts += [str(n) for n in integers]
    return texts


TOP_TIE = 2**128 - 2**103  # halfway between the largest single and 2**128
BOUNDARY_TEXTS = [str(TOP_TIE), str(TOP_TIE - 1), "&H%X" % (TOP_TIE - 1), "&O%o" % (TOP_TIE - 1),
                  str(TOP_TIE - 2**75), str(TOP_TIE - 2**74), str(TOP_TIE - 2**74 - 1),
                  "&H" + "F" * 256, "&H" + "F" * 255, "&H1" + "0" * 256, "&O1" + "7" * 341,
                  "&H" + "0" * 5000 + "1", "1" + "0" * 308, "1" + "0" * 309]


MEGA = 1_000_000
HUGE_TEXTS = ["1" * MEGA + "e-" + str(MEGA), "0." + "0" * MEGA + "1e" + str(MEGA + 1),
              "&H" + "0" * MEGA + "1F", "1e" + "0" * MEGA + "5", " " * MEGA + "5",
              "5" + " \t\n" * (MEGA // 3), "1" + "0" * MEGA, "-" + "9" * MEGA, "&O" + "7" * MEGA,
              "1," + "9" * MEGA, NBSP * (MEGA // 2), "7." + "3" * MEGA + "e-" + "0" * MEGA + "2"]
# A parse that is linear in the text answers all of these in well under a second. Counted in
# the driver's CPU time: the wall clock also counts what other tests and builds take meanwhile.
HUGE_SECONDS_LIMIT = 10.0


# --- whole calculations ---------------------------------------------------------------------


def unit_flags(rng):
    if rng.random() < 0.8:
        flag = rng.random() < 0.5
        return flag, flag
    return rng.random() < 0.5, rng.random() < 0.5


def clinical_case(rng):
    inches, pounds = unit_flags(rng)
    return clinical_fields(rng, inches, pounds), inches, pounds


def half_targets(rng):
    """Decimal values whose seven digits end exactly on the half of the shown tenth."""
    scale = rng.choice([0, 0, 1, 1, 10, 100, 1000, 10000])
    whole = rng.randrange(max(scale, 1) * 9) + scale if scale else 0
    tenth = Fraction(rng.randrange(10), 10)
    return whole + tenth + Fraction(1, 20)


def half_cases(rng):
    """Inputs whose clearance renders on, or one step beside, the half of the shown decimal."""
    fields, inches, pounds = clinical_case(rng)
    values = [ref.parse_field(f.encode()) for f in fields]
    if not ref.all_positive(values) or math.isinf(max(values)):
        return []
    target = half_targets(rng)
    probe = values[:2] + [1.0] + values[3:]
    error, unit_clearance = ref.compute_clearance(probe, inches, pounds)
    if error != ref.NO_ERROR or unit_clearance == 0:
        return []
    volume = ref.to_single(float(target) / unit_clearance)
    if not 0 < volume < FLT_MAX:
        return []
    scan = []
    for step in range(-12, 13):
        v = next_single(volume, step)
        error, c = ref.compute_clearance(values[:2] + [v] + values[3:], inches, pounds)
        if error == ref.NO_ERROR:
            scan.append((v, ref.seven_digit_roundings(Fraction(c))))
    if not scan:
        return []
    hits = [i for i, (_, r) in enumerate(scan) if target in r]
    chosen = set()
    for i in hits or [min(range(len(scan)), key=lambda i: abs(scan[i][1][0] - target))]:
        chosen.update(j for j in (i - 1, i, i + 1) if 0 <= j < len(scan))
    return [(fields[:2] + [exact_text(scan[i][0])] + fields[3:], inches, pounds)
            for i in sorted(chosen)]


def replace_some(rng, fields, make, most=2):
    fields = list(fields)
    for i in rng.sample(range(6), rng.randint(1, most)):
        fields[i] = make(rng)
    return fields


def extreme_case(rng):
    fields, inches, pounds = clinical_case(rng)
    shape = rng.randrange(6)
    if shape == 0:
        return replace_some(rng, fields, extreme_text, 3), inches, pounds
    if shape == 1:  # the height that just stays in range once converted from inches
        h = ref.to_single(FLT_MAX / 2.54)
        fields[4] = exact_text(next_single(h, rng.randint(-3, 3)))
        return fields, True, pounds
    if shape == 2:  # no surface area left: zero denominator
        fields[4] = rng.choice(["1e-44", "1e-45", "1.4e-45", "3e-45", "1e-30", "1e-22"])
        fields[5] = rng.choice(["1e-44", "1e-45", "1.4e-45", "3e-45", "1e-30", "1e-22"])
        return fields, inches, pounds
    if shape == 3:  # a clearance near the top of the single range
        fields[rng.choice([0, 2])] = exact_text(random_single(rng, 100, 127))
        fields[rng.choice([1, 3])] = exact_text(random_single(rng, -149, -60))
        return fields, inches, pounds
    if shape == 4:  # a clearance that rounds to zero
        fields[rng.choice([0, 2])] = exact_text(random_single(rng, -149, -100))
        fields[rng.choice([1, 3])] = exact_text(random_single(rng, 60, 127))
        return fields, inches, pounds
    return [exact_text(random_single(rng)) for _ in range(6)], inches, pounds


def malformed_case(rng):
    fields, inches, pounds = clinical_case(rng)
    make = rng.choice([malformed_text, radix_text, long_decimal_text, lambda r: r.choice(JUNK)])
    return replace_some(rng, fields, make, 6), inches, pounds


# --- driver round trip ----------------------------------------------------------------------


def hex_field(text):
    data = text.encode("utf-8", "surrogateescape")
    return data.hex() if data else "-"


def children_cpu_seconds():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def run_driver(driver, requests):
    payload = "".join(r + "\n" for r in requests).encode()
    started = children_cpu_seconds()
    proc = subprocess.run(driver, input=payload, capture_output=True, check=False)
    run_driver.seconds = children_cpu_seconds() - started
    if proc.returncode != 0:
        sys.exit(f"driver failed ({proc.returncode}): {proc.stderr.decode(errors='replace')}")
    lines = proc.stdout.decode().splitlines()
    if len(lines) != len(requests):
        sys.exit(f"driver answered {len(lines)} of {len(requests)} requests")
    return lines


def same_single(bits, other):
    """Equal bit patterns; the sign of a zero is not part of what a field reads as."""
    return bits == other or (bits | other) == 0x80000000


def show(text, limit=160):
    r = repr(text)
    return r if len(r) <= limit else r[: limit - 20] + f"...<{len(text)} chars>"


def units(inches, pounds):
    return f"{'in' if inches else 'cm'}/{'lb' if pounds else 'kg'}"


def raw(text):
    return text.encode("utf-8", "surrogateescape")


class Calculations:
    name = "calculation"

    @staticmethod
    def request(case):
        _, fields, inches, pounds = case
        return f"E {int(inches)} {int(pounds)} " + " ".join(hex_field(t) for t in fields)

    @staticmethod
    def judge(case, got):
        category, fields, inches, pounds = case
        kind, error, texts = ref.evaluate([raw(f) for f in fields], inches, pounds)
        parts = got.split(" ")
        shown_ok = parts[2:] == [] if kind != ref.RESULT else len(parts) == 3 and parts[2] in texts
        if parts[:2] == [kind, error] and shown_ok:
            return None
        model = f"{kind} {error} {'|'.join(texts)}".rstrip()
        return f"[{category}] {units(inches, pounds)} {show(fields, 400)}\n" \
               f"      model: {model}\n      core:  {got}"


class Parses:
    name = "parse"

    @staticmethod
    def request(text):
        return f"P {hex_field(text)}"

    @staticmethod
    def judge(text, got):
        want = ref.single_bits(ref.parse_field(raw(text)))
        if same_single(int(got, 16), want):
            return None
        return f"{show(text)}\n      model: {want:08x} ({ref.single_from_bits(want)!r})" \
               f"\n      core:  {got} ({ref.single_from_bits(int(got, 16))!r})"


class ResultTexts:
    name = "result text"

    @staticmethod
    def request(x):
        return f"T {ref.single_bits(x):08x}"

    @staticmethod
    def judge(x, got):
        want = ref.result_texts(x)
        if (got if got != "-" else "") in want:
            return None
        return f"{x!r} (bits {ref.single_bits(x):08x})\n      model: {'|'.join(want)!r}" \
               f"\n      core:  {got!r}"


class Formulas:
    name = "formula"

    @staticmethod
    def request(case):
        values, inches, pounds = case
        return f"C {int(inches)} {int(pounds)} " + \
            " ".join(f"{ref.single_bits(v):08x}" for v in values)

    @staticmethod
    def judge(case, got):
        values, inches, pounds = case
        error, clearance = ref.compute_clearance(values, inches, pounds)
        want = error + (f" {ref.single_bits(clearance):08x}" if error == ref.NO_ERROR else "")
        if got.split(" ")[: 1 + (error == ref.NO_ERROR)] == want.split(" "):
            return None
        return f"{units(inches, pounds)} {[repr(v) for v in values]}\n" \
               f"      model: {want} ({clearance!r})\n      core:  {got}"


def check(driver, batches):
    """Sends every request in one run of the driver; returns the faults by kind."""
    requests = [kind.request(item) for kind, items in batches for item in items]
    answers = iter(run_driver(driver, requests))
    faults = {}
    for kind, items in batches:
        for item in items:
            fault = kind.judge(item, next(answers))
            if fault:
                faults.setdefault(kind.name, []).append(fault)
    return faults


def model_faults():
    """Known answers the model itself must give before it may judge the core."""
    faults = []
    for texts, inches, pounds, kind, detail in EVAL_ANCHORS:
        got = ref.evaluate([t.encode() for t in texts], inches, pounds)
        expected = (kind, detail if kind == ref.FP_ERROR else ref.NO_ERROR,
                    [detail] if kind == ref.RESULT else [])
        if got != expected:
            faults.append(f"{texts} {units(inches, pounds)} -> {got}, expected {expected}")
    for text, value in PARSE_ANCHORS:
        got = ref.parse_field(text.encode())
        if not same_single(ref.single_bits(got), ref.single_bits(ref.to_single(value))):
            faults.append(f"parse {text!r} -> {got!r}, expected {value!r}")
    for value, shown in TEXT_ANCHORS:
        got = ref.result_texts(ref.to_single(value))
        if got != [shown]:
            faults.append(f"text {value!r} -> {got}, expected {shown!r}")
    return faults


def generate(rng, count):
    evals = [("anchor", list(t), i, p) for t, i, p, _, _ in EVAL_ANCHORS]
    # Each half pick yields about five cases, so the calculations split roughly
    # 35 % clinical, 30 % on the half, 15 % extreme, 20 % malformed.
    mix = [("clinical", clinical_case, 0.47), ("extreme", extreme_case, 0.20),
           ("malformed", malformed_case, 0.25)]
    while len(evals) < count:
        pick = rng.random()
        for name, make, share in mix:
            if pick < share:
                evals.append((name, *make(rng)))
                break
            pick -= share
        else:
            evals.extend(("half", *case) for case in half_cases(rng))

    parses = sorted({t for _, fields, _, _ in evals for t in fields} |
                    {t for t, _ in PARSE_ANCHORS} | set(BOUNDARY_TEXTS))
    for _ in range(3000):
        parses.extend(rounding_trap_texts(rng))
    for make in (malformed_text, radix_text, long_decimal_text, extreme_text):
        parses.extend(make(rng) for _ in range(1500))

    singles = [ref.to_single(v) for v, _ in TEXT_ANCHORS] + [0.0, math.inf, math.nan, FLT_MAX]
    for _ in range(6000):
        singles.append(random_single(rng))
        exponent = rng.randint(-1, 6)
        boundary = Fraction(rng.randrange(10 ** (exponent + 1)), 10) + Fraction(1, 20)
        nearest = ref.to_single(float(boundary))
        singles.extend(next_single(nearest, k) for k in (-1, 0, 1))
    for power in range(-44, 39):  # seven nines that carry into a new digit, or not
        nearest = ref.to_single(10.0**power)
        singles.extend(next_single(nearest, k) for k in range(-3, 4))
    for _ in range(500):  # exact ties at the eighth digit, where either way is accepted
        singles.append(ref.to_single(rng.randrange(1_000_000, 8_388_608) + 0.5))

    formulas = []
    while len(formulas) < 8000:
        fields, inches, pounds = clinical_case(rng)
        values = [ref.parse_field(raw(f)) for f in fields]
        if ref.all_positive(values) and max(values) < math.inf:
            for i in rng.sample(range(6), rng.choice([0, 0, 1, 2, 3, 6])):
                values[i] = random_single(rng)
            formulas.append((values, inches, pounds))
    return [(Calculations, evals), (Parses, parses), (ResultTexts, singles), (Formulas, formulas)]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--driver", required=True, nargs="+", help="the driver, after any emulator")
    parser.add_argument("--seed", type=int, default=1729)
    parser.add_argument("--cases", type=int, default=24000, help="whole calculations")
    parser.add_argument("--show", type=int, default=12, help="disagreements shown per kind")
    args = parser.parse_args()
    started = time.monotonic()

    wrong = model_faults()
    if wrong:
        sys.exit("the model contradicts the known answers:\n" + "\n".join(wrong))

    batches = generate(random.Random(args.seed), args.cases)
    faults = check(args.driver, batches)
    huge_evals = [("huge", HUGE_TEXTS[i : i + 6], i == 0, i == 6) for i in (0, 6)]
    huge_batches = [(Parses, HUGE_TEXTS), (Calculations, huge_evals)]
    for name, found in check(args.driver, huge_batches).items():
        faults.setdefault(name, []).extend(found)
    huge_seconds = run_driver.seconds

    print(", ".join(f"{len(items)} {kind.name}s" for kind, items in batches) +
          f", {len(HUGE_TEXTS)} megabyte texts in {huge_seconds:.2f} s of CPU; seed {args.seed}, "
          f"{time.monotonic() - started:.1f} s in all")
    for name, found in faults.items():
        print(f"\n{len(found)} {name} disagreement(s); the first {min(len(found), args.show)}:")
        for line in found[: args.show]:
            print("  " + line)
    if huge_seconds > HUGE_SECONDS_LIMIT:
        print(f"\nthe megabyte texts took {huge_seconds:.1f} s of CPU: reading is not linear in the text")
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
