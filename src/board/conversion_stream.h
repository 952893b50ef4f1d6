#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "board/adc_model.h"
#include "board/conversion_averager.h"
#include "board/converter_setup.h"
#include "board/stream_kind.h"
#include "platform/time_base.h"

namespace korvane {

/// The board program's conversion loop while a "U" stream runs. The converter finishes a
/// conversion every D x (A + 1) x 64 clock periods from the stream's start. The program takes a
/// conversion only while its UART is idle: it waits for each result to leave the line before it
/// looks at the converter again, so conversions finished meanwhile are lost and a link slower
/// than the data rate sets the pace.
///
/// Runs on TimeBase callbacks, one per conversion taken (none for those lost while sending).
/// The program keeps its own time: a late callback (a real-time timer rounds to milliseconds, a
/// busy host is later still) takes at once what the program took meanwhile and queues those
/// results on the line, so a late host delays readings but never loses one; the queue is never
/// longer than what the program sent during the lateness. Nothing stays scheduled once the
/// stream stops.
class ConversionStream {
 public:
  using Sender = std::function<void(std::string_view bytes)>;
  /// When the board's UART has sent everything it was given.
  using LineFreeAt = std::function<Micros()>;

  /// `time` and `adc` must outlive the stream.
  ConversionStream(TimeBase& time, AdcModel& adc, Sender send, LineFreeAt line_free_at);
  ~ConversionStream();
  ConversionStream(const ConversionStream&) = delete;
  ConversionStream& operator=(const ConversionStream&) = delete;

  /// Starts (or restarts) a stream of `kind` over `count` conversions with the converter set up
  /// as `setup`, on a chip clocked at `clock_mhz`.
  void Start(StreamKind kind, int count, const ConverterSetup& setup, double clock_mhz);
  void Stop();
  bool IsRunning() const { return averager_.has_value(); }

 private:
  /// Finish time of conversion `index` (0 = the first after the start), in microseconds.
  double ConversionTime(std::int64_t index) const;
  /// When the program sees its UART idle again (see the class comment).
  double ProgramLineFreeAt() const;
  void SkipConversionsWhileSending();
  void TakeDueConversions();
  void ScheduleNextConversion();

  TimeBase& time_;
  AdcModel& adc_;
  Sender send_;
  LineFreeAt line_free_at_;
  ConverterSetup setup_;
  double data_rate_hz_ = 0;
  double period_us_ = 0;
  double start_us_ = 0;
  std::int64_t next_index_ = 0;
  double program_line_free_us_ = 0;
  /// Time on the line of the last result sent.
  double line_time_us_ = 0;
  std::optional<ConversionAverager> averager_;
  std::optional<TimeBase::CallbackId> wake_up_;
};

}  // namespace korvane
