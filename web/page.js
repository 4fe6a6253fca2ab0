// The page: takes a picture, hands it and the settings to the engine's
// worker, and shows what comes back. The newest change wins: while the
// worker is busy only the latest request waits, and a result for settings
// that have changed since is dropped.

const ColourNames = ['black', 'white', 'red', 'cyan', 'purple', 'green', 'blue', 'yellow',
  'orange', 'brown', 'light red', 'dark grey', 'grey', 'light green', 'light blue', 'light grey'];
const Formats = ['prg', 'seq', 'petmate', 'png', 'bin', 'col', 'asm'];
const SettingIds = ['fit', 'method', 'invert', 'dirart', 'all-glyphs', 'brightness', 'contrast',
  'colour', 'ink', 'background', 'border', 'charset', 'dialect'];

const $ = (id) => document.getElementById(id);
const status = $('status');
let worker = null;
let busy = false;
let waiting = null;     // the newest request not yet sent
let requested = 0;      // number of the newest request
let pictureName = 'screen';
let havePicture = false;
let results = 0;
const links = new Map();  // format: object URL

function say(text, kind = 'info') {
  status.textContent = text;
  status.dataset.kind = kind;
}

function fillColourChoices() {
  for (const select of document.querySelectorAll('select.colours')) {
    select.add(new Option('from the picture', '-1'));
    ColourNames.forEach((name, number) => select.add(new Option(`${number} ${name}`, String(number))));
  }
}

function readSettings() {
  const value = (id) => {
    const element = $(id);
    return element.type === 'checkbox' ? (element.checked ? 1 : 0) : Number(element.value);
  };
  return SettingIds.map(value);
}

// The pairs the engine turns down cannot be chosen: colour goes with the
// glyphs method only, and one ink does not go with colour.
function settleControls() {
  const glyphs = $('method').value === '0';
  if (!glyphs) $('colour').checked = false;
  $('colour').disabled = !glyphs;
  if ($('colour').checked) $('ink').value = '-1';
  $('ink').disabled = $('colour').checked;
  $('brightness-value').textContent = $('brightness').value;
  $('contrast-value').textContent = $('contrast').value;
}

function send(message) {
  busy = true;
  document.body.dataset.state = 'working';
  worker.postMessage(message);
}

function request(message) {
  message.id = ++requested;
  message.at = performance.now();
  if (busy) {
    // A picture waiting is kept even when settings come after it.
    waiting = waiting && waiting.file && !message.file
      ? { ...message, file: waiting.file, at: waiting.at } : message;
  } else {
    send(message);
  }
}

function redraw() {
  settleControls();
  if (havePicture || busy) request({ settings: readSettings() });
}

function takePicture(file) {
  if (!file) return;
  say(`Reading ${file.name || 'the pasted picture'}...`);
  request({ file, settings: readSettings() });
}

function showResult(message) {
  const stem = message.name;
  for (const format of Formats) {
    const bytes = message.outputs[format];
    const link = document.querySelector(`a[data-format="${format}"]`);
    if (links.has(format)) URL.revokeObjectURL(links.get(format));
    const url = URL.createObjectURL(new Blob([bytes], {
      type: format === 'png' ? 'image/png' : 'application/octet-stream' }));
    links.set(format, url);
    link.href = url;
    link.download = `${stem}.${format}`;
  }
  const screen = $('screen');
  screen.src = links.get('png');
  screen.hidden = false;
  // How long the newest request took, from the change to the screen shown.
  document.body.dataset.took = String(Math.round(performance.now() - message.at));
  document.body.dataset.results = String(++results);
  say(`${stem}: the screen of ${message.width} x ${message.height} pixels, made in ${message.milliseconds} ms.`);
}

function onWorkerMessage(event) {
  const message = event.data;
  busy = false;
  if (message.error) {
    // The previous result, if any, stays.
    say(message.error, 'error');
    document.body.dataset.state = 'error';
  } else {
    havePicture = true;
    pictureName = message.name;
    if (message.id === requested) {
      showResult(message);
      document.body.dataset.state = 'ready';
    }
  }
  if (waiting) {
    const next = waiting;
    waiting = null;
    send(next);
  }
}

// The worker's script, with the engine, is in the page itself in its
// single-file form; otherwise it is a file beside the page.
function startWorker() {
  const inline = document.getElementById('engine-worker');
  if (inline) {
    const blob = new Blob([inline.textContent], { type: 'text/javascript' });
    worker = new Worker(URL.createObjectURL(blob));
  } else {
    worker = new Worker('engine_worker.js');
  }
  worker.onmessage = onWorkerMessage;
  worker.onerror = () => {
    busy = false;
    say('The engine stopped; reload the page.', 'error');
    document.body.dataset.state = 'error';
  };
}

function pictureFrom(items) {
  for (const item of items || []) {
    const file = item.kind === 'file' ? item.getAsFile() : item;
    if (file && file.type.startsWith('image/')) return file;
  }
  return items && items[0] instanceof File ? items[0] : null;
}

function listen() {
  $('picture').addEventListener('change', (event) => takePicture(event.target.files[0]));
  $('settings').addEventListener('input', redraw);
  $('settings').addEventListener('change', redraw);
  $('settings').addEventListener('submit', (event) => event.preventDefault());
  document.addEventListener('paste', (event) => takePicture(pictureFrom(event.clipboardData.items)));
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dropping');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dropping');
    takePicture(pictureFrom(event.dataTransfer.files));
  });
}

fillColourChoices();
settleControls();
startWorker();
listen();
