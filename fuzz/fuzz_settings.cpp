// Reads the input as a settings file; a success must hold only finite values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "io/settings_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Result<io::SettingsFile> s = io::read_settings({data, size});
  if (s)
    for (const io::SettingValue& v : io::settings_values(*s))
      if (!std::isfinite(v.value)) std::abort();
  return 0;
}
