#include "records/csv_format.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>

namespace korvane {

namespace {

/// Room for any double in fixed notation: 309 integer digits, the point and the decimals.
void AppendFixed(std::string& out, double value, int decimals) {
  char buffer[512];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  out.append(buffer, result.ptr);
}

void AppendInteger(std::string& out, std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

}  // namespace

std::string CsvColumnRow(bool temperature) {
  return temperature ? "index,time_s,code_hex,code,celsius" : "index,time_s,code_hex,code,volts";
}

std::string CsvHeader(const std::vector<FigureLine>& lines) {
  std::string header = std::string(kCsvMarker) + "\n";
  for (const auto& [key, value] : lines) {
    std::string one_line = value;  // a line end inside a value (a file name) would end the line
    std::replace_if(
        one_line.begin(), one_line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    header += "# " + key + ": " + one_line + "\n";
  }
  return header;
}

void AppendCsvRow(std::string& out, std::int64_t index, std::int32_t raw_code,
                  const BlockSettings& settings) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  AppendInteger(out, index);
  out += ',';
  AppendFixed(out, static_cast<double>(index - 1) * settings.seconds_per_reading, 6);
  out += ',';
  for (int shift = 20; shift >= 0; shift -= 4) out += kDigits[(raw_code >> shift) & 0xF];
  out += ',';
  const std::int32_t code = SignedFromRaw(raw_code & 0xFFFFFF, settings.bipolar);
  AppendInteger(out, code);
  out += ',';
  AppendFixed(out, DisplayValue(code, settings), settings.temperature ? 3 : 8);
  out += '\n';
}

std::string UtcTimeText() {
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date(day);
  const hh_mm_ss time(now - day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02ld:%02ld:%02ldZ",
                static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<long>(time.hours().count()),
                static_cast<long>(time.minutes().count()),
                static_cast<long>(time.seconds().count()));
  return text;
}

}  // namespace korvane
