#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "acquisition/acquisition_run.h"
#include "acquisition/reading_listener.h"
#include "form/form.h"

namespace korvane {

/// "Record N Readings...": N readings at the current settings for the spectrum, longer than any
/// block. It drives the real run, as the user would: a Continuous run started by the Run button,
/// and the button's stop click once the N-th reading has come (or on `Cancel`), so the board
/// sees the same exchange as any run.
class LongRecord final : public ReadingListener {
 public:
  LongRecord(Form& form, AcquisitionRun& run);

  static constexpr std::int64_t kMinimumLength = 16;
  static constexpr std::int64_t kMaximumLength = 1 << 20;
  /// A power of two from `kMinimumLength` to `kMaximumLength`.
  static bool ValidLength(std::int64_t length);

  /// Takes `length` readings; returns once the run has ended, true when all of them came. Refused
  /// (false) while a run goes on or for a length that is not valid.
  bool Take(std::int64_t length);
  /// The most readings `TakeReadings` holds: 2^24 (134 MB with their raw codes).
  static constexpr std::int64_t kMostReadings = std::int64_t{1} << 24;
  /// As `Take`, for any count from 1 to `kMostReadings` (korvane-cli's capture).
  bool TakeReadings(std::int64_t length);
  /// Stops the record under way as the stop click does; the readings so far are kept.
  void Cancel();

  bool Going() const { return going_; }
  std::int64_t Length() const { return length_; }
  std::int64_t Count() const { return static_cast<std::int64_t>(codes_.size()); }
  /// Seconds until the last reading, from the data period; 0 when unknown.
  double SecondsLeft() const;
  /// The signed codes and the raw codes as the board sent them, in order.
  const std::vector<std::int32_t>& Codes() const { return codes_; }
  const std::vector<std::int32_t>& RawCodes() const { return raw_codes_; }
  const BlockSettings& Settings() const { return settings_; }

  /// Called every `kProgressStep` readings and at the end, on the run's thread.
  void SetOnProgress(std::function<void()> on_progress) { on_progress_ = std::move(on_progress); }
  static constexpr std::int64_t kProgressStep = 256;

  void RunStarted(const BlockSettings& settings) override;
  void ReadingTaken(std::int32_t raw_code) override;
  void BlockClosed(std::span<const std::int32_t> /*codes*/,
                   const BlockSettings& /*settings*/) override {}
  void RunEnded() override {}

 private:
  void Stop();

  Form& form_;
  bool going_ = false;
  bool stopping_ = false;
  std::int64_t length_ = 0;
  std::vector<std::int32_t> codes_;
  std::vector<std::int32_t> raw_codes_;
  BlockSettings settings_;
  std::function<void()> on_progress_;
};

}  // namespace korvane
