#include "app/long_record.h"

namespace korvane {

namespace {
constexpr int kContinuous = 2;
constexpr int kRunButton = 2;
}  // namespace

LongRecord::LongRecord(Form& form, AcquisitionRun& run) : form_(form) {
  run.AddListener(*this);
}

bool LongRecord::ValidLength(std::int64_t length) {
  return length >= kMinimumLength && length <= kMaximumLength && (length & (length - 1)) == 0;
}

bool LongRecord::Take(std::int64_t length) {
  return ValidLength(length) && TakeReadings(length);
}

bool LongRecord::TakeReadings(std::int64_t length) {
  if (going_ || length < 1 || length > kMostReadings || form_.TestGo || form_.RunState == 1) {
    return false;
  }
  length_ = length;
  codes_.clear();
  raw_codes_.clear();
  codes_.reserve(static_cast<std::size_t>(length));
  raw_codes_.reserve(static_cast<std::size_t>(length));
  settings_ = BlockSettings{};
  const int sampling = form_.cboSampling.ListIndex();
  form_.cboSampling.SetListIndex(kContinuous);
  going_ = true;
  stopping_ = false;
  form_.cmdCntr[kRunButton].Click();  // returns when the run has ended
  going_ = false;
  form_.cboSampling.SetListIndex(sampling);
  if (on_progress_) on_progress_();
  return Count() == length_;
}

void LongRecord::Cancel() {
  if (going_) Stop();
}

void LongRecord::Stop() {
  // The stop click, once: a second click would start a new run after this one ends.
  if (stopping_ || !form_.TestGo) return;
  stopping_ = true;
  form_.cmdCntr[kRunButton].Click();
}

double LongRecord::SecondsLeft() const {
  return static_cast<double>(length_ - Count()) * settings_.seconds_per_reading;
}

void LongRecord::RunStarted(const BlockSettings& settings) {
  if (going_) settings_ = settings;
}

void LongRecord::ReadingTaken(std::int32_t raw_code) {
  if (!going_ || Count() >= length_) return;
  raw_codes_.push_back(raw_code);
  codes_.push_back(SignedFromRaw(raw_code & 0xFFFFFF, settings_.bipolar));
  if (Count() % kProgressStep == 0 && on_progress_) on_progress_();
  if (Count() == length_) Stop();
}

}  // namespace korvane
