#include "platform/serial_port.h"

#include <algorithm>
#include <charconv>

#include "platform/capture_file.h"

namespace korvane {

SerialPort::SerialPort() = default;
SerialPort::~SerialPort() = default;

void SerialPort::OpenPort() {
  receive_buffer_.clear();
  OpenDevice();
}

void SerialPort::ClosePort() {
  CloseDevice();
  receive_buffer_.clear();
}

int SerialPort::BitRate() const {
  int rate = 0;
  std::from_chars(settings_.data(), settings_.data() + settings_.size(), rate);
  return rate;
}

void SerialPort::Transmit(std::string_view text) {
  if (text.empty() || !IsPortOpen()) return;
  if (capture_) capture_->Record(TrafficDirection::kToBoard, text);
  for (auto* listener : listeners_) listener->OnTraffic(TrafficDirection::kToBoard, text);
  WriteBytes(text);
}

std::string SerialPort::TakeInput() {
  std::string taken;
  taken.swap(receive_buffer_);
  return taken;
}

void SerialPort::DeliverReceived(std::string_view bytes) {
  if (bytes.empty()) return;
  receive_buffer_.append(bytes);
  if (capture_) capture_->Record(TrafficDirection::kFromBoard, bytes);
  for (auto* listener : listeners_) listener->OnTraffic(TrafficDirection::kFromBoard, bytes);
}

void SerialPort::ReportPortLost() {
  receive_buffer_.clear();  // the device closed itself: what it heard answers nothing now
  for (auto* listener : listeners_) listener->OnPortLost(port_number_);
}

void SerialPort::ReportPortNotOpened(std::string_view reason) {
  receive_buffer_.clear();
  for (auto* listener : listeners_) listener->OnPortNotOpened(port_number_, reason);
}

void SerialPort::SetCaptureFile(const std::string& file_name) {
  capture_.reset();
  if (!file_name.empty()) capture_ = std::make_unique<CaptureFile>(file_name);
}

void SerialPort::ShowTerminal(bool on) {
  for (auto* listener : listeners_) listener->OnShowTerminal(on);
}

void SerialPort::AddTrafficListener(TrafficListener* listener) {
  if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
    listeners_.push_back(listener);
  }
}

void SerialPort::RemoveTrafficListener(TrafficListener* listener) {
  std::erase(listeners_, listener);
}

}  // namespace korvane
