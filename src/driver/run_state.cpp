#include "driver/run_state.h"

#include <cstring>

#include "bmp/header_fields.h"

bool dirartMode = false;
int16_t samebitLimit = 0;
uint8_t PixelData[PixelDataSize];
uint8_t ScreenCodes[CellCount];
int16_t SameBitsGrid[CellRows][CellColumns];

void ResetRunState() {
  dirartMode = false;
  samebitLimit = 0;
  std::memset(PixelData, 0, sizeof PixelData);
  std::memset(ScreenCodes, 0, sizeof ScreenCodes);
  std::memset(SameBitsGrid, 0, sizeof SameBitsGrid);
  ClearHeaderValues();
}
