#include "support/fakes.h"

#include <gtest/gtest.h>

namespace korvane::testing {

void RecordingDialogs::MessageBox(const std::string& text, MessageIcon icon) {
  messages.push_back({text, icon});
}

std::vector<std::string> RecordingDialogs::Texts() const {
  std::vector<std::string> texts;
  for (const auto& message : messages) texts.push_back(message.text);
  return texts;
}

std::string MemorySettings::Read(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& default_value) {
  const auto it = values.find(application + "/" + section + "/" + key);
  return it == values.end() ? default_value : it->second;
}

void MemorySettings::Write(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& value) {
  values[application + "/" + section + "/" + key] = value;
}

void FakeChart::SetPointCount(int count) {
  const auto size = static_cast<std::size_t>(count < 0 ? 0 : count);
  xs.resize(size);
  ys.resize(size);
}

void FakeChart::SetPointY(int, int point, float value) {
  if (point >= 0 && point < PointCount()) {
    ys[static_cast<std::size_t>(point)] = value;
  } else {
    ADD_FAILURE() << "point " << point << " written on a chart of " << PointCount();
  }
}

void FakeChart::SetPointX(int, int point, float value) {
  if (point >= 0 && point < PointCount()) {
    xs[static_cast<std::size_t>(point)] = value;
  } else {
    ADD_FAILURE() << "point " << point << " written on a chart of " << PointCount();
  }
}

float FakeChart::PointY(int, int point) const {
  return point >= 0 && point < PointCount() ? ys[static_cast<std::size_t>(point)] : 0.0f;
}

float FakeChart::PointX(int, int point) const {
  return point >= 0 && point < PointCount() ? xs[static_cast<std::size_t>(point)] : 0.0f;
}

}  // namespace korvane::testing
