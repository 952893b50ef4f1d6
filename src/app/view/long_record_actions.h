#pragma once

#include <QMenu>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "acquisition/block_settings.h"

namespace korvane {

class RunData;
class SpectrumWindow;

/// "Record N Readings..." and "Save Record as CSV...": a long record at the current settings,
/// taken behind a progress bar with the time left and a Cancel button, then analysed in the
/// Spectrum window and saved in the recording format.
void AddLongRecordActions(QMenu& menu, QWidget* window, RunData* data, SpectrumWindow* spectrum);

/// Shows the last 2^k readings of `codes` (the longest such tail, at most 1,048,576) in the
/// Spectrum window as a record; fewer than 16 readings are left to the block.
void AnalyseAsRecord(SpectrumWindow& spectrum, const std::vector<std::int32_t>& codes,
                     const BlockSettings& settings, const std::string& source);

static constexpr const char* kRecordReadings = "Record &N Readings...";
static constexpr const char* kSaveRecord = "Save Recor&d as CSV...";

}  // namespace korvane
