// The engine's worker: decodes the picture with the browser's own decoder,
// upright as its EXIF orientation says, hands the RGBA pixels to the engine
// and sends every output back. One request at a time, in order.
/* global CellglyphEngine, importScripts */
if (typeof CellglyphEngine === 'undefined') importScripts('cellglyph-engine.js');

const engineReady = CellglyphEngine();
// Numbers of the outputs in the engine (OutputFormat in src/outputs).
const FormatNumbers = { prg: 1, asm: 2, seq: 3, petmate: 4, png: 6, bin: 7, col: 8 };
// A JPEG is shrunk on load as the programs' decoders shrink it: by the
// largest of 1/2, 1/4 and 1/8 that keeps its shorter side at least this
// many pixels (LeastDecodedSide in src/prepare/prepare_screen.h).
const LeastDecodedSide = 400;
let pictureName = 'screen';
let pictureSize = [0, 0];

function loadShrink(width, height) {
  const shorter = Math.min(width, height);
  let shrink = 8;
  while (shrink > 1 && Math.floor(shorter / shrink) < LeastDecodedSide) shrink /= 2;
  return shrink;
}

async function isJpeg(file) {
  const mark = new Uint8Array(await file.slice(0, 3).arrayBuffer());
  return mark[0] === 0xFF && mark[1] === 0xD8 && mark[2] === 0xFF;
}

// The picture's RGBA pixels, or a line saying why there are none. The
// browser's colour management stays off: the programs' decoders take a
// PNG's stored values whatever its gamma chunk says, and so must the page to
// give the same screen (a colour profile that is not sRGB is then not
// applied here, where the programs apply it).
async function decode(file) {
  let bitmap;
  try {
    bitmap = await createImageBitmap(file, {
      imageOrientation: 'from-image', premultiplyAlpha: 'none', colorSpaceConversion: 'none' });
  } catch {
    return { error: `${file.name || 'The pasted file'} is not a picture this browser can read.` };
  }
  let width = bitmap.width;
  let height = bitmap.height;
  if (await isJpeg(file)) {
    const shrink = loadShrink(width, height);
    width = Math.floor(width / shrink);
    height = Math.floor(height / shrink);
  }
  const canvas = new OffscreenCanvas(width, height);
  const context = canvas.getContext('2d', { willReadFrequently: true });
  context.imageSmoothingQuality = 'high';
  context.drawImage(bitmap, 0, 0, width, height);
  bitmap.close();
  return { width, height, rgba: context.getImageData(0, 0, width, height).data };
}

function stemOf(name) {
  const dot = name.lastIndexOf('.');
  return (dot > 0 ? name.slice(0, dot) : name) || 'screen';
}

async function handle(message) {
  const engine = await engineReady;
  if (message.file) {
    const picture = await decode(message.file);
    if (picture.error) return { id: message.id, error: picture.error };
    const pixels = engine._cellglyph_picture(picture.width, picture.height);
    if (pixels === 0) {
      pictureSize = [0, 0];
      return { id: message.id, error: engine.UTF8ToString(engine._cellglyph_refusal()) };
    }
    engine.HEAPU8.set(picture.rgba, pixels);
    pictureName = stemOf(message.file.name || 'pasted');
    pictureSize = [picture.width, picture.height];
  }
  const started = performance.now();
  const refused = engine._cellglyph_prepare(...message.settings);
  if (refused !== 0) return { id: message.id, error: engine.UTF8ToString(refused) };
  const outputs = {};
  for (const [format, number] of Object.entries(FormatNumbers)) {
    const start = engine._cellglyph_output(number);
    outputs[format] = engine.HEAPU8.slice(start, start + engine._cellglyph_output_size(number));
  }
  return {
    id: message.id, at: message.at, name: pictureName, width: pictureSize[0], height: pictureSize[1], outputs,
    milliseconds: Math.round(performance.now() - started),
  };
}

let queue = Promise.resolve();
self.onmessage = (event) => {
  queue = queue.then(() => handle(event.data)).then(
    (answer) => self.postMessage(answer),
    (failure) => self.postMessage({ id: event.data.id, error: `The engine failed: ${failure}` }));
};
