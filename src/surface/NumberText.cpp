#include "surface/NumberText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace nt {
namespace {

std::string withoutBlanks(const QString& text) {
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') continue;
        // Only ASCII can be part of a number; anything else ends it.
        s.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01');
    }
    return s;
}

double readRadix(const std::string& s, size_t pos, int radix) {
    std::uint64_t value = 0;
    int digits = 0;
    for (; pos < s.size(); ++pos) {
        const char c = s[pos];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (d >= radix) break;
        if (value > (std::numeric_limits<std::uint64_t>::max() >> 4))
            return 0;  // overflow: unreadable
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
        ++digits;
    }
    if (value <= 0xFFFF) return static_cast<double>(static_cast<std::int16_t>(value));
    if (value <= 0xFFFFFFFFu) return static_cast<double>(static_cast<std::int32_t>(value));
    return static_cast<double>(value);
}

double readDecimal(const std::string& s) {
    size_t i = 0;
    std::string num;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) num.push_back(s[i++]);
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        num.push_back(s[i++]), ++digits;
    if (i < s.size() && s[i] == '.') {
        num.push_back(s[i++]);
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            num.push_back(s[i++]), ++digits;
    }
    if (digits == 0) return 0;
    // An exponent counts only when digits follow it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp.push_back(s[j++]);
        size_t expDigits = 0;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
            exp.push_back(s[j++]), ++expDigits;
        if (expDigits > 0) num += exp;
    }
    // from_chars, unlike strtod, ignores the process locale (Qt installs the user's).
    if (num[0] == '+') num.erase(0, 1);
    double v = 0;
    const auto result = std::from_chars(num.data(), num.data() + num.size(), v);
    if (result.ec == std::errc::result_out_of_range) {
        const bool tiny = num.find("e-") != std::string::npos;  // underflow reads as 0
        v = tiny ? 0.0 : (num[0] == '-' ? -HUGE_VAL : HUGE_VAL);
    }
    return std::isfinite(v)
               ? v
               : (v > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max());
}

}  // namespace

double readNumber(const QString& text) {
    const std::string s = withoutBlanks(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'h' || s[1] == 'H') return readRadix(s, 2, 16);
        if (s[1] == 'o' || s[1] == 'O') return readRadix(s, 2, 8);
    }
    return readDecimal(s);
}

long long readWholeNumber(const QString& text) {
    const double v = readNumber(text);
    constexpr double kLimit = 9.0e18;
    if (v >= kLimit) return static_cast<long long>(kLimit);
    if (v <= -kLimit) return -static_cast<long long>(kLimit);
    return static_cast<long long>(std::nearbyint(v));
}

}  // namespace nt
