// The geometry calculation lives in the core.
#pragma once

#include "core/geometry.h"
