#include "runtime/system_error_numbers.h"

#include <gtest/gtest.h>

namespace {

struct Folding {
  uint32_t systemError;
  uint16_t number;
};

TEST(IoErrorNumbers, DeviceErrorsMoveUpBy131) {
  // The whole range 19..31 and its neighbours, which are not moved.
  const Folding cases[] = {
      {18, 18},  {19, 150}, {20, 151}, {21, 152}, {22, 153}, {23, 154}, {24, 155}, {25, 156},
      {26, 157}, {27, 158}, {28, 159}, {29, 160}, {30, 161}, {31, 162}, {33, 33},
  };
  for (const Folding& c : cases)
    EXPECT_EQ(IoErrorNumberForSystemError(c.systemError), c.number) << "code " << c.systemError;
}

TEST(IoErrorNumbers, ConflictsFullDiskAndLongNamesAreRenumbered) {
  const Folding cases[] = {
      {32, 5},     // sharing violation
      {112, 101},  // disk full
      {145, 5},    // directory not empty
      {183, 5},    // already exists
      {206, 3},    // name too long
  };
  for (const Folding& c : cases)
    EXPECT_EQ(IoErrorNumberForSystemError(c.systemError), c.number) << "code " << c.systemError;
}

TEST(IoErrorNumbers, OtherCodesAreKept) {
  const Folding cases[] = {
      {0, 0},     {1, 1},     {2, 2},     {3, 3},     {5, 5},     {6, 6},
      {17, 17},   {87, 87},   {109, 109}, {111, 111}, {113, 113}, {123, 123},
      {131, 131}, {144, 144}, {146, 146}, {182, 182}, {184, 184}, {205, 205},
      {207, 207}, {1392, 1392},
  };
  for (const Folding& c : cases)
    EXPECT_EQ(IoErrorNumberForSystemError(c.systemError), c.number) << "code " << c.systemError;
}

}  // namespace
