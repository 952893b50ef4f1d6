#pragma once

#include <complex>
#include <cstddef>
#include <span>

struct fftw_plan_s;

namespace korvane {

/// A real-to-complex transform of one length with its own aligned buffers. FFTW's planner is
/// not thread-safe, so making and destroying plans share one lock; running a plan is safe on
/// any thread, so analyses may run off the window's thread side by side.
class FftPlan {
 public:
  explicit FftPlan(std::size_t length);
  ~FftPlan();
  FftPlan(const FftPlan&) = delete;
  FftPlan& operator=(const FftPlan&) = delete;

  /// The `length` readings to transform; filled by the caller before each `Execute`.
  std::span<double> Input() { return {input_, length_}; }
  /// Bins 0..length/2 of the last transform (unscaled).
  std::span<const std::complex<double>> Output() const;
  void Execute();

 private:
  std::size_t length_;
  double* input_ = nullptr;
  void* output_ = nullptr;
  fftw_plan_s* plan_ = nullptr;
};

}  // namespace korvane
