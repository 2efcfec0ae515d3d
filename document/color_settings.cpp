#include "document/color_settings.h"

ColorSettings color_settings;
