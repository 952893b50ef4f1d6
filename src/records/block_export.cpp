#include "records/block_export.h"

#include <cstdio>
#include <memory>

#include "records/csv_format.h"

namespace korvane {

std::string WriteBlockCsv(const std::filesystem::path& path, const LastBlock& block,
                          const std::string& program_version) {
  if (block.Empty()) return "There is no block to export yet: run the ADC first.";
  std::vector<FigureLine> lines{
      {"kind", "block"}, {"program", "korvane-demo " + program_version}, {"time", UtcTimeText()}};
  for (auto& line : block.Lines()) lines.push_back(std::move(line));
  const BlockSettings& settings = block.Settings();
  std::string text = CsvHeader(lines) + CsvColumnRow(settings.temperature) + "\n";
  text.reserve(text.size() + block.Codes().size() * 48);
  std::int64_t index = 0;
  for (const std::int32_t code : block.Codes()) {
    AppendCsvRow(text, ++index, code & 0xFFFFFF, settings);
  }
  return WriteWholeFile(path, text);
}

std::string WriteRecordCsv(const std::filesystem::path& path, std::span<const std::int32_t> codes,
                           const BlockSettings& settings, const std::string& program_version) {
  if (codes.empty()) return "There is no record to save yet.";
  return WriteWholeFile(path, RecordCsvText(codes, settings, "korvane-demo " + program_version));
}

std::string RecordCsvText(std::span<const std::int32_t> codes, const BlockSettings& settings,
                          const std::string& program, const std::vector<FigureLine>& figures) {
  std::vector<FigureLine> lines{{"kind", "record"},
                                {"program", program},
                                {"time", UtcTimeText()},
                                {"readings", std::to_string(codes.size())}};
  for (auto& line : SettingLines(settings)) lines.push_back(std::move(line));
  for (const auto& line : figures) lines.push_back(line);
  std::string text = CsvHeader(lines) + CsvColumnRow(settings.temperature) + "\n";
  text.reserve(text.size() + codes.size() * 48);
  std::int64_t index = 0;
  for (const std::int32_t code : codes) AppendCsvRow(text, ++index, code & 0xFFFFFF, settings);
  return text;
}

std::string WriteWholeFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::path partial = path;
  partial += ".partial";
  bool written = false;
  {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(partial.c_str(), "wb"),
                                                               &std::fclose);
    if (!file) return "Cannot create " + partial.string() + ".";
    written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() &&
              std::fflush(file.get()) == 0;
  }
  if (!written) {
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return "Cannot write " + path.string() + ": the disk is full or cannot be written.";
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) return "Cannot rename " + partial.string() + ": " + error.message() + ".";
  return "";
}

}  // namespace korvane
