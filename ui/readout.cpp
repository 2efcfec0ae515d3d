#include "ui/readout.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace ui {
namespace {

std::string cut_prefix(std::string_view label) {
  for (std::string_view prefix : {"BRUSH:", "CANVAS:", "LAYER:", "PEN:", "MENU:", "GUI:"})
    if (label.substr(0, prefix.size()) == prefix) return std::string(label.substr(prefix.size()));
  return std::string(label);
}

std::string format(const char* fmt, double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

}  // namespace

std::string readout(const document::Parameter& p) {
  using K = document::ParamKind;
  const std::optional<float> v = document::parameter_value(p);
  if (std::string_view(p.label) == "COLOR:DRP GAMMA") return "GAMMA" + format(" 1:%.2f", v.value_or(0) * 5.7);
  std::string text = cut_prefix(p.label);
  if (!v || p.kind == K::menu_button) return text;
  if (p.kind == K::toggle) return text + (*v != 0 ? " on" : " off");
  if (p.kind == K::step_button) return text + format(" %.0f", *v);
  const float lo = std::fmin(p.low, p.high), hi = std::fmax(p.low, p.high);
  if (!p.unbounded() && lo >= 0 && hi <= 1) return text + format(" %.0f%%", std::trunc(*v * 100));
  if (std::fabs(*v) >= 10) return text + format(" %.0f", *v);
  return text + format(" %.2f", *v);
}

}  // namespace ui
