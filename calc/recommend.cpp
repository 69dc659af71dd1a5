#include "calc/recommend.h"
