#include "document/swatch_grid.h"

SwatchGrid swatch_grid;
