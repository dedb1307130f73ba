#include "base/text_util.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qm {

namespace {

// Code points first to last, every `stride`-th, fold to themselves plus `delta`.
struct FoldRange {
  char32_t first;
  char32_t last;
  int32_t delta;
  int32_t stride;
};

constexpr FoldRange kFoldRanges[] = {
#include "base/case_fold_table.inc"
};

char32_t FoldCodePoint(char32_t c) {
  auto it = std::upper_bound(std::begin(kFoldRanges), std::end(kFoldRanges), c,
                             [](char32_t v, const FoldRange& r) { return v < r.first; });
  if (it == std::begin(kFoldRanges)) return c;
  const FoldRange& r = *(it - 1);
  if (c > r.last || (c - r.first) % static_cast<char32_t>(r.stride) != 0) return c;
  return static_cast<char32_t>(static_cast<int32_t>(c) + r.delta);
}

// The length of the well-formed UTF-8 sequence at s[i] and its code point; 0 when the
// bytes there are not one.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  size_t n;
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and code points past the last plane are not UTF-8.
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return n;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::string_view TrimSpaces(std::string_view s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

std::string ToLowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string FoldCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const size_t n = DecodeUtf8(utf8, i, cp);
    if (n == 0) {
      out.push_back(utf8[i++]);
      continue;
    }
    AppendUtf8(out, FoldCodePoint(cp));
    i += n;
  }
  return out;
}

namespace {

// The decimal number at the start of the trimmed text: a sign, digits and one decimal point
// ('.' or `sep`), normalised to the C locale's '.' for strtod.
struct DecimalScan {
  std::string norm;
  bool digits = false;
  bool whole = false;  // the number is the whole text
};

DecimalScan ScanDecimal(std::string_view text, char sep) {
  const std::string_view t = TrimSpaces(text);
  DecimalScan scan;
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) scan.norm.push_back(t[i++]);
  bool point = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      scan.digits = true;
      scan.norm.push_back(c);
    } else if ((c == '.' || c == sep) && !point) {
      point = true;
      scan.norm.push_back('.');
    } else {
      break;
    }
  }
  scan.whole = i == t.size();
  return scan;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text, char sep) {
  const DecimalScan scan = ScanDecimal(text, sep);
  if (!scan.digits || !scan.whole) return std::nullopt;
  return std::strtod(scan.norm.c_str(), nullptr);
}

double LeadingNumber(std::string_view text) {
  const DecimalScan scan = ScanDecimal(text, '.');
  return scan.digits ? std::strtod(scan.norm.c_str(), nullptr) : 0.0;
}

int16_t LeadingInt16(std::string_view text) {
  std::string_view t = TrimSpaces(text);
  size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
    neg = t[i] == '-';
    ++i;
  }
  long v = 0;
  bool any = false;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
    any = true;
    v = v * 10 + (t[i] - '0');
    if (v > 32768) v = 32768;  // saturate; the result is clamped below
    ++i;
  }
  if (!any) return 0;
  if (neg) v = -v;
  if (v > 32767) v = 32767;
  if (v < -32768) v = -32768;
  return static_cast<int16_t>(v);
}

int64_t DivRoundHalfEven(int64_t num, int64_t den) {
  int64_t q = num / den;
  int64_t r = num % den;
  if (r < 0) {  // floor division
    r += den;
    --q;
  }
  int64_t twice = 2 * r;
  if (twice > den || (twice == den && (q & 1) != 0)) ++q;
  return q;
}

int64_t RoundHalfEven(double v) {
  double f = std::floor(v);
  double diff = v - f;
  int64_t q = static_cast<int64_t>(f);
  if (diff > 0.5 || (diff == 0.5 && (q & 1) != 0)) ++q;
  return q;
}

std::string FormatFixed(double v, int minIntDigits, int decimals, char sep) {
  char buf[64];
  int width = minIntDigits + (decimals > 0 ? decimals + 1 : 0);
  bool neg = v < 0;
  std::snprintf(buf, sizeof buf, "%0*.*f", width, decimals, std::fabs(v));
  std::string out = neg ? std::string("-") + buf : std::string(buf);
  if (sep != '.')
    for (char& c : out)
      if (c == '.') c = sep;
  return out;
}

std::string ShortestNumber(double v) {
  char buf[64];
  for (int prec = 1; prec <= 17; ++prec) {
    std::snprintf(buf, sizeof buf, "%.*g", prec, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  std::string s(buf);
  // %g may choose an exponent form for tiny or huge numbers; write those out in full.
  if (s.find('e') != std::string::npos) {
    std::snprintf(buf, sizeof buf, "%.10f", v);
    s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return s;
}

bool IsStep625(std::string_view text) { return text == "6.25" || text == "6,25"; }

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n;
    if (c < 0x80)
      n = 0;
    else if ((c & 0xE0) == 0xC0 && c >= 0xC2)
      n = 1;
    else if ((c & 0xF0) == 0xE0)
      n = 2;
    else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
      n = 3;
    else
      return false;
    if (i + n >= s.size() && n > 0) return false;
    for (size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

size_t Utf8Length(std::string_view s) {
  size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

std::string Utf8Left(std::string_view s, size_t n) {
  size_t count = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (count == n) return std::string(s.substr(0, i));
      ++count;
    }
  }
  return std::string(s);
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    char32_t c = 0;
    size_t len = DecodeUtf8(s, i, c);
    if (len == 0) {
      c = 0xFFFD;
      len = 1;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s, bool stopAtZero) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c == 0 && stopAtZero) break;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace qm
