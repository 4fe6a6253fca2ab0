"""Takes the README's screenshot of the page in headless Chromium, 1280
pixels wide, with astronaut.png from Debian's python3-skimage (NASA, public
domain) in colour.

page_screenshot.py <page folder> <screenshot.png>
"""
import base64
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "web"))
from page_test import SET_CONTROL, page_session  # noqa: E402

PICTURE = "/usr/lib/python3/dist-packages/skimage/data/astronaut.png"

page_folder, screenshot = sys.argv[1:3]
with page_session(page_folder) as (browser, served, work):
    browser.call("Emulation.setDeviceMetricsOverride", width=1280, height=860,
                 deviceScaleFactor=1, mobile=False)
    browser.open(served)
    browser.run(SET_CONTROL % ('"colour"', "true", '"1"'))
    browser.give_file(PICTURE)
    browser.wait_for("document.body.dataset.results === '1'")
    shot = browser.call("Page.captureScreenshot", format="png")
    with open(screenshot, "wb") as image:
        image.write(base64.b64decode(shot["data"]))
