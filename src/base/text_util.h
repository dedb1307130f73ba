// Small text helpers: trimming, the number parser, the fixed-pattern number formats and
// UTF-8 and UTF-16.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

std::string_view TrimSpaces(std::string_view s);  // leading and trailing spaces and tabs
std::string ToLowerAscii(std::string_view s);
// A UTF-8 text with every letter in its case-folded form (Unicode simple case folding, the
// same on every machine and in every locale): "Ä" and "ä", "Σ", "σ" and "ς", "Ж" and "ж"
// fold alike. Letters without case (Chinese) and bytes that are not UTF-8 stay as they are.
std::string FoldCase(std::string_view utf8);

// The text's number, as the number parser reads it: optional spaces, an optional sign,
// digits with at most one decimal separator ('.' or `sep`), optional spaces. Anything
// else is not a number.
std::optional<double> ParseNumber(std::string_view text, char sep = '.');

// The leading numeric value of a text: "136.5MHz" gives 136.5, "abc" 0.
double LeadingNumber(std::string_view text);

// The leading numeric value of a text as a 16-bit integer: "12abc" gives 12, "abc" 0.
int16_t LeadingInt16(std::string_view text);

// Rounds num / den (den > 0) to a whole number, ties to the even neighbour.
int64_t DivRoundHalfEven(int64_t num, int64_t den);
// Rounds a double to a whole number, ties to the even neighbour.
int64_t RoundHalfEven(double v);

// Fixed patterns with `decimals` decimals and at least `minIntDigits` integer digits,
// written with the decimal separator `sep`: ("000.00000" is 3/5, "#00.0" 2/1, "0.0" 1/1).
std::string FormatFixed(double v, int minIntDigits, int decimals, char sep = '.');

// "000.00000": a frequency in MHz.
inline std::string FormatFreq(double mhz, char sep = '.') { return FormatFixed(mhz, 3, 5, sep); }

// The shortest decimal text of a number: 136, 136.5, 0.00125.
std::string ShortestNumber(double v);

bool IsStep625(std::string_view text);  // "6.25" or "6,25"

// Whether the bytes are valid UTF-8.
bool IsValidUtf8(std::string_view bytes);
// Number of characters (code points) of a UTF-8 text.
size_t Utf8Length(std::string_view s);
// The first n characters of a UTF-8 text.
std::string Utf8Left(std::string_view s, size_t n);

// Conversions for the text at the edges of the program (terminal, files, the radio's UTF-16
// areas). Invalid input becomes U+FFFD. Utf16ToUtf8 stops at the first zero code unit when
// `stopAtZero`.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16, bool stopAtZero = true);

}  // namespace qm
