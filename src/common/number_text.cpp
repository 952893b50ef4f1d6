#include "common/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <system_error>

namespace korvane {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// 2^63: the first double above the int64 range (int64 max is not representable).
constexpr double kTwoPow63 = 9223372036854775808.0;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The decimal digits of a finite, non-zero magnitude: value = 0.d1 d2 ... dn x 10^point, that is
// `point` digits stand before the decimal point (point <= 0 means leading zeros after it).
// `digits` holds no leading zeros; it may hold trailing zeros after rounding.
struct Decimal {
  std::string digits;
  int point = 0;
};

// Digits of the scientific text that std::to_chars wrote ("d.ddde+XX"), trailing zeros removed.
Decimal FromScientific(const char* begin, const char* end) {
  Decimal dec;
  const char* p = begin;
  for (; p != end && *p != 'e'; ++p) {
    if (IsDigit(*p)) dec.digits.push_back(*p);
  }
  int exponent = 0;
  if (p != end) {
    ++p;  // 'e'
    if (p != end && *p == '+') ++p;
    std::from_chars(p, end, exponent);
  }
  while (dec.digits.size() > 1 && dec.digits.back() == '0') dec.digits.pop_back();
  dec.point = exponent + 1;
  return dec;
}

// Shortest round-trip digits of |value| (value finite and non-zero).
Decimal ShortestDigits(double value) {
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
  return FromScientific(buf, res.ptr);
}

// Digits of |value| rounded to 15 significant digits from its exact binary value (value finite
// and non-zero).
Decimal FifteenDigits(double value) {
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  return FromScientific(buf, res.ptr);
}

// Rounds the digit string to `decimals` places after the point, halves to even; false when no
// digit lay beyond that place (nothing changed). After rounding the string keeps exactly
// point + decimals digits (none at all: the value rounded to 0); a carry out of the first digit
// adds a digit in front and moves the point.
bool RoundDigits(Decimal& dec, int decimals) {
  const long keep = static_cast<long>(dec.point) + decimals;
  const long count = static_cast<long>(dec.digits.size());
  if (keep >= count) return false;  // nothing beyond the last kept place
  if (keep < 0) {                   // even the first digit lies below half of the last place
    dec.digits.clear();
    return true;
  }
  const auto kept = static_cast<std::size_t>(keep);
  const char first_dropped = dec.digits[kept];
  bool round_up = false;
  if (first_dropped > '5') {
    round_up = true;
  } else if (first_dropped == '5') {
    bool more = false;
    for (std::size_t i = kept + 1; i < dec.digits.size(); ++i) {
      if (dec.digits[i] != '0') more = true;
    }
    const char last_kept = kept == 0 ? '0' : dec.digits[kept - 1];
    round_up = more || ((last_kept - '0') % 2 == 1);
  }
  dec.digits.resize(kept);
  if (!round_up) return true;
  std::size_t i = kept;
  while (i > 0) {
    --i;
    if (dec.digits[i] != '9') {
      ++dec.digits[i];
      return true;
    }
    dec.digits[i] = '0';
  }
  dec.digits.insert(dec.digits.begin(), '1');
  ++dec.point;
  return true;
}

bool AllZero(const std::string& digits) {
  return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

// Text for the values that have no digits.
std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Infinity" : "Infinity";
}

// Reads "[digits][.digits][e[sign]digits]" after the sign; `text` starts after the sign.
double ReadDecimal(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  std::string number;  // normalized for from_chars: digits, optional point and exponent
  std::size_t int_digits = 0;
  while (i < n && IsDigit(text[i])) {
    number.push_back(text[i]);
    ++i;
    ++int_digits;
  }
  std::size_t frac_digits = 0;
  if (i < n && text[i] == '.') {
    std::size_t j = i + 1;
    std::string frac;
    while (j < n && IsDigit(text[j])) {
      frac.push_back(text[j]);
      ++j;
    }
    frac_digits = frac.size();
    if (int_digits + frac_digits > 0) {
      if (int_digits == 0) number.push_back('0');
      if (frac_digits > 0) {
        number.push_back('.');
        number += frac;
      }
      i = j;
    }
  }
  if (int_digits + frac_digits == 0) return 0.0;

  // Exponent: only when at least one digit follows "E" and its optional sign.
  long long exponent = 0;  // saturated, used only to tell overflow from underflow
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool negative = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) {
      negative = text[j] == '-';
      ++j;
    }
    if (j < n && IsDigit(text[j])) {
      number.push_back('e');
      if (negative) number.push_back('-');
      while (j < n && IsDigit(text[j])) {
        number.push_back(text[j]);
        if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[j] - '0');
        ++j;
      }
      if (negative) exponent = -exponent;
    }
  }

  double value = 0.0;
  const auto res = std::from_chars(number.data(), number.data() + number.size(), value,
                                   std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Decide between overflow and underflow from the place of the first non-zero digit.
    long long magnitude = 0;  // decimal exponent of the first non-zero digit, plus one
    const std::string_view all(number);
    const std::size_t point = all.find('.');
    const std::size_t mantissa_end = all.find('e');
    const std::size_t int_end = point != std::string_view::npos ? point : mantissa_end;
    const std::size_t int_len = std::min(int_end, all.size());
    const std::size_t first = all.find_first_not_of('0');
    if (first < int_len) {
      magnitude = static_cast<long long>(int_len - first);
    } else if (point != std::string_view::npos) {
      const std::size_t frac_first = all.find_first_not_of('0', point + 1);
      magnitude = -static_cast<long long>(frac_first - point - 1);
    }
    return magnitude + exponent > 0 ? kInfinity : 0.0;
  }
  if (res.ec != std::errc()) return 0.0;
  return value;
}

}  // namespace

