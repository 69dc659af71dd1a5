#include "calc/geometry.h"
