// What the browser tests share: headless Chromium from the machine's package, named test cases
// that count passes and failures, checks, and pages opened with their errors collected.
"use strict";
const path = require("path");
const { pathToFileURL } = require("url");
const puppeteer = require("puppeteer-core");

const results = { passed: 0, failed: 0 };

async function test(name, body) {
  try {
    await body();
    results.passed++;
    console.log("ok     " + name);
  } catch (error) {
    results.failed++;
    console.log("FAILED " + name + "\n       " + String((error && error.stack) || error).split("\n").join("\n       "));
  }
}

function check(condition, message) {
  if (!condition) throw new Error(message);
}
function equal(actual, expected, message) {
  if (actual !== expected) throw new Error(message + ": expected " + JSON.stringify(expected) + ", got " + JSON.stringify(actual));
}

function launch(profileFolder) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    userDataDir: profileFolder,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
}

// Opens a page from a folder and collects its console errors, page errors and failed requests.
async function open(browser, folder, file) {
  const page = await browser.newPage();
  const errors = [];
  page.on("console", (m) => { if (m.type() === "error") errors.push("console: " + m.text()); });
  page.on("pageerror", (e) => errors.push("page: " + e.message));
  page.on("requestfailed", (r) => errors.push("request: " + r.url()));
  await page.goto(pathToFileURL(path.join(folder, file)).href, { waitUntil: "load" });
  return { page, errors };
}

// The file name of an image source.
const base = (src) => src.substring(src.lastIndexOf("/") + 1);

// Runs the cases, prints "N passed, N failed" last and exits non-zero on any failure.
function run(cases) {
  cases()
    .then(() => {
      console.log(`${results.passed} passed, ${results.failed} failed`);
      process.exit(results.failed ? 1 : 0);
    })
    .catch((error) => {
      console.log(String((error && error.stack) || error));
      console.log(`${results.passed} passed, ${results.failed + 1} failed`);
      process.exit(1);
    });
}

module.exports = { test, check, equal, launch, open, base, run };
