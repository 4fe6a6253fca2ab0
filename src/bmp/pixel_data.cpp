#include "bmp/pixel_data.h"

uint8_t PixelData[PixelDataSize];
