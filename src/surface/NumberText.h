#pragma once

#include <QString>

namespace nt {

// Reads a number from typed text the way every size, amount and width field does:
// blanks, tabs and line breaks anywhere are ignored; the longest leading decimal number
// (sign, digits, point and fraction, exponent with E or D) is taken and the rest ignored;
// "&H" / "&O" read hexadecimal / octal digits (up to 4 digits as a 16-bit value, up to 8
// as a 32-bit value, so "&HFFFF" and "&HFFFFFFFF" are -1); anything else reads as 0.
double readNumber(const QString& text);

// readNumber rounded half to even into 64 bits (clamped, never overflowing), for size fields.
long long readWholeNumber(const QString& text);

}  // namespace nt
