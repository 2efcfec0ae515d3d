#include "platform/tablet_xinput.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace platform {
namespace {

constexpr double pi = 3.14159265358979323846;
// Valuator numbers past this are not ours to track (pens use a handful).
constexpr int max_valuators = 64;
constexpr std::int32_t azimuth_units = 3600, altitude_units = 900;  // tenths of a degree

bool contains_word(std::string text, const char* word) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return text.find(word) != std::string::npos;
}

// Steps of an axis made from a valuator range: the range itself when it is a
// reasonable integer resolution, otherwise 16 bits (for ranges such as 0..1).
std::int32_t axis_units(const XiValuator& v) {
  const double range = v.max - v.min;
  return range >= 255 && range < 1e9 ? std::int32_t(range) : 65535;
}

double normalised(const XiPen& pen, int number) {
  if (number < 0) return 0;
  const XiValuator& v = pen.valuators[number];
  if (!(v.max > v.min)) return 0;
  return std::clamp((pen.values[number] - v.min) / (v.max - v.min), 0.0, 1.0);
}

std::int32_t to_axis(const XiPen& pen, int number, const tagAXIS& axis) {
  return std::int32_t(std::lround(normalised(pen, number) * axis.axMax));
}

// Tilt valuators within +-90 count degrees; wider ranges reach 90 at their ends.
double tilt_degrees(const XiPen& pen, int number) {
  const XiValuator& v = pen.valuators[number];
  const double extreme = std::max(std::fabs(v.min), std::fabs(v.max));
  const double value = pen.values[number];
  return extreme > 90 ? value * 90 / extreme : value;
}

int find_label(const std::vector<XiValuator>& valuators, const char* label, int fallback) {
  for (const XiValuator& v : valuators)
    if (v.label == label) return v.number;
  return fallback < int(valuators.size()) ? fallback : -1;
}

}  // namespace

XiMotion motion_from_masks(int device, std::uint32_t time, const unsigned char* valuator_mask, int valuator_mask_len,
                           const double* values, const unsigned char* button_mask, int button_mask_len) {
  auto is_set = [](const unsigned char* mask, int bit) { return (mask[bit >> 3] & (1 << (bit & 7))) != 0; };
  XiMotion m;
  m.device = device;
  m.time = time;
  for (int n = 0; valuator_mask && n < valuator_mask_len * 8; ++n)
    if (is_set(valuator_mask, n)) m.values.emplace_back(n, *values++);
  // Button 0 does not exist; buttons 1..32 become bits 0..31.
  for (int b = 1; button_mask && b <= 32 && b < button_mask_len * 8; ++b)
    if (is_set(button_mask, b)) m.buttons |= 1u << (b - 1);
  return m;
}

void tilt_to_orientation(double tilt_x, double tilt_y, double* azimuth, double* altitude) {
  // A pen cannot lie flat; keep the tangents finite.
  const double limit = 89.9;
  const double dx = std::tan(std::clamp(tilt_x, -limit, limit) * pi / 180);
  const double dy = std::tan(std::clamp(tilt_y, -limit, limit) * pi / 180);
  const double lean = std::hypot(dx, dy);
  *altitude = std::atan2(1.0, lean) * 180 / pi;
  double a = lean > 0 ? std::atan2(dx, -dy) * 180 / pi : 0;
  if (a < 0) a += 360;
  *azimuth = a;
}

