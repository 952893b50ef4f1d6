#pragma once

#include <string>

#include "acquisition/acquisition_run.h"
#include "acquisition/histogram.h"
#include "acquisition/last_block.h"
#include "app/long_record.h"
#include "app/noise_sweep.h"
#include "form/form.h"
#include "platform/chart.h"
#include "platform/serial_port.h"
#include "platform/traffic_listener.h"
#include "records/csv_reader.h"
#include "records/csv_recorder.h"

namespace korvane {

/// What the "Data" menu works on: the last closed block (the Noise window and the block export),
/// the recording of a run, the long record, the noise table, and opened recordings shown in the
/// window's charts. A recording ends with its run, at shutdown, and when the board's port is lost.
class RunData final : private TrafficListener {
 public:
  RunData(Form& form, AcquisitionRun& run, SerialPort& port, Chart& adc_graph, Histogram& histogram,
          const std::string& program_version, TimeBase& time);
  ~RunData() override;
  RunData(const RunData&) = delete;
  RunData& operator=(const RunData&) = delete;

  LastBlock& last_block() { return last_block_; }
  CsvRecorder& recorder() { return recorder_; }
  LongRecord& long_record() { return long_record_; }
  NoiseSweep& noise_sweep() { return noise_sweep_; }

  /// A run is taking readings; an opened recording is not shown meanwhile.
  bool RunGoing() const { return form_.TestGo || form_.RunState == 1; }
  /// Shows the block of `recording` (see `ShownBlockOf`) in the time graph, the histogram and
  /// the Noise window. Touches nothing and returns false while a run goes on.
  bool ShowRecording(const Recording& recording, const std::string& name);
  /// Ends a recording that is under way, as the program ends.
  void Finish() { recorder_.Finish(); }

 private:
  void OnTraffic(TrafficDirection /*direction*/, std::string_view /*bytes*/) override {}
  void OnPortLost(int /*port_number*/) override { recorder_.Finish(); }

  Form& form_;
  SerialPort& port_;
  Chart& adc_graph_;
  Histogram& histogram_;
  LastBlock last_block_;
  CsvRecorder recorder_;
  LongRecord long_record_;
  NoiseSweep noise_sweep_;
};

}  // namespace korvane
