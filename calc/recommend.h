// The recommendation lives in the core.
#pragma once

#include "core/recommend.h"
