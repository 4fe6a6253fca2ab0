#pragma once
#include "prepare/bit_picture.h"
#include "prepare/coverage.h"

// A pixel is set where the coverage is above one threshold for the whole
// picture, chosen from its histogram so that the two classes it makes are
// each as even as they can be (least variance within them).
void ThresholdPicture(const CoveragePlane& coverage, BitPicture& picture);

// Error diffusion: each pixel is set or clear, and what that misses of its
// coverage is passed on to the neighbours not yet decided, row by row in
// alternating directions.
void DiffusePicture(const CoveragePlane& coverage, BitPicture& picture);
