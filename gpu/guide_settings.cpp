#include "gpu/guide_settings.h"

namespace gpu {

GuideSettings guide_settings;

}  // namespace gpu
