#include "core/field_parse.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "core/single.h"

namespace velunor::core {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The text the parse reads: the field with spaces, tabs and line feeds
// skipped wherever they stand, without copying it.
class FieldCursor {
public:
    explicit FieldCursor(std::string_view text) : text_(text) { skipBlanks(); }

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void advance() {
        ++pos_;
        skipBlanks();
    }
    bool take(char c) {
        if (peek() != c) {
            return false;
        }
        advance();
        return true;
    }

private:
    void skipBlanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n')) {
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexDigitValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Whole number in base 8 or 16, of any length. The first significant digits
// fill 64 bits; any non-zero digit beyond them sets the lowest bit, which sits
// well below double's 53 bits, so the conversion still rounds correctly.
double readRadixWhole(FieldCursor& in, int bitsPerDigit) {
    const int base = 1 << bitsPerDigit;
    const int maxDigits = 64 / bitsPerDigit;
    std::uint64_t mantissa = 0;
    int kept = 0;
    std::int64_t dropped = 0;
    bool sticky = false;
    for (;;) {
        const int d = hexDigitValue(in.peek());
        if (d < 0 || d >= base) {
            break;
        }
        in.advance();
        if (kept == 0 && d == 0) {
            continue;
        }
        if (kept < maxDigits) {
            mantissa = (mantissa << bitsPerDigit) | static_cast<std::uint64_t>(d);
            ++kept;
        } else {
            sticky = sticky || d != 0;
            if (dropped < 4096) {
                ++dropped;
            }
        }
    }
    if (sticky) {
        mantissa |= 1u;
    }
    // 4096 dropped digits already put the value far beyond double's range.
    return std::ldexp(static_cast<double>(mantissa), static_cast<int>(dropped) * bitsPerDigit);
}

// Decimal number: the significant digits are handed to from_chars, which rounds
// correctly. Beyond the first kMaxDigits, digits only matter as "some non-zero
// digit follows", which one appended 1 represents without changing the rounding.
constexpr std::size_t kMaxDigits = 800;
constexpr std::array<double, 23> kPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::int64_t kExponentCap = 1'000'000'000;

double readDecimal(FieldCursor& in) {
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.advance();
    }

    std::array<char, kMaxDigits + 32> buf;  // filled up to len only
    std::size_t len = 0;
    bool sawDigit = false;
    bool sticky = false;
    // Decimal exponent of the point relative to the first significant digit.
    std::int64_t pointPos = 0;

    auto digit = [&](char c, bool fraction) {
        sawDigit = true;
        if (len == 0 && c == '0') {
            if (fraction) {
                --pointPos;
            }
            return;
        }
        if (!fraction) {
            ++pointPos;
        }
        if (len < kMaxDigits) {
            buf[len++] = c;
        } else if (c != '0') {
            sticky = true;
        }
    };

    while (isDigit(in.peek())) {
        digit(in.peek(), false);
        in.advance();
    }
    if (in.take('.')) {
        while (isDigit(in.peek())) {
            digit(in.peek(), true);
            in.advance();
        }
    }
    if (!sawDigit) {
        return 0.0;
    }

    std::int64_t exponent = 0;
    const char e = in.peek();
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
        in.advance();
        bool expNegative = false;
        if (in.peek() == '+' || in.peek() == '-') {
            expNegative = in.peek() == '-';
            in.advance();
        }
        while (isDigit(in.peek())) {
            exponent = std::min<std::int64_t>(exponent * 10 + (in.peek() - '0'), kExponentCap);
            in.advance();
        }
        if (expNegative) {
            exponent = -exponent;
        }
    }

    const double zero = negative ? -0.0 : 0.0;
    if (len == 0) {
        return zero;
    }
    const double inf = negative ? -kInfinity : kInfinity;
    // Scientific exponent of the first significant digit decides far-out values
    // before from_chars sees them, and the direction of any range error.
    const std::int64_t scientific = pointPos + exponent - 1;
    if (scientific > 400) {
        return inf;
    }
    if (scientific < -400) {
        return zero;
    }
    if (sticky) {
        buf[len++] = '1';
    }
    const std::int64_t shift = pointPos + exponent - static_cast<std::int64_t>(len);

    // Few digits and a small power of ten are both exact in double, so one
    // multiplication or division gives the correctly rounded value directly.
    if (len <= 15 && shift >= -22 && shift <= 22) {
        std::uint64_t mantissa = 0;
        for (std::size_t i = 0; i < len; ++i) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(buf[i] - '0');
        }
        const double m = static_cast<double>(mantissa);
        const double p = kPowersOfTen[static_cast<std::size_t>(shift < 0 ? -shift : shift)];
        const double value = shift < 0 ? m / p : m * p;
        return negative ? -value : value;
    }
    buf[len++] = 'e';
    const auto [end, ec] = std::to_chars(buf.data() + len, buf.data() + buf.size(), shift);
    (void)ec;  // the buffer has room for any exponent that reaches here

    double value = 0.0;
    const auto result = std::from_chars(buf.data(), end, value);
    if (result.ec == std::errc::result_out_of_range) {
        return scientific > 0 ? inf : zero;
    }
    return negative ? -value : value;
}

double parseToDouble(std::string_view text) {
    FieldCursor in(text);
    if (in.take('&')) {
        if (in.take('H') || in.take('h')) {
            return readRadixWhole(in, 4);
        }
        if (in.take('O') || in.take('o')) {
            return readRadixWhole(in, 3);
        }
        return 0.0;
    }
    return readDecimal(in);
}

}  // namespace

float parseField(std::string_view text) {
    return toSingle(parseToDouble(text));
}

}  // namespace velunor::core
