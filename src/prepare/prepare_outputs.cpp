#include "prepare/prepare_outputs.h"

#include "console/console_lines.h"
#include "files/whole_file.h"
#include "screens/bmp_image.h"

bool BuildPreparedOutputs(const PrepareOutputs& outputs, const PreparedScreen& screen,
                          const OutputStyle& style, BuiltOutputs& built) {
  for (int32_t& size : built.sizes) size = 0;
  for (int i = 0; i < outputs.count; ++i) {
    const auto format = static_cast<int>(outputs.formats[i]);
    if (built.sizes[format] != 0) continue;
    uint8_t* bytes = built.bytes + OutputOffset(format);
    // The BMP is the preparer's own picture, the converter's input, which
    // the other methods than the glyphs draw pixel by pixel.
    if (outputs.formats[i] == OutputFormat::BmpImage) {
      BuildBmpImage(screen.bits.rows, bytes);
      built.sizes[format] = ImageFileSize;
    } else {
      built.sizes[format] =
          BuildScreenOutput(outputs.formats[i], screen.codes, screen.colours, style, bytes);
    }
    if (built.sizes[format] == 0) return false;
  }
  return true;
}

void WritePreparedOutputs(const PrepareOutputs& outputs, const BuiltOutputs& built) {
  for (int i = 0; i < outputs.count; ++i) {
    const auto format = static_cast<int>(outputs.formats[i]);
    const std::string_view start = outputs.formats[i] == OutputFormat::BmpImage
                                       ? "Writing 1-bit picture "
                                       : WritingLineStart(outputs.formats[i]);
    ShowNamedLine(start, outputs.names[i], "...");
    WriteWholeFile(outputs.names[i], built.bytes + OutputOffset(format), built.sizes[format]);
  }
}
