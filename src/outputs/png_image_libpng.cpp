#include <png.h>

#include <csetjmp>
#include <cstring>

#include "match/screen_layout.h"
#include "outputs/png_image.h"

const bool PngOutputAvailable = true;

namespace {

struct ImageTarget {
  uint8_t* image;
  int32_t length;
};

// libpng hands over the file piece by piece. PngImageCapacity covers the
// largest image, so the check can only fail through a fault in that bound;
// png_error then ends the encoding like any other libpng failure.
void AppendToImage(png_structp png, png_bytep data, size_t length) {
  auto* target = static_cast<ImageTarget*>(png_get_io_ptr(png));
  if (length > static_cast<size_t>(PngImageCapacity - target->length))
    png_error(png, "PNG image larger than its buffer");
  std::memcpy(target->image + target->length, data, length);
  target->length += static_cast<int32_t>(length);
}

uint8_t scaledRow[LargestScaledRowBytes];

}  // namespace

int32_t EncodePngImage(const uint8_t* pixelRows, const uint8_t* inks, uint8_t background,
                       int scale, uint8_t* image) {
  PreviewPalette entries;
  ChoosePalette(inks, background, entries);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return 0;
  png_infop info = png_create_info_struct(png);
  ImageTarget target{image, 0};
  // libpng reports failure by a long jump back to here; png and info are
  // not changed after this point, so they hold their values when it comes.
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 0;
  }
  png_set_write_fn(png, &target, AppendToImage, nullptr);
  const auto width = static_cast<png_uint_32>(PixelColumns * scale);
  const auto height = static_cast<png_uint_32>(PixelRows * scale);
  png_set_IHDR(png, info, width, height, entries.bitDepth, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[C64ColourCount];
  for (int entry = 0; entry < entries.count; ++entry) {
    const RgbColour& colour = C64Palette[entries.colours[entry]];
    palette[entry] = {colour.red, colour.green, colour.blue};
  }
  png_set_PLTE(png, info, palette, entries.count);
  png_write_info(png, info);
  for (int row = 0; row < PixelRows; ++row) {
    ScaleColourRow(pixelRows + row * PixelRowBytes, inks + row / GlyphRows * CellColumns, entries,
                   scale, scaledRow);
    for (int copy = 0; copy < scale; ++copy) png_write_row(png, scaledRow);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return target.length;
}
