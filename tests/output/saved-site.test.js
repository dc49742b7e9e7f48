// Sites saved through the navigation bar save dialog (left by save_win_tests in "saved-site",
// by save_program_tests in "saved-program-site" and by e2e_tests, which drives the program as
// a separate process, in "saved-e2e-site"), in headless Chromium: the page that
// existed before keeps its text and shows the bar, the buttons swap their images on hover,
// every page the save wrote loads, and nothing raises an error. A bar may have end caps around its
// buttons, so the buttons are found by their image names ("main_b1.gif"), not by position.
// Usage: node saved-site.test.js <profile folder> <site folder>...
"use strict";
const fs = require("fs");
const path = require("path");
const { test, check, launch, open, base, run } = require("../web/harness");

const sites = process.argv.slice(3);
const isButton = (src) => /_b\d+(_\w+)?\.\w+$/.test(base(src));

run(async () => {
  const missing = sites.filter((site) => !fs.existsSync(path.join(site, "news.html")));
  if (missing.length || !sites.length) {
    console.log("FAILED no saved site in " + (missing.join(", ") || "(none given)") + " (run the win32 save tests first)");
    console.log("0 passed, 1 failed");
    process.exit(1);
  }
  const browser = await launch(process.argv[2]);
  try {
    for (const site of sites) {
      const label = path.basename(site) + ": ";
      await test(label + "existing page keeps its text and shows the bar", async () => {
        const { page, errors } = await open(browser, site, "news.html");
        check((await page.content()).includes("News of the day"), "the page's own text is gone");
        const images = await page.$$eval("img", (all) => all.map((i) => ({ src: i.src, width: i.naturalWidth })));
        check(images.length >= 2, "expected the bar's buttons, got " + images.length + " images");
        for (const image of images) check(image.width > 0, "image not loaded: " + image.src);
        const buttons = images.filter((i) => isButton(i.src));
        check(buttons.length >= 2, "expected two buttons or more, got " + buttons.length);
        check(base(buttons[0].src) === "main_b1.gif", "first button shows " + base(buttons[0].src));
        check(errors.length === 0, errors.join("; "));
        await page.close();
      });
      await test(label + "buttons swap their images on hover", async () => {
        const { page, errors } = await open(browser, site, "news.html");
        const images = await page.$$("img");
        const sources = async () => (await page.$$eval("img", (all) => all.map((i) => i.src))).map(base);
        const first = (await sources()).findIndex((src) => isButton(src));
        check(first >= 0, "no button image");
        const b = await images[first + 1].boundingBox();
        await page.mouse.move(b.x + b.width / 2, b.y + b.height / 2);
        const over = await sources();
        check(over[first + 1] === "main_b2_over.gif", "hovered button shows " + over[first + 1]);
        check(over[first] === "main_b1.gif", "other button shows " + over[first]);
        await page.mouse.move(b.x + b.width / 2, b.y + b.height + 200);
        const off = await sources();
        check(off[first + 1] === "main_b2.gif", "left button shows " + off[first + 1]);
        check(errors.length === 0, errors.join("; "));
        await page.close();
      });
      await test(label + "every saved page loads cleanly", async () => {
        const pages = fs.readdirSync(site).filter((f) => /\.html?$/i.test(f));
        for (const file of pages) {
          const { page, errors } = await open(browser, site, file);
          check((await page.$$("img")).length >= 2, file + " has no bar");
          check(errors.length === 0, file + ": " + errors.join("; "));
          await page.close();
        }
      });
    }
  } finally {
    await browser.close();
  }
});
