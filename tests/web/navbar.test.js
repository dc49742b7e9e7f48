// Navigation bars written by the program, in headless Chromium: rollover images swap on
// hover and click, the current page shows selected, menus open where they belong and close
// again, and no page raises an error.
"use strict";
const { test, check, equal, launch, open: openIn, base, run } = require("./harness");

const pages = process.argv[2];
const open = (browser, file) => openIn(browser, pages, file);

const imageSrc = (page, name) => page.$eval(`img[name="${name}"]`, (i) => i.src);
const box = (page, selector) => page.$eval(selector, (e) => { const r = e.getBoundingClientRect(); return { left: r.left, top: r.top, right: r.right, bottom: r.bottom }; });
const visible = (page, id) => page.$eval("#" + id, (e) => getComputedStyle(e).visibility === "visible");

async function hover(page, selector) {
  const b = await box(page, selector);
  await page.mouse.move((b.left + b.right) / 2, (b.top + b.bottom) / 2);
}

run(async () => {
  const browser = await launch(process.argv[3]);
  try {
    await test("horizontal rollover bar: row with caps, images swap on hover", async () => {
      const { page, errors } = await open(browser, "rollover-h.html");
      const cells = await page.$$eval("table td", (tds) => tds.map((td) => { const r = td.getBoundingClientRect(); return [r.left, r.top]; }));
      equal(cells.length, 5, "cap, three buttons, cap");
      check(cells.every((c) => c[1] === cells[0][1]), "one row");
      check(cells.every((c, i) => i === 0 || c[0] > cells[i - 1][0]), "left to right");
      const srcs = await page.$$eval("table img", (imgs) => imgs.map((i) => i.src.substring(i.src.lastIndexOf("/") + 1)));
      equal(srcs.join(" "), "navh_left.gif navh_b1.gif navh_b2.gif navh_b3.gif navh_right.gif", "image names");
      await hover(page, 'img[name="navh_b2"]');
      equal(base(await imageSrc(page, "navh_b2")), "navh_b2_over.gif", "hovered");
      equal(base(await imageSrc(page, "navh_b1")), "navh_b1.gif", "others stay");
      await page.mouse.move(600, 500);
      equal(base(await imageSrc(page, "navh_b2")), "navh_b2.gif", "left again");
      const hrefs = await page.$$eval("table a", (as) => as.map((a) => a.getAttribute("href")));
      equal(hrefs.join(" "), "js/../rollover-v.html js/../news.html javascript:;", "links relative to the page");
      equal(errors.join("\n"), "", "errors");
    });

    await test("vertical rollover bar: column with caps, current page selected, click keeps nothing stuck", async () => {
      const { page, errors } = await open(browser, "rollover-v.html");
      const rows = await page.$$eval("table img", (imgs) => imgs.map((i) => i.getBoundingClientRect().top));
      equal(rows.length, 5, "cap, three buttons, cap");
      check(rows.every((t, i) => i === 0 || t > rows[i - 1]), "top to bottom");
      equal(base(await imageSrc(page, "navv_b1")), "navv_b1_on.gif", "the current page is selected");
      await hover(page, 'img[name="navv_b1"]');
      equal(base(await imageSrc(page, "navv_b1")), "navv_b1_on.gif", "the selected button ignores hover");
      await hover(page, 'img[name="navv_b3"]');
      equal(base(await imageSrc(page, "navv_b3")), "navv_b3_over.gif", "hovered");
      await page.click('img[name="navv_b3"]');  // a "javascript:;" link: the page stays
      await page.mouse.move(600, 500);
      equal(base(await imageSrc(page, "navv_b3")), "navv_b3.gif", "left again");
      equal(base(await imageSrc(page, "navv_b1")), "navv_b1_on.gif", "still selected");
      equal(errors.join("\n"), "", "errors");
    });

    await test("menus: open below the button, submenu to the right, close again", async () => {
      const { page, errors } = await open(browser, "menu.html");
      check(!(await visible(page, "quormenu_menu_b1")), "closed at first");
      await hover(page, 'img[name="menu_b1"]');
      check(await visible(page, "quormenu_menu_b1"), "the button's menu opens");
      equal(base(await imageSrc(page, "menu_b1")), "menu_b1_over.gif", "button rollover");
      const button = await box(page, 'img[name="menu_b1"]');
      const menu = await box(page, "#quormenu_menu_b1");
      equal(Math.round(menu.left), Math.round(button.left), "menu under the button's left edge");
      equal(Math.round(menu.top), Math.round(button.bottom), "menu below the button");
      const style = await page.$eval("#quormenu_menu_b1", (e) => { const s = getComputedStyle(e); return [s.opacity, s.backgroundColor, s.borderTopWidth]; });
      equal(style.join(" "), "0.9 rgb(240, 240, 240) 1px", "transparency, colour and border");
      const texts = await page.$$eval("#quormenu_menu_b1 a", (as) => as.map((a) => a.textContent));
      equal(texts.join("|"), "Tools|Parts \"all\"", "entries, escaped texts shown as written");
      equal(await page.$$eval("#quormenu_menu_b1 .quormenu-separator", (s) => s.length), 1, "separator");
      check(!(await visible(page, "quormenu_menu_b1_1")), "submenu closed");
      await hover(page, "#menu_b1_1_item");
      check(await visible(page, "quormenu_menu_b1_1"), "submenu opens on its entry");
      const sub = await box(page, "#quormenu_menu_b1_1");
      equal(Math.round(sub.left), Math.round(menu.right), "submenu at the menu's right edge");
      const entry = await box(page, "#menu_b1_1_item");
      equal(Math.round(sub.top), Math.round(entry.top), "submenu level with its entry");
      equal((await page.$$eval("#quormenu_menu_b1_1 a", (as) => as.map((a) => a.textContent))).join("|"), "Hammer|Saw <fine>", "submenu entries");
      await hover(page, "#quormenu_menu_b1_1 a");
      check(await visible(page, "quormenu_menu_b1"), "the chain stays open");
      await hover(page, 'img[name="menu_b2"]');
      check(await visible(page, "quormenu_menu_b2"), "the other button's menu opens");
      check(!(await visible(page, "quormenu_menu_b1")) && !(await visible(page, "quormenu_menu_b1_1")), "the first closes");
      await page.mouse.move(700, 500);
      await page.waitForFunction(() => getComputedStyle(document.getElementById("quormenu_menu_b2")).visibility === "hidden", { timeout: 5000 });
      equal(base(await imageSrc(page, "menu_b2")), "menu_b2.gif", "button back to Off");
      equal(errors.join("\n"), "", "errors");
    });
    await test("vertical menu bar: menus open to the right of their button and unfold", async () => {
      const { page, errors } = await open(browser, "menuv.html");
      const rows = await page.$$eval("table img", (imgs) => imgs.map((i) => i.getBoundingClientRect().top));
      check(rows.length === 2 && rows[1] > rows[0], "one button per row");
      await hover(page, 'img[name="menuv_b2"]');
      check(await visible(page, "quormenu_menuv_b2"), "the button's menu opens");
      const button = await box(page, 'img[name="menuv_b2"]');
      const menu = await box(page, "#quormenu_menuv_b2");
      equal(Math.round(menu.left), Math.round(button.right), "menu at the button's right edge");
      equal(Math.round(menu.top), Math.round(button.top), "menu level with the button");
      await page.waitForFunction(() => document.getElementById("quormenu_menuv_b2").style.clipPath === "", { timeout: 5000 });
      await hover(page, 'img[name="menuv_b1"]');
      // Folded parts take no pointer: the entry is reached once the menu has unfolded.
      await page.waitForFunction(() => document.getElementById("quormenu_menuv_b1").style.clipPath === "", { timeout: 5000 });
      await hover(page, "#menuv_b1_1_item");
      check(await visible(page, "quormenu_menuv_b1_1"), "submenu opens");
      equal(errors.join("\n"), "", "errors");
    });
  } finally {
    await browser.close();
  }
});
