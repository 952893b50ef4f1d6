#pragma once

#include <cstdint>
#include <span>

#include "acquisition/block_settings.h"

namespace korvane {

/// Sees the readings of a run as the run takes them, on the run's own thread. Implementations
/// return at once: the run does not wait on a disk or a window.
class ReadingListener {
 public:
  virtual ~ReadingListener() = default;
  /// A run has started its stream with `settings`.
  virtual void RunStarted(const BlockSettings& settings) = 0;
  /// A reading the run keeps (the four dropped at its start are not), as the board sent it.
  virtual void ReadingTaken(std::int32_t raw_code) = 0;
  /// A block has closed: its signed codes, before the statistics mark outliers in them.
  virtual void BlockClosed(std::span<const std::int32_t> codes, const BlockSettings& settings) = 0;
  /// The run that started has ended.
  virtual void RunEnded() = 0;
};

}  // namespace korvane
