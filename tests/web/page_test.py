"""The page in a real headless Chromium, driven over the DevTools protocol.

Pictures go in through the page's file input; the downloads are read from
its links. For PNG pictures (8-bit sRGB without a colour profile or gamma,
made here with Pillow, which the browser and libvips decode alike) the
.bin, .col and .prg, and the .asm, .seq and .petmate, must equal
cellglyph-prepare's for the same options; the .png is its own (stored, not
compressed), and must be the screen at 2x.
Then the single file from file://, a file no browser decodes, the layout at
360 and 1280 pixels wide, and the controls by keyboard alone.

With the likeness benchmark's list of pictures, every PNG of it that is
installed is compared too, in mono and in colour; those missing are named.

page_test.py <page folder> <single file> <cellglyph-prepare> [pictures.tsv]
"""
import base64
import contextlib
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

import websocket
from PIL import Image, ImageDraw

CONTROLS = ["picture", "fit", "method", "brightness", "contrast", "colour", "ink",
            "background", "border", "charset", "dialect", "invert", "dirart", "all-glyphs"]
COMPARED = ["bin", "col", "prg", "asm", "seq", "petmate"]


def make_pictures(folder):
    """A wide and a tall picture: gradients, lines and a disc."""
    paths = {}
    for name, size in (("wide", (480, 300)), ("tall", (210, 370))):
        picture = Image.new("RGB", size)
        draw = ImageDraw.Draw(picture)
        width, height = size
        for x in range(0, width, 6):
            draw.line([(x, 0), (width - x, height)], width=3,
                      fill=(x * 255 // width, (x * 7) % 256, 255 - x * 255 // width))
        draw.ellipse([width // 5, height // 6, width * 4 // 5, height * 5 // 6],
                     fill=(210, 130, 40))
        draw.rectangle([0, 0, width // 4, height // 8], fill=(250, 250, 240))
        paths[name] = os.path.join(folder, name + ".png")
        picture.save(paths[name])  # no gAMA, iCCP or sRGB chunk
    paths["broken"] = os.path.join(folder, "broken.png")
    with open(paths["broken"], "wb") as broken:
        broken.write(b"\x89PNG\r\n\x1a\n" + b"not really a picture" * 10)
    return paths


# One row a case: the picture, the page's controls (id: value, True for a
# ticked box), and cellglyph-prepare's options for the same.
CASES = [
    {"picture": "wide", "controls": {}, "options": []},
    {"picture": "wide", "controls": {"colour": True}, "options": ["--colour"]},
    {"picture": "tall", "controls": {"fit": "1", "invert": True, "charset": "1"},
     "options": ["--fit", "contain", "--invert", "--charset", "lower"]},
    {"picture": "tall", "controls": {"colour": True, "background": "6", "dirart": True,
                                     "border": "2", "dialect": "1"},
     "options": ["--colour", "--background", "6", "--dirart", "--border", "2",
                 "--dialect", "acme"]},
    {"picture": "wide", "controls": {"method": "1", "brightness": "30", "fit": "2"},
     "options": ["--method", "diffuse", "--brightness", "30", "--fit", "stretch"]},
    {"picture": "wide", "controls": {"method": "2", "contrast": "-40", "ink": "7"},
     "options": ["--method", "threshold", "--contrast", "-40", "--ink", "7"]},
    {"picture": "tall", "controls": {"all-glyphs": True, "ink": "14", "background": "6"},
     "options": ["--all-glyphs", "--ink", "14", "--background", "6"]},
]


class Browser:
    """Headless Chromium and one page of it, over the DevTools protocol."""

    def __init__(self, profile):
        self.process = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--user-data-dir=" + profile, "--remote-debugging-port=0",
             "--allow-file-access-from-files", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(profile, "DevToolsActivePort")
        deadline = time.monotonic() + 30
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.monotonic() > deadline:
                raise RuntimeError("Chromium did not start")
            time.sleep(0.1)
        with open(port_file) as lines:
            port = lines.readline().strip()
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list") as answer:
            target = next(t for t in json.load(answer) if t["type"] == "page")
        self.socket = websocket.create_connection(target["webSocketDebuggerUrl"], timeout=60)
        self.next_id = 0

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message["result"]

    def run(self, script):
        result = self.call("Runtime.evaluate", expression=script, awaitPromise=True,
                           returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{script[:60]}...: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, script, seconds=30):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = self.run(script)
            if value:
                return value
            time.sleep(0.05)
        raise AssertionError(f"waited in vain for {script}")

    def open(self, url):
        self.call("Page.navigate", url=url)
        self.wait_for("document.readyState === 'complete' && !!document.getElementById('fit')")

    def give_file(self, path):
        document = self.call("DOM.getDocument")
        node = self.call("DOM.querySelector", nodeId=document["root"]["nodeId"],
                         selector="#picture")
        self.call("DOM.setFileInputFiles", nodeId=node["nodeId"], files=[path])

    def key(self, key, code, keycode, text=None):
        for kind in ("keyDown", "keyUp"):
            event = {"type": kind, "key": key, "code": code, "windowsVirtualKeyCode": keycode}
            if text and kind == "keyDown":
                event["text"] = text
            self.call("Input.dispatchKeyEvent", **event)

    def close(self):
        self.socket.close()
        self.process.terminate()
        self.process.wait(timeout=30)


SET_CONTROL = """(() => {
  const element = document.getElementById(%s);
  if (element.type === 'checkbox') element.checked = %s; else element.value = %s;
  element.dispatchEvent(new Event('change', {bubbles: true}));
})()"""

READ_DOWNLOADS = """(async () => {
  const files = {};
  for (const link of document.querySelectorAll('#downloads a')) {
    const bytes = new Uint8Array(await (await fetch(link.href)).arrayBuffer());
    let text = '';
    for (const byte of bytes) text += String.fromCharCode(byte);
    files[link.dataset.format] = [link.download, btoa(text)];
  }
  return files;
})()"""


def results(browser):
    return int(browser.run("document.body.dataset.results"))


def wait_ready(browser, count, seconds=30):
    """Until the page has shown its count-th result and is idle."""
    browser.wait_for(f"document.body.dataset.results === '{count}' && "
                     "document.body.dataset.state === 'ready'", seconds)


def prepare_in_page(browser, url, picture, controls):
    browser.open(url)
    for control, value in controls.items():
        browser.run(SET_CONTROL % (json.dumps(control), json.dumps(value is True),
                                   json.dumps(str(value))))
    browser.give_file(picture)
    wait_ready(browser, 1)
    return {format: (name, base64.b64decode(data))
            for format, (name, data) in browser.run(READ_DOWNLOADS).items()}


def prepare_natively(native, picture, options, folder):
    formats = COMPARED + ["png"]
    outputs = [os.path.join(folder, "native." + format) for format in formats]
    subprocess.run([native, picture, *outputs, *options], check=True, stdout=subprocess.DEVNULL)
    files = {}
    for format, path in zip(formats, outputs):
        with open(path, "rb") as output:
            files[format] = output.read()
    return files


def check_case(browser, url, case, pictures, native, folder):
    page = prepare_in_page(browser, url, pictures[case["picture"]], case["controls"])
    expected = prepare_natively(native, pictures[case["picture"]], case["options"], folder)
    for format in COMPARED:
        name, data = page[format]
        stem = os.path.splitext(os.path.basename(pictures[case["picture"]]))[0]
        assert name == f"{stem}.{format}", f"download named {name}"
        assert data == expected[format], f"{case}: the page's .{format} differs from the program's"
    with open(os.path.join(folder, "page.png"), "wb") as image:
        image.write(page["png"][1])
    with Image.open(os.path.join(folder, "page.png")) as image, \
            Image.open(os.path.join(folder, "native.png")) as program:
        assert image.size == (640, 400), f"{case}: the page's .png is {image.size}"
        same = image.convert("RGB").tobytes() == program.convert("RGB").tobytes()
        assert same, f"{case}: the page's .png shows other pixels than the program's"


def check_broken_picture(browser, url, pictures):
    prepare_in_page(browser, url, pictures["wide"], {})
    shown = browser.run("document.getElementById('screen').src")
    browser.give_file(pictures["broken"])
    browser.wait_for("document.body.dataset.state === 'error'")
    message = browser.run("document.getElementById('status').textContent")
    assert "broken.png" in message and "not a picture" in message, message
    assert browser.run("document.getElementById('screen').src") == shown
    assert results(browser) == 1
    # The settings still apply to the picture before it.
    browser.run(SET_CONTROL % ('"invert"', "true", '"1"'))
    browser.wait_for("document.body.dataset.results === '2'")


LAYOUT = """(() => {
  const width = document.documentElement.clientWidth;
  const out = [];
  const scrolled = document.documentElement.scrollWidth;
  if (scrolled > width) out.push('page ' + scrolled);
  for (const element of document.querySelectorAll('input, select, #downloads a, #screen')) {
    const box = element.getBoundingClientRect();
    const outside = box.width === 0 || box.left < 0 || box.right > width;
    if (outside) out.push(element.id || element.textContent);
  }
  return out;
})()"""


def check_layout(browser, url, pictures):
    prepare_in_page(browser, url, pictures["wide"], {})
    for width in (360, 1280):
        browser.call("Emulation.setDeviceMetricsOverride", width=width, height=900,
                     deviceScaleFactor=1, mobile=False)
        assert browser.run(LAYOUT) == [], f"at {width} pixels: {browser.run(LAYOUT)}"
    browser.call("Emulation.clearDeviceMetricsOverride")


def check_keyboard(browser, url, pictures):
    prepare_in_page(browser, url, pictures["wide"], {})
    unlabelled = browser.run("[...document.querySelectorAll('input, select')]"
                             ".filter(e => e.labels.length === 0).map(e => e.id)")
    assert unlabelled == [], f"without a label: {unlabelled}"
    reached = []
    for _ in range(40):
        browser.key("Tab", "Tab", 9)
        focused = browser.run("document.activeElement.id || document.activeElement.dataset.format")
        if focused and focused not in reached:
            reached.append(focused)
    missing = [c for c in CONTROLS + ["prg", "seq", "petmate", "png", "bin", "col", "asm"]
               if c not in reached]
    assert not missing, f"not reached by Tab: {missing}"
    # Used by keyboard: the method by arrow, the invert box by space.
    browser.run("document.getElementById('method').focus()")
    browser.key("ArrowDown", "ArrowDown", 40)
    assert browser.run("document.getElementById('method').value") == "1"
    wait_ready(browser, 2)
    browser.run("document.getElementById('invert').focus()")
    browser.key(" ", "Space", 32, text=" ")
    assert browser.run("document.getElementById('invert').checked") is True
    wait_ready(browser, 3)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def likeness_pictures(list_file):
    """The installed PNGs of the likeness benchmark's list, by name, and the missing."""
    installed, missing = {}, []
    with open(list_file) as rows:
        for row in rows:
            fields = row.rstrip("\n").split("\t")
            if row.startswith("#") or len(fields) < 3 or not fields[2].endswith(".png"):
                continue
            if os.path.exists(fields[2]):
                installed[fields[0]] = fields[2]
            else:
                missing.append(f"{fields[0]} ({fields[1]})")
    return installed, missing


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


@contextlib.contextmanager
def page_session(page_folder):
    """The page served on 127.0.0.1, a Chromium with a fresh profile, and a
    folder to work in: (browser, the page's address, folder), all ended after."""
    work = tempfile.mkdtemp(prefix="cellglyph-page-")
    server = serve(page_folder)
    browser = Browser(os.path.join(work, "profile"))
    try:
        yield browser, f"http://127.0.0.1:{server.server_address[1]}/index.html", work
    finally:
        browser.close()
        server.shutdown()
        shutil.rmtree(work, ignore_errors=True)


def main():
    page_folder, single_file, native = sys.argv[1:4]
    with page_session(page_folder) as (browser, served, work):
        pictures = make_pictures(work)
        for case in CASES:
            check_case(browser, served, case, pictures, native, work)
        single = "file://" + os.path.abspath(single_file)
        for case in CASES[:2]:
            check_case(browser, single, case, pictures, native, work)
        compared = 0
        if len(sys.argv) > 4:
            installed, missing = likeness_pictures(sys.argv[4])
            pictures.update(installed)
            for name in installed:
                for case in CASES[:2]:
                    check_case(browser, served, {**case, "picture": name}, pictures, native,
                               work)
            compared = len(installed)
            if missing:
                print("likeness pictures not installed, not compared:", ", ".join(missing))
        check_broken_picture(browser, served, pictures)
        check_layout(browser, served, pictures)
        check_keyboard(browser, served, pictures)
        print(f"the page: {len(CASES)} cases served and 2 from file:// equal to the program's"
              f" bytes, and {compared} likeness PNGs in mono and colour; a broken picture, the"
              " layout and the keyboard checked")


if __name__ == "__main__":
    main()
