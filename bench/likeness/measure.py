"""The likeness of a drawn 320x200 screen to the picture it was made from.

Both are sRGB pictures. Each is first decoded to linear light, since a
pattern of glyph pixels mixes in the eye as light mixes, and blurred there
by a Gaussian as wide as the eye's view from a given distance (sigma 1 and
2 pixels, mirrored at the edges). Then:

- structure: the structural similarity of the two CIE L* planes (lightness
  0 to 100 from the Rec. 709 luminance), with the usual constants K1 0.01
  and K2 0.03 for a range of 100, local statistics under a Gaussian of
  sigma 1.5 cut off at 3.5 sigma (11 x 11), population variances, averaged
  over every pixel. 'ssim_blur' after the sigma-1 blur, 'ssim_blur2' after
  sigma 2; the benchmark reports their mean (1 is identical).
- colour: 'dE', the mean CIE76 distance in CIELAB (D65 white of the sRGB
  primaries) after the sigma-1 blur.

Needs numpy, scipy and Pillow (Debian: python3-numpy python3-scipy
python3-pil)."""
import numpy as np
from PIL import Image
from scipy.ndimage import gaussian_filter

# Linear sRGB to CIE XYZ, rows X, Y, Z; the white point is where (1, 1, 1) lands.
TO_XYZ = np.array([[0.4124, 0.3576, 0.1805],
                   [0.2126, 0.7152, 0.0722],
                   [0.0193, 0.1192, 0.9505]])
WHITE_POINT = TO_XYZ @ np.ones(3)
KNEE = (6 / 29) ** 3  # below it the CIELAB curve is a straight line


def load_linear(path):
    """The picture as an array (rows, columns, 3) of linear light, 0 to 1."""
    coded = np.asarray(Image.open(path).convert('RGB'), dtype=np.float64) / 255
    return np.where(coded > 0.04045, ((coded + 0.055) / 1.055) ** 2.4, coded / 12.92)


def viewed(linear, sigma):
    """Each channel blurred as the eye sees it from the distance sigma stands for."""
    return np.stack([gaussian_filter(linear[..., channel], sigma, mode='reflect')
                     for channel in range(3)], axis=-1)


def cie_curve(ratio):
    return np.where(ratio > KNEE, np.cbrt(ratio), ratio * (29 / 6) ** 2 / 3 + 4 / 29)


def lightness(linear):
    """CIE L* of each pixel's luminance."""
    return 116 * cie_curve(linear @ TO_XYZ[1]) - 16


def cielab(linear):
    x, y, z = (cie_curve(plane) for plane in np.moveaxis(linear @ TO_XYZ.T / WHITE_POINT, -1, 0))
    return np.stack([116 * y - 16, 500 * (x - y), 200 * (y - z)], axis=-1)


def structural_similarity(first, second, dynamic_range=100.0):
    def local(plane):
        return gaussian_filter(plane, 1.5, mode='reflect', truncate=3.5)

    steady_mean, steady_spread = (0.01 * dynamic_range) ** 2, (0.03 * dynamic_range) ** 2
    mean_1, mean_2 = local(first), local(second)
    spread_1 = local(first * first) - mean_1 * mean_1
    spread_2 = local(second * second) - mean_2 * mean_2
    together = local(first * second) - mean_1 * mean_2
    index = ((2 * mean_1 * mean_2 + steady_mean) * (2 * together + steady_spread)
             / ((mean_1 * mean_1 + mean_2 * mean_2 + steady_mean)
                * (spread_1 + spread_2 + steady_spread)))
    return float(index.mean())


def likeness(reference, result):
    """Both in linear light, as load_linear gives them."""
    near_reference, near_result = viewed(reference, 1.0), viewed(result, 1.0)
    colour_distance = np.linalg.norm(cielab(near_reference) - cielab(near_result), axis=-1)
    return {
        'ssim_blur': structural_similarity(lightness(near_reference), lightness(near_result)),
        'ssim_blur2': structural_similarity(lightness(viewed(reference, 2.0)),
                                            lightness(viewed(result, 2.0))),
        'dE': float(colour_distance.mean()),
    }
