#include "platform/qt/traffic_lines.h"

#include <utility>

#include "platform/capture_file.h"

namespace korvane {

namespace {

constexpr std::size_t kMaxRunChars = 4096;

}  // namespace

void TrafficLines::Add(TrafficDirection direction, std::string_view bytes) {
  const Kind kind = direction == TrafficDirection::kToBoard ? Kind::kToBoard : Kind::kFromBoard;
  for (const char byte : bytes) AddByte(kind, byte);
}

void TrafficLines::AddNotice(std::string_view text) {
  if (line_open_) EndLine();
  Append(Kind::kNotice, text);
  line_open_ = true;
  line_kind_ = Kind::kNotice;
  line_chars_ = text.size();
}

std::vector<TrafficLines::Run> TrafficLines::Take() {
  pending_chars_ = 0;
  return std::exchange(pending_, {});
}

void TrafficLines::AddByte(Kind kind, char byte) {
  if (line_open_ && (line_kind_ != kind || (after_carriage_return_ && byte != '\n'))) EndLine();
  if (!line_open_) {
    Append(kind, kind == Kind::kToBoard ? "TX: " : "RX: ");
    line_open_ = true;
    line_kind_ = kind;
  }
  const std::string shown = PrintableTraffic(std::string_view(&byte, 1));
  Append(kind, shown);
  line_chars_ += shown.size();
  after_carriage_return_ = byte == '\r';
  if (byte == '\n' || line_chars_ >= kMaxLineChars) EndLine();
}

void TrafficLines::EndLine() {
  Append(line_kind_, "\n");
  line_open_ = false;
  line_chars_ = 0;
  after_carriage_return_ = false;
}

void TrafficLines::Append(Kind kind, std::string_view text) {
  if (pending_.empty() || pending_.back().kind != kind ||
      pending_.back().text.size() >= kMaxRunChars) {
    pending_.push_back(Run{kind, std::string{}});
  }
  pending_.back().text.append(text);
  pending_chars_ += text.size();
  // Oldest text goes first when nobody takes it; the view keeps only recent history anyway.
  while (pending_chars_ > kMaxPendingChars && pending_.size() > 1) {
    pending_chars_ -= pending_.front().text.size();
    pending_.erase(pending_.begin());
  }
}

}  // namespace korvane
