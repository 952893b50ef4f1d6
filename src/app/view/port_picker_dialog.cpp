#include "app/view/port_picker_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korvane {

namespace {

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

PortPickerDialog::PortPickerDialog(QWidget* parent, std::vector<PortListEntry> entries)
    : QDialog(parent), entries_(std::move(entries)) {
  setWindowTitle(kTitle);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      "The board's port: it is mapped to a port number, stored, and the board is reset.", this));
  table_ = new QTableWidget(static_cast<int>(entries_.size()), 6, this);
  table_->setHorizontalHeaderLabels(
      {"Port", "Device", "Description", "Manufacturer", "Serial number", "Stable name (by-id)"});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  for (int row = 0; row < table_->rowCount(); ++row) {
    const PortListEntry& entry = entries_[static_cast<std::size_t>(row)];
    const PresentSerialDevice& device = entry.device;
    const QString port = entry.port_number > 0 ? QString("COM%1").arg(entry.port_number) : "-";
    const QString location =
        device.location.empty() ? Text(entry.mapped_to) + " (not present)" : Text(device.location);
    const QString cells[] = {port,
                             location,
                             Text(device.description),
                             Text(device.manufacturer),
                             Text(device.serial_number),
                             Text(device.by_id)};
    for (int column = 0; column < 6; ++column) {
      table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(table_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("Use This Port");
  buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this, buttons] {
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!table_->selectedItems().isEmpty());
  });
  connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(900, 320);
}

std::string PortPickerDialog::ChosenName() const {
  const int row = table_->currentRow();
  if (row < 0 || row >= static_cast<int>(entries_.size())) return {};
  return entries_[static_cast<std::size_t>(row)].mapped_to;
}

}  // namespace korvane
