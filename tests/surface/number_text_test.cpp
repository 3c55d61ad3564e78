// Typed numbers: the reading every size, amount and width field shares.
#include <clocale>
#include <string>

#include <gtest/gtest.h>

#include "surface/NumberText.h"

using nt::readNumber;
using nt::readWholeNumber;

TEST(ReadNumber, TakesTheLongestLeadingNumber) {
    const struct {
        const char* text;
        double value;
    } rows[] = {
        {"800", 800},
        {"800px", 800},
        {"px800", 0},
        {"", 0},
        {"  8 0 0 px", 800},
        {"\t1\n2", 12},
        {"-5", -5},
        {"+7", 7},
        {"0.6", 0.6},
        {".5", 0.5},
        {"3.", 3},
        {".", 0},
        {"-", 0},
        {"1e3", 1000},
        {"1E+2x", 100},
        {"2d2", 200},
        {"1e", 1},
        {"1e-", 1},
        {"1.5e1.5", 15},
        {"1e10", 1e10},
        {"12abc34", 12},
        {"1e-400", 0},
        {"-1e400", -1.7976931348623157e308},
        {"画布", 0},
        {"5画", 5},
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(readNumber(QString::fromUtf8(r.text)), r.value) << r.text;
}

TEST(ReadNumber, HexAndOctalPrefixes) {
    const struct {
        const char* text;
        double value;
    } rows[] = {
        {"&H10", 16},
        {"&hff", 255},
        {"&HFFFF", -1},
        {"&H7FFF", 32767},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&H80000000", -2147483648.0},
        {"&O17", 15},
        {"&o8", 0},
        {"&Hxyz", 0},
        {"&", 0},
        {"& H 1 0", 16},
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(readNumber(QString::fromUtf8(r.text)), r.value) << r.text;
}

TEST(ReadNumber, WholeNumbersRoundHalfToEvenAndNeverOverflow) {
    EXPECT_EQ(readWholeNumber("0.5"), 0);
    EXPECT_EQ(readWholeNumber("0.6"), 1);
    EXPECT_EQ(readWholeNumber("1.5"), 2);
    EXPECT_EQ(readWholeNumber("2.5"), 2);
    EXPECT_EQ(readWholeNumber("3.5"), 4);
    EXPECT_EQ(readWholeNumber("-2.5"), -2);
    EXPECT_GT(readWholeNumber("1e300"), 4'000'000'000'000'000'000LL);
    EXPECT_LT(readWholeNumber("-1e300"), -4'000'000'000'000'000'000LL);
    EXPECT_EQ(readWholeNumber("99999999999999999999999999"), readWholeNumber("1e300"));
}

TEST(ReadNumber, IgnoresTheProcessLocale) {
    // Qt installs the user's locale; a comma-decimal one must not change what "12.5" means.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    bool tried = false;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
        if (!std::setlocale(LC_NUMERIC, name)) continue;
        tried = true;
        EXPECT_DOUBLE_EQ(readNumber("12.5"), 12.5) << name;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!tried) GTEST_SKIP() << "no comma-decimal locale installed";
}
