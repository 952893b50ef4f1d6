#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/port_mapping.h"

class QTableWidget;

namespace korvane {

/// "Choose Port": the serial devices present and the ports mapped in the settings, one line
/// each; the user picks the one the board hangs on.
class PortPickerDialog final : public QDialog {
 public:
  PortPickerDialog(QWidget* parent, std::vector<PortListEntry> entries);

  /// What to map for the chosen line ("" before a choice).
  std::string ChosenName() const;

  static constexpr const char* kTitle = "Choose Port";

 private:
  std::vector<PortListEntry> entries_;
  QTableWidget* table_ = nullptr;
};

}  // namespace korvane
