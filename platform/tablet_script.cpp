#include "platform/tablet_script.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr std::int32_t pressure_units = 8191, position_units = 65535;
constexpr std::int32_t azimuth_units = 3600, altitude_units = 900;  // tenths of a degree
constexpr std::uint32_t frame_ms = 16;

TabletDescription scripted_description() {
  TabletDescription d;
  d.interface_name = "Scripted pen";
  d.device_name = "Scripted pen";
  d.cursor_names = {"Puck", "Pressure Stylus", "Eraser"};
  d.x.axMax = d.y.axMax = position_units;
  d.normal_pressure.axMax = pressure_units;
  d.orientation[0] = {0, azimuth_units, 0, 0};
  d.orientation[1] = {-altitude_units, altitude_units, 0, 0};
  return d;
}

std::int32_t to_units(float v, std::int32_t units) {
  return std::isfinite(v) ? std::int32_t(std::lround(std::clamp(v, 0.0f, 1.0f) * float(units))) : 0;
}

}  // namespace

ScriptedPenTablet::ScriptedPenTablet(Input& input, TabletWindow window, SurfaceSize surface)
    : PacketTablet(scripted_description(), window), input_(input), surface_(std::move(surface)) {}

tagPACKET ScriptedPenTablet::packet_of(const PenSample& s, float x, float y) {
  tagPACKET p;
  p.pkX = to_units(x, position_units);
  // The tablet's y grows upwards.
  p.pkY = position_units - to_units(y, position_units);
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
  if (input_.scripted_pen(&sample)) {
    float mx = 0, my = 0;
    int w = 0, h = 0;
    input_.mouse_position(&mx, &my);
    if (surface_) surface_(&w, &h);
    post(packet_of(sample, w > 0 ? mx / float(w) : 0.0f, h > 0 ? my / float(h) : 0.0f), frames_ * frame_ms);
  } else {
    leave_proximity(frames_ * frame_ms);
  }
}

}  // namespace platform
