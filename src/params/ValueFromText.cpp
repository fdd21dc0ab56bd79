#include "params/ValueFromText.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace loom::params {

bool boolFromText(const std::string& text) {
    std::string_view digits(text);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    const char* last = digits.data() + digits.size();
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), last, value);
    if (error != std::errc() || end != last || value > 1 || (negative && value == 1))
        throw BadLexicalCast();
    return value == 1;
}

float floatFromText(const std::string& text) {
    // from_chars takes a '-' but no '+'.
    std::string_view number(text);
    if (!number.empty() && number.front() == '+') {
        number.remove_prefix(1);
        if (!number.empty() && number.front() == '-') throw BadLexicalCast();
    }
    const char* first = number.data();
    const char* last = first + number.size();
    float value = 0.0f;
    const auto [end, error] = std::from_chars(first, last, value);
    if (end != last) throw BadLexicalCast();
    if (error == std::errc::result_out_of_range) {
        // Out of range both ways: a value below the smallest float rounds to zero, one above the
        // largest is refused. The wider type tells which.
        long double wide = 0.0L;
        const auto [wideEnd, wideError] = std::from_chars(first, last, wide);
        if (wideError == std::errc::result_out_of_range) {
            // Beyond the wider type too: tiny (a negative exponent) is zero, anything else too large.
            const size_t e = number.find_first_of("eE");
            if (e == std::string_view::npos || e + 1 >= number.size() || number[e + 1] != '-')
                throw BadLexicalCast();
            return number.front() == '-' ? -0.0f : 0.0f;
        }
        if (wideError != std::errc() || std::fabs(wide) > 1.0L) throw BadLexicalCast();
        return static_cast<float>(wide);
    }
    if (error != std::errc()) throw BadLexicalCast();
    return value;
}

}  // namespace loom::params
