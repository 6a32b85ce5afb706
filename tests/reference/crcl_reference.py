"""Independent model of the clearance calculation, in exact arithmetic.

Every rounding is done from exact values: the field text becomes a Fraction, is
rounded once to a double and once more to a single; the formula rounds where the
window's arithmetic stores a value; the result text is made from the exact
decimal expansion of the single clearance.
"""

import math
import re
import struct
import sys
from fractions import Fraction

if hasattr(sys, "set_int_max_str_digits"):
    sys.set_int_max_str_digits(0)  # fields may hold thousands of digits

INF = math.inf

INVALID_FIELDS = "invalid"
FP_ERROR = "fperror"
RESULT = "result"

NO_ERROR = "none"
OVERFLOW = "overflow"
DIVISION_BY_ZERO = "divzero"

_RADIX = re.compile(rb"&(?:[Hh]([0-9a-fA-F]*)|[Oo]([0-7]*))")
_DECIMAL = re.compile(rb"([+-]?)([0-9]*)(?:\.([0-9]*))?(?:[eEdD]([+-]?)([0-9]+))?")

# Beyond these decimal exponents a value is surely infinite or surely zero in
# double precision, so huge exponents never reach exact arithmetic.
_TOO_LARGE_EXP10 = 310
_TOO_SMALL_EXP10 = -400
_KEPT_DIGITS = 800


def to_single(x):
    """Round a double to the nearest single, as a C cast does (beyond range: infinity)."""
    try:
        return struct.unpack("<f", struct.pack("<f", x))[0]
    except OverflowError:
        return math.copysign(INF, x)


def single_bits(x):
    return struct.unpack("<I", struct.pack("<f", x))[0]


def single_from_bits(bits):
    return struct.unpack("<f", struct.pack("<I", bits))[0]


def _fraction_to_double(q):
    try:
        return float(q)  # int / int true division in CPython is correctly rounded
    except OverflowError:
        return INF if q > 0 else -INF


def parse_double(text):
    """Lenient numeric prefix of a field (bytes), correctly rounded to double."""
    s = text.translate(None, b" \t\n")
    radix = _RADIX.match(s)
    if radix:
        hex_digits, oct_digits = radix.groups()
        digits, base = (hex_digits, 16) if hex_digits is not None else (oct_digits, 8)
        return _fraction_to_double(Fraction(int(digits, base))) if digits else 0.0

    sign, whole, fraction, exp_sign, exp_digits = _DECIMAL.match(s).groups()
    fraction = fraction or b""
    exp_digits = (exp_digits or b"").lstrip(b"0")
    # An exponent of more than fifteen digits is far past any clamp below.
    exponent = int(exp_digits or b"0") if len(exp_digits) <= 15 else 10**15
    if exp_sign == b"-":
        exponent = -exponent
    negative = sign == b"-"

    mantissa = (whole + fraction).rstrip(b"0")
    scale = exponent - len(fraction) + len(whole + fraction) - len(mantissa)
    mantissa = mantissa.lstrip(b"0")
    if not mantissa:
        return -0.0 if negative else 0.0
    magnitude = scale + len(mantissa) - 1  # decimal exponent of the leading digit
    if magnitude > _TOO_LARGE_EXP10:
        value = INF
    elif magnitude < _TOO_SMALL_EXP10:
        value = 0.0
    else:
        if len(mantissa) > _KEPT_DIGITS:
            # No rounding boundary of a double has this many digits, so one
            # nonzero digit stands in for everything cut off.
            scale += len(mantissa) - _KEPT_DIGITS - 1
            mantissa = mantissa[:_KEPT_DIGITS] + b"1"
        m = int(mantissa)
        q = Fraction(m * 10**scale) if scale >= 0 else Fraction(m, 10**-scale)
        value = _fraction_to_double(q)
    return -value if negative else value


def parse_field(text):
    """The stored single value of a field."""
    return to_single(parse_double(text))


def all_positive(values):
    return all(v > 0.0 for v in values)


def compute_clearance(values, height_in_inches, weight_in_pounds):
    """(error, clearance) for six positive singles, with the stored-step roundings."""
    urine_cr, serum_cr, volume, hours, height, weight = values
    if any(math.isinf(v) for v in values):
        return OVERFLOW, None
    if height_in_inches:
        height = to_single(height * 2.54)
        if math.isinf(height):
            return OVERFLOW, None
    if weight_in_pounds:
        weight = to_single(weight / 2.205)
    product = weight * height
    bsa = to_single(math.sqrt(product) * 0.016821)
    numerator = volume * urine_cr * 1.73
    denominator = bsa * serum_cr * hours * 60.0
    if denominator == 0.0:
        return DIVISION_BY_ZERO, None
    clearance = to_single(numerator / denominator)
    if math.isinf(clearance):
        return OVERFLOW, None
    return NO_ERROR, clearance


def seven_digit_roundings(x):
    """x (a non-negative Fraction) rounded to 7 significant digits; both ways on an exact tie."""
    if x == 0:
        return [Fraction(0)]
    e = math.floor(math.log10(x.numerator) - math.log10(x.denominator))
    while x >= Fraction(10) ** (e + 1):
        e += 1
    while x < Fraction(10) ** e:
        e -= 1
    unit = Fraction(10) ** (e - 6)
    scaled = x / unit
    n = scaled.numerator // scaled.denominator
    rest = scaled - n
    if rest > Fraction(1, 2):
        return [(n + 1) * unit]
    if rest < Fraction(1, 2):
        return [n * unit]
    return [n * unit, (n + 1) * unit]


def _one_decimal_text(x):
    tenths = math.floor(x * 10 + Fraction(1, 2))
    whole, digit = divmod(tenths, 10)
    return (str(whole) if whole else "") + "." + str(digit)


def result_texts(clearance):
    """Every text the result box may show for a single clearance (two only on an exact tie)."""
    if not math.isfinite(clearance):
        return [""]
    return sorted({_one_decimal_text(r) for r in seven_digit_roundings(Fraction(clearance))})


def evaluate(texts, height_in_inches, weight_in_pounds):
    """(kind, error, accepted result texts) for six field texts given as bytes."""
    values = [parse_field(t) for t in texts]
    if not all_positive(values):
        return INVALID_FIELDS, NO_ERROR, []
    error, clearance = compute_clearance(values, height_in_inches, weight_in_pounds)
    if error != NO_ERROR:
        return FP_ERROR, error, []
    return RESULT, NO_ERROR, result_texts(clearance)
