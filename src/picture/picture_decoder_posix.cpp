// The picture decoder on libvips: the loader is chosen by the bytes, the
// header read first, and the pixels pulled through the colour conversion in
// strips of rows, so that only a few strips are ever held. The file is read
// as the loader asks, through a source of the program's own; the loaders of
// GIF, WebP and SVG read it whole.
#include <gmodule.h>
#include <vips/vips.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "picture/decode_rules.h"
#include "picture/picture_decoder.h"

namespace {

// The loaders the program offers. Every other loader stays blocked: they
// read formats nobody turns into a screen (scientific data, documents, raw
// matrices) and some hand their bytes to large outside libraries.
constexpr const char* OfferedLoaders[] = {
    "VipsForeignLoadJpeg", "VipsForeignLoadPng",  "VipsForeignLoadNsgif",
    "VipsForeignLoadWebp", "VipsForeignLoadTiff", "VipsForeignLoadHeif",
    "VipsForeignLoadSvg",  "VipsForeignLoadMagick",
};

// The general-purpose loader reads BMP, which libvips has no loader of its
// own for; it is offered BMP alone, recognised by its signature, for the
// compressed ones the program's own reader leaves. It reads from memory
// only, so such a BMP is read whole first.
constexpr char GeneralLoader[] = "VipsForeignLoadMagickBuffer";
constexpr char JpegLoader[] = "VipsForeignLoadJpegSource";
constexpr char SvgLoader[] = "VipsForeignLoadSvgSource";
constexpr char WebpLoader[] = "VipsForeignLoadWebpSource";

// The largest picture of each kind taken here, measured on a machine of two
// cores: each within 96 MiB of peak resident memory (of which libvips and
// its libraries take about 30 MiB before the first pixel) and well within
// 3 s. Where rows are handed on as they are decoded (PNG, sequential JPEG
// shrunk on load, lossy WebP at a smaller scale, TIFF in small strips, a
// plain BMP) the limit keeps the time down; elsewhere it keeps the whole
// frame within the memory left: about 4 bytes a pixel for a GIF, 8 for a
// lossless WebP, an interlaced PNG or a progressive JPEG's coefficients,
// 10 and the file for a compressed BMP. A lossy WebP is read whole but
// decoded at the small scale: desktop pictures of 4096 x 4096 and 5K screens
// fit, and 5120 x 4096 of noise (a 14 MB file) took 53 MB and 0.7 s.
constexpr SideLimit SideLimits[PictureKindCount] = {
    {16384, 8192},  // Png
    {16384, 8192},  // DeepPng
    {2880, 2160},   // InterlacedPng
    {16384, 16384}, // Jpeg
    {3072, 2304},   // ProgressiveJpeg
    {3840, 2880},   // Gif
    {5120, 4096},   // Webp
    {2880, 2160},   // LosslessWebp
    {16384, 8192},  // Tiff
    {2880, 2160},   // TiffInLargeBlocks
    {16384, 8192},  // Bmp
    {2048, 1536},   // CompressedBmp
    {2880, 2160},   // Heif
    {0, 0},         // Other: drawn pictures, at most the shared limits
};

// The smallest scale the SVG and WebP loaders are asked for.
constexpr double LeastDrawScale = 0.001;

// Rows asked of the pipeline at a time: a strip of the widest picture
// (65535 pixels) is 4 MiB of RGBA.
constexpr int32_t StripRows = 16;

void IgnoreMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

GLogWriterOutput IgnoreStructuredMessage(GLogLevelFlags, const GLogField*, gsize, gpointer) {
  return G_LOG_WRITER_HANDLED;
}

// Only the offered loaders may be used; the rule is laid again whenever a
// module has added loaders of its own.
void BlockOtherLoaders() {
  vips_operation_block_set("VipsForeignLoad", TRUE);
  for (const char* loader : OfferedLoaders) {
    vips_operation_block_set(loader, FALSE);
  }
}

// libvips keeps some loaders in modules of their own, which it would load
// all at start-up: with the large libraries under them (ImageMagick,
// poppler, OpenSlide, libjxl) that took about a third of a small picture's
// whole run. It finds them under the folder VIPSHOME names, so it is started
// with VIPSHOME naming a path under a file, where no folder can be, and the
// two modules the program offers (HEIF, and ImageMagick for compressed BMPs)
// are loaded here only for a file that needs one, from the folder of the
// libvips installed (VIPS_LIBRARY_FOLDER, from the build) for its version.
void LoadModule(const char* name) {
  char path[512];
  std::snprintf(path, sizeof path, "%s/vips-modules-%d.%d/vips-%s.so", VIPS_LIBRARY_FOLDER,
                vips_version(0), vips_version(1), name);
  // A module missing or unloadable leaves its kind of picture unread, as a
  // libvips built without it would.
  GModule* module =
      g_module_open(path, static_cast<GModuleFlags>(G_MODULE_BIND_LAZY | G_MODULE_BIND_LOCAL));
  if (module != nullptr) {
    g_module_make_resident(module);
    BlockOtherLoaders();
  }
}

// libvips is started once per process. Its warnings and those of the
// libraries under it (a damaged JPEG, an odd PNG chunk) go through GLib's
// log, which is silenced: the program reports the outcome itself. No
// operation cache, since every picture is read once, and one thread, so
// that a run's memory and the order of its work do not depend on the
// machine. The caller's VIPSHOME, if any, is put back once libvips has
// started.
bool StartVips() {
  static const bool started = [] {
    g_log_set_default_handler(IgnoreMessage, nullptr);
    g_log_set_writer_func(IgnoreStructuredMessage, nullptr, nullptr);
    const gchar* given = g_getenv("VIPSHOME");
    gchar* home = given != nullptr ? g_strdup(given) : nullptr;
    g_setenv("VIPSHOME", "/dev/null", TRUE);
    const bool failed = VIPS_INIT("cellglyph-picture-decoder") != 0;
    if (home != nullptr) {
      g_setenv("VIPSHOME", home, TRUE);
      g_free(home);
    } else {
      g_unsetenv("VIPSHOME");
    }
    if (failed) {
      vips_error_clear();
      return false;
    }
    vips_cache_set_max(0);
    vips_concurrency_set(1);
    BlockOtherLoaders();
    return true;
  }();
  return started;
}

// Loads the module a file's loader is in, once, before the loader is looked
// for: by the file's first bytes, as libvips's own search tells them.
void LoadModuleFor(const PictureBytes& file) {
  static bool heifLoaded = false, magickLoaded = false;
  uint8_t head[12] = {};
  const int64_t got = file.read(file.context, 0, head, sizeof head);
  if (!magickLoaded && got >= 2 && std::memcmp(head, "BM", 2) == 0) {
    LoadModule("magick");
    magickLoaded = true;
  }
  if (!heifLoaded && got >= 12 && std::memcmp(head + 4, "ftyp", 4) == 0) {
    LoadModule("heif");
    heifLoaded = true;
  }
}

// The loader search finds blocked loaders too (opening with them fails):
// only the offered ones' loaders from a source are taken.
bool Offered(const char* loader) {
  for (const char* offered : OfferedLoaders) {
    const size_t length = std::strlen(offered);
    if (std::strncmp(loader, offered, length) == 0 && std::strcmp(loader + length, "Source") == 0) {
      return true;
    }
  }
  return false;
}

// Owns one image reference; the pipeline's images each hold their input.
struct ImageRef {
  VipsImage* image = nullptr;
  ImageRef() = default;
  ImageRef(const ImageRef&) = delete;
  ImageRef& operator=(const ImageRef&) = delete;
  ~ImageRef() {
    if (image != nullptr) {
      g_object_unref(image);
    }
  }
  // Makes `next` the held image, dropping the one before.
  void Replace(VipsImage* next) {
    if (image != nullptr) {
      g_object_unref(image);
    }
    image = next;
  }
};

// Where one source reads in the file. Each opening of the file has its
// own, since libvips reads the header again with every open.
struct SourceReader {
  const PictureBytes* file = nullptr;
  int64_t position = 0;
};

gint64 ReadSource(VipsSourceCustom*, void* buffer, gint64 length, void* user) {
  auto& reader = *static_cast<SourceReader*>(user);
  const int64_t copied =
      reader.file->read(reader.file->context, reader.position, static_cast<uint8_t*>(buffer), length);
  reader.position += copied;
  return copied;
}

gint64 SeekSource(VipsSourceCustom*, gint64 offset, int whence, void* user) {
  auto& reader = *static_cast<SourceReader*>(user);
  const int64_t base = whence == SEEK_CUR ? reader.position : whence == SEEK_END ? reader.file->size : 0;
  if (base + offset < 0) {
    return -1;
  }
  reader.position = base + offset;
  return reader.position;
}

// A new source reading the file from its start; the caller unrefs it.
VipsSource* NewSource(SourceReader& reader, const PictureBytes& file) {
  reader = {&file, 0};
  VipsSourceCustom* source = vips_source_custom_new();
  g_signal_connect(source, "read", G_CALLBACK(ReadSource), &reader);
  g_signal_connect(source, "seek", G_CALLBACK(SeekSource), &reader);
  return VIPS_SOURCE(source);
}

// How the loader is asked to make the picture smaller as it decodes it: a
// JPEG at a scale of 1/2, 1/4 or 1/8; an SVG, which is drawn, and a WebP,
// whose decoder scales each row as it decodes it, at any scale.
struct LoadScale {
  int32_t jpegShrink = 1;
  double drawScale = 1.0;
};

int32_t ShorterSide(VipsImage* image) {
  const int32_t width = vips_image_get_width(image);
  const int32_t height = vips_image_get_height(image);
  return width < height ? width : height;
}

LoadScale ChooseLoadScale(const char* loader, int32_t width, int32_t height, int32_t leastSide) {
  LoadScale scale;
  const int32_t shorter = width < height ? width : height;
  if (std::strcmp(loader, JpegLoader) == 0) {
    scale.jpegShrink = ChooseLoadShrink(width, height, leastSide);
  } else if ((std::strcmp(loader, SvgLoader) == 0 || std::strcmp(loader, WebpLoader) == 0) &&
             shorter > leastSide) {
    scale.drawScale = static_cast<double>(leastSide) / shorter;
    scale.drawScale = scale.drawScale < LeastDrawScale ? LeastDrawScale : scale.drawScale;
  }
  return scale;
}

// Where an opening reads the picture: a source over the file, or the whole
// file in memory for the general loader.
struct PictureInput {
  const PictureBytes& file;
  const char* loader;
  SourceReader* readers;  // one a opening, OpeningsMost of them
  int32_t openings;
  const std::vector<uint8_t>* whole;  // the file's bytes for the general loader, else null
};
constexpr int32_t OpeningsMost = 3;

// Only the header is read here; pixels are decoded as the strips are asked
// for. Sequential access lets loaders that can stream do so. A picture cut
// short is an error, not rows of grey.
VipsImage* OpenPicture(PictureInput& input, LoadScale scale) {
  VipsImage* image = nullptr;
  if (input.whole != nullptr) {
    void* data = const_cast<uint8_t*>(input.whole->data());  // libvips only reads it
    image = vips_image_new_from_buffer(data, input.whole->size(), "", "access",
                                       VIPS_ACCESS_SEQUENTIAL, "fail_on", VIPS_FAIL_ON_TRUNCATED,
                                       nullptr);
    return image;
  }
  if (input.openings == OpeningsMost) {
    return nullptr;
  }
  VipsSource* source = NewSource(input.readers[input.openings++], input.file);
  int status = 0;
  if (scale.jpegShrink > 1) {
    status = vips_jpegload_source(source, &image, "shrink", scale.jpegShrink, "access",
                                  VIPS_ACCESS_SEQUENTIAL, "fail_on", VIPS_FAIL_ON_TRUNCATED,
                                  nullptr);
  } else if (scale.drawScale < 1.0 && std::strcmp(input.loader, WebpLoader) == 0) {
    status = vips_webpload_source(source, &image, "scale", scale.drawScale, "access",
                                  VIPS_ACCESS_SEQUENTIAL, "fail_on", VIPS_FAIL_ON_TRUNCATED,
                                  nullptr);
  } else if (scale.drawScale < 1.0) {
    status = vips_svgload_source(source, &image, "scale", scale.drawScale, "access",
                                 VIPS_ACCESS_SEQUENTIAL, "fail_on", VIPS_FAIL_ON_TRUNCATED,
                                 nullptr);
  } else {
    image = vips_image_new_from_source(source, "", "access", VIPS_ACCESS_SEQUENTIAL, "fail_on",
                                       VIPS_FAIL_ON_TRUNCATED, nullptr);
  }
  g_object_unref(source);  // the image holds its own reference
  return status == 0 ? image : nullptr;
}

// Builds the conversion to 8-bit sRGB with alpha on top of the loaded
// picture: through its colour profile where it has one that fits, else by
// its colour space (grey, CMYK, 16 bits, ...). Returns false when libvips
// has no way to it.
bool ConvertToRgba(ImageRef& picture) {
  VipsImage* next = nullptr;
  if (vips_image_get_typeof(picture.image, VIPS_META_ICC_NAME) != 0) {
    if (vips_icc_transform(picture.image, &next, "srgb", "embedded", TRUE, "depth", 8,
                           nullptr) == 0) {
      picture.Replace(next);
    } else {
      vips_error_clear();  // a profile that does not fit the pixels is left out
    }
  }
  if (vips_colourspace(picture.image, &next, VIPS_INTERPRETATION_sRGB, "source_space",
                       vips_image_guess_interpretation(picture.image), nullptr) != 0) {
    return false;
  }
  picture.Replace(next);
  if (vips_image_get_format(picture.image) != VIPS_FORMAT_UCHAR) {
    if (vips_cast_uchar(picture.image, &next, nullptr) != 0) {
      return false;
    }
    picture.Replace(next);
  }
  const int bands = vips_image_get_bands(picture.image);
  if (bands < 3) {
    return false;
  }
  if (bands == 3) {
    if (vips_bandjoin_const1(picture.image, &next, 255.0, nullptr) != 0) {
      return false;
    }
    picture.Replace(next);
  } else if (bands > 4) {
    if (vips_extract_band(picture.image, &next, 0, "n", 4, nullptr) != 0) {
      return false;
    }
    picture.Replace(next);
  }
  return true;
}

PictureOrientation StatedOrientation(VipsImage* image) {
  int stated = 1;
  if (vips_image_get_typeof(image, VIPS_META_ORIENTATION) != 0 &&
      vips_image_get_int(image, VIPS_META_ORIENTATION, &stated) != 0) {
    stated = 1;
  }
  return KnownOrientation(stated);
}

// Pulls the rows through the pipeline top to bottom, a strip at a time;
// each row is copied out, since the strip's memory belongs to libvips.
DecodeOutcome DeliverRows(VipsImage* image, PictureSink sink) {
  const int32_t width = vips_image_get_width(image);
  const int32_t height = vips_image_get_height(image);
  VipsRegion* region = vips_region_new(image);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
  DecodeOutcome outcome = DecodeOutcome::Decoded;
  for (int32_t top = 0; top < height && outcome == DecodeOutcome::Decoded; top += StripRows) {
    VipsRect strip = {0, top, width, height - top < StripRows ? height - top : StripRows};
    if (vips_region_prepare(region, &strip) != 0) {
      outcome = DecodeOutcome::Damaged;
      break;
    }
    for (int32_t y = top; y < top + strip.height; ++y) {
      std::memcpy(row.data(), VIPS_REGION_ADDR(region, 0, y), row.size());
      ClearTransparentPixels(row.data(), width);
      sink.row(sink.context, y, row.data());
    }
  }
  g_object_unref(region);
  return outcome;
}

// The loader for the file: the general loader for a BMP, else the one
// libvips finds for the source, if offered.
const char* FindLoader(const PictureBytes& file, SourceReader& reader) {
  uint8_t mark[2] = {};
  if (file.read(file.context, 0, mark, 2) == 2 && std::memcmp(mark, "BM", 2) == 0) {
    return GeneralLoader;
  }
  VipsSource* source = NewSource(reader, file);
  const char* loader = vips_foreign_find_load_source(source);
  g_object_unref(source);
  return loader != nullptr && Offered(loader) ? loader : nullptr;
}

DecodeOutcome DecodeWithVips(const PictureBytes& file, int32_t leastSide, PictureSink sink) {
  StatedPicture stated;
  DecodeOutcome settled;
  if (DecodeBeforeLibrary(file, sink, stated, settled)) {
    return settled;
  }
  LoadModuleFor(file);
  SourceReader readers[OpeningsMost + 1];
  const char* loader = FindLoader(file, readers[OpeningsMost]);
  if (loader == nullptr) {
    return DecodeOutcome::NotAPicture;
  }
  std::vector<uint8_t> whole;
  if (loader == GeneralLoader) {
    whole.resize(static_cast<size_t>(file.size));
    if (file.read(file.context, 0, whole.data(), file.size) != file.size) {
      return DecodeOutcome::Damaged;
    }
  }
  PictureInput input = {file, loader, readers, 0, loader == GeneralLoader ? &whole : nullptr};
  ImageRef picture;
  picture.image = OpenPicture(input, LoadScale{});
  if (picture.image == nullptr) {
    return RefusedPictureOutcome(file);
  }
  // The size as stored, where the header left it unread: a kind's limit is
  // on what its decoder holds, before any shrinking. A drawing (Other) is
  // measured as drawn, below.
  const int32_t storedWidth = vips_image_get_width(picture.image);
  const int32_t storedHeight = vips_image_get_height(picture.image);
  const int64_t storedPixels = int64_t{storedWidth} * storedHeight;
  if (stated.kind != PictureKind::Other) {
    const DecodeOutcome stored_check =
        CheckPictureSize(stated.kind, storedWidth, storedHeight,
                         stated.framePixels > storedPixels ? stated.framePixels : storedPixels);
    if (stored_check != DecodeOutcome::Decoded) {
      return stored_check;
    }
  }
  LoadScale scale = ChooseLoadScale(loader, storedWidth, storedHeight, leastSide);
  if (scale.jpegShrink > 1 || scale.drawScale < 1.0) {
    picture.Replace(OpenPicture(input, scale));
    if (picture.image == nullptr) {
      return DecodeOutcome::Damaged;
    }
  }
  if (scale.drawScale < 1.0 && ShorterSide(picture.image) < leastSide) {
    // The drawn sides are rounded from the drawing's own size, which the
    // header's whole pixels only approach: half a pixel more is enough.
    scale.drawScale *= (leastSide + 0.5) / leastSide;
    picture.Replace(OpenPicture(input, scale));
    if (picture.image == nullptr) {
      return DecodeOutcome::Damaged;
    }
  }
  const int32_t width = vips_image_get_width(picture.image);
  const int32_t height = vips_image_get_height(picture.image);
  const DecodeOutcome size_check = CheckPictureSize(width, height);
  if (size_check != DecodeOutcome::Decoded) {
    return size_check;
  }
  const PictureOrientation orientation = StatedOrientation(picture.image);
  if (!ConvertToRgba(picture)) {
    return DecodeOutcome::Damaged;
  }
  sink.start(sink.context, width, height, orientation);
  return DeliverRows(picture.image, sink);
}

}  // namespace

SideLimit PlatformSideLimit(PictureKind kind) { return SideLimits[static_cast<int>(kind)]; }

DecodeOutcome DecodePicture(const PictureBytes& file, int32_t leastSide, PictureSink sink) {
  if (file.size == 0 || !StartVips()) {
    return DecodeOutcome::NotAPicture;
  }
  const DecodeOutcome outcome = DecodeWithVips(file, leastSide, sink);
  // Whatever libvips noted on the way is of no further use.
  vips_error_clear();
  return outcome;
}
