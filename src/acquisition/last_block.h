#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "acquisition/block_settings.h"
#include "acquisition/noise_figures.h"
#include "acquisition/reading_listener.h"

namespace korvane {

/// The last closed block of a run, or the block of an opened recording: what the Noise window
/// shows and the block export writes. Tells its watcher at every change.
class LastBlock final : public ReadingListener {
 public:
  void RunStarted(const BlockSettings& /*settings*/) override { blocks_closed_ = 0; }
  void ReadingTaken(std::int32_t /*raw_code*/) override {}
  void BlockClosed(std::span<const std::int32_t> codes, const BlockSettings& settings) override;
  void RunEnded() override {}

  /// Shows a block that did not come from the run, such as an opened recording; `source` says
  /// where it came from.
  void Show(std::vector<std::int32_t> codes, const BlockSettings& settings, std::string source);

  bool Empty() const { return codes_.empty(); }
  const std::vector<std::int32_t>& Codes() const { return codes_; }
  const BlockSettings& Settings() const { return settings_; }
  const NoiseFigures& Figures() const { return figures_; }
  /// "run, block 12" or the opened file's description.
  const std::string& Source() const { return source_; }
  /// Every line the Noise window shows: source, figures, then settings.
  std::vector<FigureLine> Lines() const;

  /// Adds a watcher (the Noise and Spectrum windows each keep one).
  void AddOnChange(std::function<void()> on_change) { on_change_.push_back(std::move(on_change)); }

 private:
  void Changed();

  std::vector<std::int32_t> codes_;
  BlockSettings settings_;
  NoiseFigures figures_;
  std::string source_;
  std::int64_t blocks_closed_ = 0;
  std::vector<std::function<void()>> on_change_;
};

}  // namespace korvane
