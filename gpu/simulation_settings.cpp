#include "gpu/simulation_settings.h"

namespace gpu {

SimulationSettings simulation_settings;

}  // namespace gpu