double ValFromText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  text.remove_prefix(i);
  if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
    std::size_t end = 2;
    while (end < text.size() && HexDigitValue(text[end]) >= 0) ++end;
    if (end == 2) return 0.0;
    double value = 0.0;
    const auto res =
        std::from_chars(text.data() + 2, text.data() + end, value, std::chars_format::hex);
    if (res.ec == std::errc::result_out_of_range) return kInfinity;
    if (res.ec != std::errc()) return 0.0;
    return value;
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const double magnitude = ReadDecimal(text);
  if (magnitude == 0.0) return 0.0;  // never a negative zero
  return negative ? -magnitude : magnitude;
}

double ValFromCommandWord(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') kept.push_back(c);
  }
  return ValFromText(kept);
}

double RoundHalfEven(double value) {
  // From 2^52 on every double is a whole number.
  if (!std::isfinite(value) || std::fabs(value) >= 4503599627370496.0) return value;
  const double below = std::floor(value);
  const double fraction = value - below;  // exact for these magnitudes
  double result = below;
  if (fraction > 0.5) {
    result = below + 1.0;
  } else if (fraction == 0.5) {
    result = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
  }
  return result == 0.0 ? std::copysign(0.0, value) : result;
}

double RoundHalfEven(double value, int decimals) {
  if (!std::isfinite(value) || value == 0.0) return value;
  decimals = std::clamp(decimals, -400, 400);
  Decimal dec = ShortestDigits(value);
  if (!RoundDigits(dec, decimals)) return value;  // no digit beyond the last place
  if (dec.digits.empty() || AllZero(dec.digits)) return std::copysign(0.0, value);
  // digits x 10^(point - number of digits)
  std::string text = dec.digits;
  text.push_back('e');
  text += std::to_string(dec.point - static_cast<long>(dec.digits.size()));
  double result = 0.0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), result);
  if (res.ec == std::errc::result_out_of_range) result = kInfinity;  // carry past the largest
  return value < 0 ? -result : result;
}

std::optional<std::int64_t> RoundedInRange(double value, std::int64_t lo, std::int64_t hi) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = RoundHalfEven(value);
  if (rounded < -kTwoPow63 || rounded >= kTwoPow63) return std::nullopt;
  const auto whole = static_cast<std::int64_t>(rounded);
  if (whole < lo || whole > hi) return std::nullopt;
  return whole;
}

std::int64_t RoundClamped(double value, std::int64_t lo, std::int64_t hi) {
  if (std::isnan(value)) return lo;
  const double rounded = RoundHalfEven(value);
  if (rounded < -kTwoPow63) return lo;
  if (rounded >= kTwoPow63) return hi;
  const auto whole = static_cast<std::int64_t>(rounded);
  if (whole < lo) return lo;
  if (whole > hi) return hi;
  return whole;
}

std::string GeneralText(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  if (value == 0.0) return "0";
  Decimal dec = ShortestDigits(value);
  if (dec.digits.size() > 15) dec = FifteenDigits(value);
  std::string text = value < 0 ? "-" : "";
  const int exponent = dec.point - 1;  // scientific exponent of the first digit
  const auto count = static_cast<int>(dec.digits.size());
  if (exponent >= -5 && exponent <= 14) {
    if (dec.point <= 0) {
      text += "0.";
      text.append(static_cast<std::size_t>(-dec.point), '0');
      text += dec.digits;
    } else if (dec.point >= count) {
      text += dec.digits;
      text.append(static_cast<std::size_t>(dec.point - count), '0');
    } else {
      const auto point = static_cast<std::size_t>(dec.point);
      text += dec.digits.substr(0, point);
      text.push_back('.');
      text += dec.digits.substr(point);
    }
    return text;
  }
  text.push_back(dec.digits[0]);
  if (count > 1) {
    text.push_back('.');
    text += dec.digits.substr(1);
  }
  text.push_back('E');
  text.push_back(exponent < 0 ? '-' : '+');
  const std::string exp_digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (exp_digits.size() < 2) text.push_back('0');
  text += exp_digits;
  return text;
}

std::string FixedText(double value, int decimals) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  decimals = std::clamp(decimals, 0, 400);
  const auto places = static_cast<std::size_t>(decimals);
  Decimal dec;
  if (value != 0.0) {
    dec = ShortestDigits(value);
    RoundDigits(dec, decimals);
  }
  if (dec.digits.empty() || AllZero(dec.digits)) {
    std::string zero = "0";
    if (places > 0) zero += "." + std::string(places, '0');
    return zero;
  }
  // Lay the digits out on a grid of `point` integer places and `decimals` fraction places.
  std::string int_part;
  std::string frac_part;
  if (dec.point <= 0) {
    int_part = "0";
    frac_part.assign(static_cast<std::size_t>(-dec.point), '0');
    frac_part += dec.digits;
  } else {
    const auto point = static_cast<std::size_t>(dec.point);
    if (dec.digits.size() <= point) {
      int_part = dec.digits + std::string(point - dec.digits.size(), '0');
    } else {
      int_part = dec.digits.substr(0, point);
      frac_part = dec.digits.substr(point);
    }
  }
  frac_part.resize(places, '0');  // rounding left at most `decimals` fraction digits
  std::string text = value < 0 ? "-" : "";
  text += int_part;
  if (places > 0) text += "." + frac_part;
  return text;
}

std::string Hex2(int value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto bits = static_cast<unsigned>(value) & 0xFFFFu;
  std::string text;
  do {
    text.insert(text.begin(), kDigits[bits & 0xFu]);
    bits >>= 4;
  } while (bits != 0);
  if (text.size() < 2) text.insert(text.begin(), '0');
  return text;
}

}  // namespace korvane
