// Line-oriented front end to the clearance core for the reference check.
//
// Field texts may hold any byte, so every text travels hex-encoded ("-" for an
// empty text). One request per input line, one answer per output line:
//   P <text>                       -> parsed single as 8 hex digits of its bits
//   T <bits>                       -> result text of that single, "-" when empty
//   C <in> <lb> <b1> ... <b6>      -> <error> <clearance bits> for six singles given as bits
//   E <in> <lb> <t1> ... <t6>      -> <kind> <error> [<result text>]

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/clearance.h"
#include "core/field_parse.h"

namespace core = velunor::core;

namespace {

std::optional<std::string> decodeText(std::string_view token) {
    if (token == "-") {
        return std::string();
    }
    if (token.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string text(token.size() / 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* pair = token.data() + 2 * i;
        unsigned char byte = 0;
        const auto [end, error] = std::from_chars(pair, pair + 2, byte, 16);
        if (error != std::errc() || end != pair + 2) {
            return std::nullopt;
        }
        text[i] = static_cast<char>(byte);
    }
    return text;
}

std::vector<std::string_view> splitTokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    while (!line.empty()) {
        const std::size_t space = line.find(' ');
        if (space != 0) {
            tokens.push_back(line.substr(0, space));
        }
        line = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    }
    return tokens;
}

const char* kindName(core::OutcomeKind kind) {
    switch (kind) {
        case core::OutcomeKind::InvalidFields:
            return "invalid";
        case core::OutcomeKind::FloatingPointError:
            return "fperror";
        case core::OutcomeKind::Result:
            return "result";
    }
    return "?";
}

const char* errorName(core::FpError error) {
    switch (error) {
        case core::FpError::None:
            return "none";
        case core::FpError::Overflow:
            return "overflow";
        case core::FpError::DivisionByZero:
            return "divzero";
        case core::FpError::InvalidOperation:
            return "invalidop";
    }
    return "?";
}

std::string hexBits(float value) {
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08x", std::bit_cast<std::uint32_t>(value));
    return buffer;
}

std::optional<float> singleFromHex(std::string_view hex) {
    std::uint32_t bits = 0;
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), bits, 16);
    if (error != std::errc() || end != hex.data() + hex.size()) {
        return std::nullopt;
    }
    return std::bit_cast<float>(bits);
}

std::optional<std::string> answer(const std::vector<std::string_view>& tokens) {
    if (tokens.size() == 2 && tokens[0] == "P") {
        const auto text = decodeText(tokens[1]);
        if (!text) {
            return std::nullopt;
        }
        return hexBits(core::parseField(*text));
    }
    if (tokens.size() == 2 && tokens[0] == "T") {
        const auto value = singleFromHex(tokens[1]);
        if (!value) {
            return std::nullopt;
        }
        const std::string text = core::resultText(*value);
        return text.empty() ? std::string("-") : text;
    }
    if (tokens.size() == 9 && tokens[0] == "C") {
        std::array<float, 6> values{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            const auto value = singleFromHex(tokens[3 + i]);
            if (!value) {
                return std::nullopt;
            }
            values[i] = *value;
        }
        const core::ClearanceInputs inputs{values[0],        values[1],       values[2],
                                           values[3],        values[4],       values[5],
                                           tokens[1] == "1", tokens[2] == "1"};
        const core::ClearanceResult result = core::computeClearance(inputs);
        return std::string(errorName(result.error)) + ' ' + hexBits(result.clearance);
    }
    if (tokens.size() == 9 && tokens[0] == "E") {
        std::array<std::string, 6> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            auto text = decodeText(tokens[3 + i]);
            if (!text) {
                return std::nullopt;
            }
            texts[i] = std::move(*text);
        }
        const core::Outcome outcome =
            core::evaluateClearance(texts, tokens[1] == "1", tokens[2] == "1");
        std::string line = std::string(kindName(outcome.kind)) + ' ' + errorName(outcome.error);
        if (outcome.kind == core::OutcomeKind::Result) {
            line += ' ' + outcome.text;
        }
        return line;
    }
    return std::nullopt;
}

}  // namespace

int main() {
    std::ios::sync_with_stdio(false);
    std::string line;
    std::size_t lineNumber = 0;
    while (std::getline(std::cin, line)) {
        ++lineNumber;
        const auto reply = answer(splitTokens(line));
        if (!reply) {
            std::cerr << "clearance_eval: malformed request on line " << lineNumber << '\n';
            return 2;
        }
        std::cout << *reply << '\n';
    }
    return 0;
}
