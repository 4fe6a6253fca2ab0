// The picture decoder on the Windows Imaging Component: the decoder is
// chosen by the bytes, the first frame converted to 32-bit BGRA with
// straight alpha (through its colour profile where Windows can), and the
// rows copied out a band at a time. The file is read whole into memory
// first.
#include <windows.h>
#include <wincodec.h>

#include <cstring>
#include <vector>

#include "picture/decode_rules.h"
#include "picture/picture_decoder.h"
#include "picture/picture_header.h"

namespace {

// Rows copied at a time: a band of the widest picture (65535 pixels) is
// 4 MiB.
constexpr int32_t BandRows = 16;

// Colour profiles looked at in a frame; the first one that is a profile is
// used.
constexpr UINT MostColorContexts = 4;

// The EXIF colour space number of sRGB.
constexpr UINT ExifSrgb = 1;

// The largest picture of each kind taken here, measured under Wine on a
// machine of two cores: each within 96 MiB of peak resident memory above
// what Wine itself takes, and well within 3 s. Wine's decoders build the
// whole frame (every frame, for a GIF) as stored, up to 8 bytes a pixel,
// beside the file; only TIFF is read a strip at a time, and a plain BMP a
// row at a time by the program's own reader.
constexpr SideLimit SideLimits[PictureKindCount] = {
    {3840, 2880},   // Png
    {2880, 1920},   // DeepPng
    {2880, 1920},   // InterlacedPng
    {4096, 3072},   // Jpeg
    {4096, 3072},   // ProgressiveJpeg
    {3840, 2880},   // Gif
    {2880, 2160},   // Webp
    {2880, 2160},   // LosslessWebp
    {16384, 8192},  // Tiff
    {2880, 1920},   // TiffInLargeBlocks
    {16384, 8192},  // Bmp
    {3840, 2880},   // CompressedBmp
    {2880, 2160},   // Heif
    {0, 0},         // Other: at most the shared limits
};

// Where the EXIF orientation sits in a JPEG's and in a TIFF's metadata.
constexpr const wchar_t* OrientationQueries[] = {L"/app1/ifd/{ushort=274}", L"/ifd/{ushort=274}"};

// Holds one COM interface and releases it at the end of the scope.
template <typename Interface>
struct ComRef {
  Interface* pointer = nullptr;
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (pointer != nullptr) {
      pointer->Release();
    }
  }
  Interface* operator->() const { return pointer; }
  // For the functions that hand out a new interface.
  Interface** Out() { return &pointer; }
};

// COM and the imaging factory are started once per process and kept to its
// end. A thread that COM already serves in another mode can still use the
// factory.
IWICImagingFactory* ImagingFactory() {
  static IWICImagingFactory* const factory = [] {
    const HRESULT started = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(started) && started != RPC_E_CHANGED_MODE) {
      return static_cast<IWICImagingFactory*>(nullptr);
    }
    IWICImagingFactory* made = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&made)))) {
      return static_cast<IWICImagingFactory*>(nullptr);
    }
    return made;
  }();
  return factory;
}

// The orientation from the frame's metadata; for a JPEG whose decoder does
// not show its EXIF data (Wine's), from the file's own EXIF segment.
PictureOrientation StatedOrientation(IWICBitmapFrameDecode* frame, const uint8_t* bytes,
                                     size_t size) {
  ComRef<IWICMetadataQueryReader> reader;
  if (FAILED(frame->GetMetadataQueryReader(reader.Out()))) {
    return KnownOrientation(ReadJpegExifOrientation(bytes, size));
  }
  for (const wchar_t* query : OrientationQueries) {
    PROPVARIANT value;
    PropVariantInit(&value);
    const bool found = SUCCEEDED(reader->GetMetadataByName(query, &value)) && value.vt == VT_UI2;
    const int64_t stated = found ? value.uiVal : 0;
    PropVariantClear(&value);
    if (found) {
      return KnownOrientation(stated);
    }
  }
  return KnownOrientation(ReadJpegExifOrientation(bytes, size));
}

// The frame seen through its colour profile as sRGB, where it has a profile
// and Windows can convert from it to 32-bit BGRA; otherwise null, and the
// frame's colours are taken as they are.
IWICColorTransform* ColourTransform(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame) {
  UINT count = 0;
  if (FAILED(frame->GetColorContexts(0, nullptr, &count)) || count == 0) {
    return nullptr;
  }
  count = count < MostColorContexts ? count : MostColorContexts;
  IWICColorContext* contexts[MostColorContexts] = {};
  UINT made = 0;
  for (; made < count; ++made) {
    if (FAILED(factory->CreateColorContext(&contexts[made]))) {
      break;
    }
  }
  IWICColorTransform* transform = nullptr;
  UINT given = 0;
  if (made == count && SUCCEEDED(frame->GetColorContexts(count, contexts, &given))) {
    IWICColorContext* profile = nullptr;
    for (UINT i = 0; i < given && profile == nullptr; ++i) {
      WICColorContextType type;
      if (SUCCEEDED(contexts[i]->GetType(&type)) && type == WICColorContextProfile) {
        profile = contexts[i];
      }
    }
    ComRef<IWICColorContext> srgb;
    if (profile != nullptr && SUCCEEDED(factory->CreateColorContext(srgb.Out())) &&
        SUCCEEDED(srgb->InitializeFromExifColorSpace(ExifSrgb)) &&
        SUCCEEDED(factory->CreateColorTransformer(&transform)) &&
        FAILED(transform->Initialize(frame, profile, srgb.pointer,
                                     GUID_WICPixelFormat32bppBGRA))) {
      transform->Release();
      transform = nullptr;
    }
  }
  for (UINT i = 0; i < made; ++i) {
    contexts[i]->Release();
  }
  return transform;
}

