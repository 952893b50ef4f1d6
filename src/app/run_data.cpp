#include "app/run_data.h"

#include "acquisition/block_view.h"

namespace korvane {

RunData::RunData(Form& form, AcquisitionRun& run, SerialPort& port, Chart& adc_graph,
                 Histogram& histogram, const std::string& program_version, TimeBase& time)
    : form_(form),
      port_(port),
      adc_graph_(adc_graph),
      histogram_(histogram),
      recorder_(program_version),
      long_record_(form, run),
      noise_sweep_(form, run, time) {
  run.AddListener(recorder_);
  run.AddListener(last_block_);
  port_.AddTrafficListener(this);
}

RunData::~RunData() {
  port_.RemoveTrafficListener(this);
}

bool RunData::ShowRecording(const Recording& recording, const std::string& name) {
  if (RunGoing()) return false;
  const ShownRows shown = ShownBlockOf(recording.codes.size(), recording.settings.block_length);
  const auto first = recording.codes.begin() + static_cast<std::ptrdiff_t>(shown.first);
  std::vector<std::int32_t> codes(first, first + static_cast<std::ptrdiff_t>(shown.count));
  const auto mode = form_.optDataShow[1].Value()   ? DisplayMode::kDecimal
                    : form_.optDataShow[2].Value() ? DisplayMode::kHex
                                                   : DisplayMode::kVolts;
  ShowBlockOnCharts(codes, recording.settings, mode, adc_graph_, histogram_);
  const std::int64_t first_row = recording.first_index + static_cast<std::int64_t>(shown.first);
  last_block_.Show(std::move(codes), recording.settings,
                   name + ", rows " + std::to_string(first_row) + ".." +
                       std::to_string(first_row + static_cast<std::int64_t>(shown.count) - 1) +
                       " of " + std::to_string(recording.codes.size()));
  return true;
}

}  // namespace korvane