std::vector<XiPen> find_pens(const std::vector<XiDevice>& devices) {
  std::vector<XiPen> styluses, erasers;
  for (const XiDevice& d : devices) {
    if (!d.slave_pointer) continue;
    XiPen pen;
    pen.id = d.id;
    pen.name = d.name;
    pen.eraser = contains_word(d.name, "eraser");
    for (const XiValuator& v : d.valuators)
      if (v.number >= 0 && v.number < max_valuators && v.number >= int(pen.valuators.size()))
        pen.valuators.resize(v.number + 1);
    for (const XiValuator& v : d.valuators)
      if (v.number >= 0 && v.number < max_valuators) pen.valuators[v.number] = v;
    // Numbers the device skips get an empty range, which reads as 0.
    for (int n = 0; n < int(pen.valuators.size()); ++n) pen.valuators[n].number = n;
    pen.pressure = find_label(pen.valuators, "Abs Pressure", max_valuators);
    if (pen.pressure < 0) continue;
    pen.x = find_label(pen.valuators, "Abs X", 0);
    pen.y = find_label(pen.valuators, "Abs Y", 1);
    pen.tilt_x = find_label(pen.valuators, "Abs Tilt X", max_valuators);
    pen.tilt_y = find_label(pen.valuators, "Abs Tilt Y", max_valuators);
    pen.values.resize(pen.valuators.size());
    for (std::size_t n = 0; n < pen.valuators.size(); ++n)
      pen.values[n] = std::clamp(0.0, pen.valuators[n].min, std::max(pen.valuators[n].min, pen.valuators[n].max));
    (pen.eraser ? erasers : styluses).push_back(std::move(pen));
  }
  styluses.insert(styluses.end(), std::make_move_iterator(erasers.begin()), std::make_move_iterator(erasers.end()));
  return styluses;
}

TabletDescription describe_pens(const std::vector<XiPen>& pens) {
  const XiPen& p = pens.front();
  TabletDescription d;
  d.interface_name = "XInput2 pens";
  d.device_name = p.name;
  d.cursor_names = {"Puck", "Pressure Stylus", "Eraser"};
  if (p.x >= 0) d.x.axMax = axis_units(p.valuators[p.x]);
  if (p.y >= 0) d.y.axMax = axis_units(p.valuators[p.y]);
  d.normal_pressure.axMax = axis_units(p.valuators[p.pressure]);
  if (p.tilt_x >= 0 && p.tilt_y >= 0) {
    d.orientation[0] = {0, azimuth_units, 0, 0};
    d.orientation[1] = {-altitude_units, altitude_units, 0, 0};
  }
  return d;
}

tagPACKET pen_packet(XiPen& pen, const XiMotion& event, const TabletDescription& tablet) {
  for (const auto& [number, value] : event.values)
    if (number >= 0 && number < int(pen.values.size()) && std::isfinite(value)) pen.values[number] = value;

  tagPACKET p;
  p.pkCursor = pen.eraser ? pen_eraser_cursor : pen_tip_cursor;
  p.pkStatus = pen.eraser ? TPS_INVERT : 0;
  p.pkButtons = event.buttons;
  p.pkX = to_axis(pen, pen.x, tablet.x);
  // The tablet's y grows upwards, the valuator's downwards.
  p.pkY = tablet.y.axMax - to_axis(pen, pen.y, tablet.y);
  p.pkNormalPressure = std::uint32_t(to_axis(pen, pen.pressure, tablet.normal_pressure));
  if (pen.tilt_x >= 0 && pen.tilt_y >= 0 && tablet.orientation[0].axMax > 0) {
    double azimuth = 0, altitude = 0;
    tilt_to_orientation(tilt_degrees(pen, pen.tilt_x), tilt_degrees(pen, pen.tilt_y), &azimuth, &altitude);
    p.pkOrAzimuth = std::int32_t(std::lround(azimuth * 10)) % azimuth_units;
    p.pkOrAltitude = std::int32_t(std::lround(altitude * 10));
  }
  return p;
}

std::vector<int> other_pointers(const std::vector<XiDevice>& devices, const std::vector<XiPen>& pens) {
  std::vector<int> ids;
  for (const XiDevice& d : devices)
    if (d.slave_pointer && std::none_of(pens.begin(), pens.end(), [&](const XiPen& p) { return p.id == d.id; }))
      ids.push_back(d.id);
  return ids;
}

XInputPenTablet::XInputPenTablet(std::vector<XiPen> pens, std::vector<int> pointers, TabletWindow window)
    : PacketTablet(describe_pens(pens), window), pens_(std::move(pens)), pointers_(std::move(pointers)) {}

void XInputPenTablet::on_motion(const XiMotion& event) {
  for (XiPen& pen : pens_)
    if (pen.id == event.device) {
      post(pen_packet(pen, event, description()), event.time);
      return;
    }
  if (std::find(pointers_.begin(), pointers_.end(), event.device) != pointers_.end()) leave_proximity(event.time);
}

}  // namespace platform
