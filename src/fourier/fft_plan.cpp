#include "fourier/fft_plan.h"

#include <fftw3.h>

#include <mutex>
#include <new>

namespace korvane {
namespace {

std::mutex& PlannerLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

FftPlan::FftPlan(std::size_t length) : length_(length) {
  input_ = fftw_alloc_real(length);
  auto* output = fftw_alloc_complex(length / 2 + 1);
  output_ = output;
  if (!input_ || !output) {
    fftw_free(input_);
    fftw_free(output);
    throw std::bad_alloc();
  }
  {
    std::lock_guard guard(PlannerLock());
    plan_ = fftw_plan_dft_r2c_1d(static_cast<int>(length), input_, output, FFTW_ESTIMATE);
  }
  if (!plan_) {
    fftw_free(input_);
    fftw_free(output);
    throw std::bad_alloc();
  }
}

FftPlan::~FftPlan() {
  {
    std::lock_guard guard(PlannerLock());
    if (plan_) fftw_destroy_plan(plan_);
  }
  fftw_free(input_);
  fftw_free(output_);
}

std::span<const std::complex<double>> FftPlan::Output() const {
  // fftw_complex is laid out as std::complex<double>, as FFTW documents.
  return {reinterpret_cast<const std::complex<double>*>(output_), length_ / 2 + 1};
}

void FftPlan::Execute() {
  fftw_execute(plan_);
}

}  // namespace korvane
