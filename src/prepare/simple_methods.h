#pragma once
#include "prepare/bit_picture.h"
#include "prepare/coverage.h"

// One threshold for the whole picture splits it into light and dark parts,
// chosen from the histogram of its lightness so that the two parts are
// each as even as they can be (least variance within them). The pixels of
// the parts to be drawn are set: the light ones, or the dark ones where
// darkPartsDrawn (the coverage is then the complement of the light).
void ThresholdPicture(const CoveragePlane& coverage, bool darkPartsDrawn, BitPicture& picture);

// Error diffusion: each pixel is set or clear, and what that misses of its
// coverage is passed on to the neighbours not yet decided, row by row in
// alternating directions.
void DiffusePicture(const CoveragePlane& coverage, BitPicture& picture);
