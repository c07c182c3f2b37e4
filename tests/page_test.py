# SPDX-License-Identifier: MIT
"""The page in headless Chromium: each dialogue of the terminal table, typed into the page, must
leave the transcript a terminal shows, byte for byte, and the exit status apart; once with the
keys (Enter, Ctrl-D, Esc), once with the buttons a touch screen has. Nothing may be fetched.

usage: python3 page_test.py PAGE   (with Selenium for this Python, and chromedriver)
"""
import pathlib, shutil, sys, tempfile
from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait
from quadratic_test import TERMINAL, WASI, check, with_texts

# As root, Chromium runs only without its sandbox; the rest keeps it off the network.
FLAGS = ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
         "--disable-background-networking", "--disable-component-update")


def dialogue(driver, typed, touch):
    element = lambda name: driver.find_element(By.ID, name)
    element("again").click() if touch else element("line").send_keys(Keys.ESCAPE)
    for answer in typed:
        if answer != "\x04":
            element("line").send_keys(answer.rstrip("\n"), Keys.ENTER)
        else:
            element("end").click() if touch else element("line").send_keys(Keys.CONTROL, "d")
    WebDriverWait(driver, 10).until(lambda _: element("transcript").get_attribute("aria-busy") == "false")
    return element("transcript").get_property("textContent").encode(), element("status").text


def main(page):
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium") or ""
    with tempfile.TemporaryDirectory() as profile:
        for flag in FLAGS + ("--user-data-dir=" + profile,):
            options.add_argument(flag)
        driver = webdriver.Chrome(options=options)
        try:
            driver.get(pathlib.Path(page).resolve().as_uri())
            results = [check(f"{typed!r}, {'touch' if touch else 'keys'}", dialogue(driver, typed, touch),
                             (b"ax2 + bx + c\n" + with_texts(WASI, shown), "quadratic exited with status 0."))
                       for touch in (False, True) for typed, shown in TERMINAL]
            fetched = driver.execute_script("return performance.getEntriesByType('resource').length")
            results.append(check("nothing fetched", fetched, 0))
        finally:
            driver.quit()
    print(f"{results.count(True)} passed, {results.count(False)} failed")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
