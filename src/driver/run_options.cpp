#include "driver/run_options.h"

bool dirartMode = false;
int16_t samebitLimit = 0;
