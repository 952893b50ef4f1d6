#include "board/conversion_stream.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "board/adc_transfer.h"

namespace korvane {

namespace {

double InMicros(Micros time) {
  return static_cast<double>(time.count());
}

}  // namespace

ConversionStream::ConversionStream(TimeBase& time, AdcModel& adc, Sender send,
                                   LineFreeAt line_free_at)
    : time_(time), adc_(adc), send_(std::move(send)), line_free_at_(std::move(line_free_at)) {}

ConversionStream::~ConversionStream() {
  Stop();
}

void ConversionStream::Start(StreamKind kind, int count, const ConverterSetup& setup,
                             double clock_mhz) {
  Stop();
  setup_ = setup;
  data_rate_hz_ = ConversionRateHz(clock_mhz, setup);
  period_us_ = 1e6 / data_rate_hz_;
  start_us_ = InMicros(time_.Now());
  next_index_ = 0;
  program_line_free_us_ = InMicros(line_free_at_());
  line_time_us_ = 0;
  averager_.emplace(kind, count);
  ScheduleNextConversion();
}

void ConversionStream::Stop() {
  if (wake_up_) time_.Cancel(*wake_up_);
  wake_up_.reset();
  averager_.reset();
}

double ConversionStream::ConversionTime(std::int64_t index) const {
  return start_us_ + static_cast<double>(index + 1) * period_us_;
}

double ConversionStream::ProgramLineFreeAt() const {
  // The program's own time only: a host timer that fires late delays the bytes on the simulated
  // line, but the board's UART was idle all along and the board loses nothing for it.
  return program_line_free_us_;
}

void ConversionStream::SkipConversionsWhileSending() {
  const double free_at = ProgramLineFreeAt();
  if (ConversionTime(next_index_) >= free_at) return;
  const auto first_after =
      static_cast<std::int64_t>(std::ceil((free_at - start_us_) / period_us_)) - 1;
  next_index_ = std::max(next_index_, first_after);
  while (ConversionTime(next_index_) < free_at) ++next_index_;
}

void ConversionStream::TakeDueConversions() {
  wake_up_.reset();
  const double now = InMicros(time_.Now());
  for (;;) {
    SkipConversionsWhileSending();
    if (ConversionTime(next_index_) > now) break;
    const double taken_at = ConversionTime(next_index_++);
    const std::int32_t code = adc_.Convert(setup_, data_rate_hz_, taken_at / 1e6);
    if (const auto result = averager_->Add(code)) {
      const Micros line_start = std::max(line_free_at_(), time_.Now());
      send_(ResultLine(*result));
      if (!IsRunning()) return;  // the sender stopped the stream
      line_time_us_ = InMicros(line_free_at_() - line_start);
      program_line_free_us_ = std::max(program_line_free_us_, taken_at) + line_time_us_;
    }
  }
  ScheduleNextConversion();
}

void ConversionStream::ScheduleNextConversion() {
  SkipConversionsWhileSending();
  const auto due = Micros{static_cast<Micros::rep>(std::ceil(ConversionTime(next_index_)))};
  wake_up_ = time_.Schedule(due - time_.Now(), [this] { TakeDueConversions(); });
}

}  // namespace korvane
