#include "ui/swatch_grid.h"

SwatchGrid swatch_grid;
