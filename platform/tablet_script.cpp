#include "platform/tablet_script.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr std::int32_t pressure_units = 8191;
constexpr std::int32_t azimuth_units = 3600, altitude_units = 900;  // tenths of a degree
constexpr std::uint32_t frame_ms = 16;

TabletDescription scripted_description() {
  TabletDescription d;
  d.interface_name = "Scripted pen";
  d.device_name = "Scripted pen";
  d.cursor_names = {"Puck", "Pressure Stylus", "Eraser"};
  d.normal_pressure.axMax = pressure_units;
  d.orientation[0] = {0, azimuth_units, 0, 0};
  d.orientation[1] = {-altitude_units, altitude_units, 0, 0};
  return d;
}

}  // namespace

ScriptedPenTablet::ScriptedPenTablet(Input& input, TabletWindow window)
    : PacketTablet(scripted_description(), window), input_(input) {}

tagPACKET ScriptedPenTablet::packet_of(const PenSample& s) {
  tagPACKET p;
  const float pressure = std::isfinite(s.pressure) ? std::clamp(s.pressure, 0.0f, 1.0f) : 0.0f;
  p.pkNormalPressure = std::uint32_t(std::lround(pressure * pressure_units));
  p.pkButtons = pressure > 0 ? 1 : 0;
  double azimuth = std::isfinite(s.azimuth) ? std::fmod(double(s.azimuth), 360.0) : 0.0;
  if (azimuth < 0) azimuth += 360;
  p.pkOrAzimuth = std::int32_t(std::lround(azimuth * 10)) % azimuth_units;
  const double altitude = std::isfinite(s.altitude) ? std::clamp(double(s.altitude), -90.0, 90.0) : 90.0;
  p.pkOrAltitude = std::int32_t(std::lround(altitude * 10));
  p.pkCursor = s.eraser ? pen_eraser_cursor : pen_tip_cursor;
  p.pkStatus = s.eraser ? TPS_INVERT : 0;
  return p;
}

void ScriptedPenTablet::next_frame() {
  ++frames_;
  PenSample sample;
  if (input_.scripted_pen(&sample))
    post(packet_of(sample), frames_ * frame_ms);
  else
    leave_proximity(frames_ * frame_ms);
}

}  // namespace platform
