#pragma once

#include <QColor>
#include <cstdint>

namespace korvane {

/// The program keeps colours as 0xBBGGRR (red in the low byte); Qt keeps them as QColor.
QColor ColorFromBgr(std::uint32_t bgr);
std::uint32_t BgrFromColor(const QColor& color);

}  // namespace korvane
