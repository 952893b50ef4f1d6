#include "acquisition/last_block.h"

namespace korvane {

void LastBlock::BlockClosed(std::span<const std::int32_t> codes, const BlockSettings& settings) {
  codes_.assign(codes.begin(), codes.end());
  settings_ = settings;
  source_ = "run, block " + std::to_string(++blocks_closed_);
  Changed();
}

void LastBlock::Show(std::vector<std::int32_t> codes, const BlockSettings& settings,
                     std::string source) {
  codes_ = std::move(codes);
  settings_ = settings;
  source_ = std::move(source);
  Changed();
}

std::vector<FigureLine> LastBlock::Lines() const {
  std::vector<FigureLine> lines{{"source", source_}};
  for (auto& line : NoiseFigureLines(figures_, settings_)) lines.push_back(std::move(line));
  for (auto& line : SettingLines(settings_)) lines.push_back(std::move(line));
  return lines;
}

void LastBlock::Changed() {
  figures_ = ComputeNoiseFigures(codes_, settings_);
  for (const auto& on_change : on_change_) on_change();
}

}  // namespace korvane