// Copies the converted rows out a band at a time, top to bottom, turning
// Windows' B, G, R, A into R, G, B, A.
DecodeOutcome DeliverRows(IWICBitmapSource* source, int32_t width, int32_t height,
                          PictureSink sink) {
  const UINT stride = static_cast<UINT>(width) * 4;
  std::vector<uint8_t> band(static_cast<size_t>(stride) * BandRows);
  for (int32_t top = 0; top < height; top += BandRows) {
    const int32_t rows = height - top < BandRows ? height - top : BandRows;
    const WICRect rect = {0, top, width, rows};
    if (FAILED(source->CopyPixels(&rect, stride, stride * static_cast<UINT>(rows), band.data()))) {
      return DecodeOutcome::Damaged;
    }
    for (int32_t r = 0; r < rows; ++r) {
      uint8_t* row = band.data() + static_cast<size_t>(stride) * r;
      for (int32_t x = 0; x < width; ++x) {
        const uint8_t blue = row[x * 4];
        row[x * 4] = row[x * 4 + 2];
        row[x * 4 + 2] = blue;
      }
      ClearTransparentPixels(row, width);
      sink.row(sink.context, top + r, row);
    }
  }
  return DecodeOutcome::Decoded;
}

DecodeOutcome DecodeWithWic(IWICImagingFactory* factory, const PictureBytes& file,
                            const uint8_t* bytes, size_t size, PictureSink sink) {
  ComRef<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), static_cast<DWORD>(size)))) {
    return DecodeOutcome::Damaged;
  }
  ComRef<IWICBitmapDecoder> decoder;
  const HRESULT found = factory->CreateDecoderFromStream(
      stream.pointer, nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out());
  if (found == WINCODEC_ERR_COMPONENTNOTFOUND) {
    return DecodeOutcome::NotAPicture;
  }
  if (FAILED(found)) {
    return RefusedPictureOutcome(file);
  }
  ComRef<IWICBitmapFrameDecode> frame;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(frame->GetSize(&width, &height))) {
    return RefusedPictureOutcome(file);
  }
  const StatedPicture stated = ReadStatedPicture(file);
  const int64_t pixels = int64_t{width} * height;
  const DecodeOutcome size_check = CheckPictureSize(
      stated.kind, width, height, stated.framePixels > pixels ? stated.framePixels : pixels);
  if (size_check != DecodeOutcome::Decoded) {
    return size_check;
  }
  const PictureOrientation orientation = StatedOrientation(frame.pointer, bytes, size);
  ComRef<IWICColorTransform> transform;
  transform.pointer = ColourTransform(factory, frame.pointer);
  IWICBitmapSource* source = transform.pointer != nullptr
                                 ? static_cast<IWICBitmapSource*>(transform.pointer)
                                 : static_cast<IWICBitmapSource*>(frame.pointer);
  ComRef<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
    return DecodeOutcome::Damaged;
  }
  sink.start(sink.context, static_cast<int32_t>(width), static_cast<int32_t>(height),
             orientation);
  return DeliverRows(converter.pointer, static_cast<int32_t>(width),
                     static_cast<int32_t>(height), sink);
}

}  // namespace

SideLimit PlatformSideLimit(PictureKind kind) { return SideLimits[static_cast<int>(kind)]; }

DecodeOutcome DecodePicture(const PictureBytes& file, int32_t /*leastSide*/, PictureSink sink) {
  IWICImagingFactory* const factory = ImagingFactory();
  if (file.size == 0 || factory == nullptr) {
    return DecodeOutcome::NotAPicture;
  }
  // Wine's decoders take the whole picture on when they first see it: the
  // size is checked before they do.
  StatedPicture stated;
  DecodeOutcome settled;
  if (DecodeBeforeLibrary(file, sink, stated, settled)) {
    return settled;
  }
  // A memory stream holds at most 4 GiB.
  if (file.size > 0xFFFFFFFF) {
    return DecodeOutcome::TooLarge;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(file.size));
  if (file.read(file.context, 0, bytes.data(), file.size) != file.size) {
    return DecodeOutcome::Damaged;
  }
  return DecodeWithWic(factory, file, bytes.data(), bytes.size(), sink);
}
