// The viewer in a real browser: headless Chromium driven by puppeteer-core.
//   node view_browser_test.cjs SCENARIO_TOOL [SCREENSHOT.png]
// Exits 77 (skipped) with one line saying why when Chromium or
// puppeteer-core is missing, unless SCENARIO_REQUIRE_BROWSER is set.
"use strict";
const fs = require("fs");
const os = require("os");
const path = require("path");
const { execFileSync } = require("child_process");
const { makeScenario, startViewer, stopViewer, saveByRename } = require("./viewer_process.cjs");

const kChromium = process.env.SCENARIO_CHROMIUM || "/usr/bin/chromium";

function skip(why) {
  if (process.env.SCENARIO_REQUIRE_BROWSER) {
    console.log("FAIL " + why);
    process.exit(1);
  }
  console.log("skipped: " + why);
  process.exit(77);
}

// puppeteer-core from SCENARIO_NODE_MODULES, the build tree's node/ folder
// (given as the third argument) or the global npm folder.
function puppeteer(buildNodeModules) {
  const places = [process.env.SCENARIO_NODE_MODULES, buildNodeModules];
  try {
    places.push(execFileSync("npm", ["root", "-g"], { encoding: "utf8" }).trim());
  } catch (e) { /* no npm */ }
  for (const place of places.filter(Boolean)) {
    try { return require(path.resolve(place, "puppeteer-core")); } catch (e) { /* next */ }
  }
  return null;
}

let failures = 0;
function check(ok, what) {
  if (!ok) { failures++; console.log("FAIL " + what); }
}

// The client x of route position `m` in the picture as shown now.
async function clientX(page, m) {
  return page.evaluate((m) => {
    const box = document.querySelector("#picture svg").getBoundingClientRect();
    const from = Number(new URLSearchParams(location.hash.slice(1)).get("from") || 0);
    const to = Number(new URLSearchParams(location.hash.slice(1)).get("to") || 0);
    return box.left + (120 + (m - from) / (to - from) * 1640) * box.width / 1800;
  }, m);
}

async function readout(page) {
  return page.evaluate(() => Object.fromEntries(
    ["position", "kilometre", "gradient", "limit", "speed", "time", "object"].map(
      (k) => [k, document.getElementById("r-" + k).textContent])));
}

async function waitFor(page, fn, arg, ms) {
  const start = Date.now();
  await page.waitForFunction(fn, { timeout: ms, polling: 20 }, arg);
  return Date.now() - start;
}

async function main() {
  const [tool, screenshot, nodeModules] = process.argv.slice(2);
  if (!fs.existsSync(kChromium)) skip("no Chromium at " + kChromium + " (Debian package chromium)");
  const pptr = puppeteer(nodeModules);
  if (!pptr) skip("no puppeteer-core (npm install puppeteer-core)");

  const folder = makeScenario(tool);
  const treno = path.join(folder, "Alvena_Sorbio_4271-.txt");
  const original = fs.readFileSync(treno, "latin1");
  const names = original.split(/\r?\n/).filter((l) => /^stazione,/.test(l)).map((l) => l.split(",").pop().trim());
  check(names.length === 29, "the train file has " + names.length + " stations, not 29");
  const { child, port } = await startViewer(tool, folder);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "scenario_chromium_"));
  const browser = await pptr.launch({
    executablePath: kChromium,
    headless: true,
    userDataDir: profile,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1500, height: 1000 });
    // VALMEDRA's stretch, 4000 m to 4200 m: a pixel is a fraction of a metre.
    await page.goto("http://127.0.0.1:" + port + "/#from=4000&to=4200");
    await page.waitForSelector("#picture svg");
    await waitFor(page, () => document.querySelectorAll("#timetable tbody tr").length === 29, null, 5000);

    // Every panel, and the 29 stations in the timetable and in the whole picture.
    const panels = await page.evaluate(() => [...document.querySelectorAll("#picture svg text")].map((t) => t.textContent));
    for (const title of ["plan", "stations", "tunnels, name boards", "gradient", "speed limit", "time", "signals"])
      check(panels.includes(title), "no panel '" + title + "'");
    const rows = await page.evaluate(() => [...document.querySelectorAll("#timetable tbody tr td:first-child")].map((t) => t.textContent));
    check(JSON.stringify(rows) === JSON.stringify(names), "timetable stations: " + rows.join(", "));
    const whole = await (await fetch("http://127.0.0.1:" + port + "/picture")).text();
    for (const name of names) check(whole.includes(">" + name + "<"), "no station " + name + " in the picture");

    // The cursor at VALMEDRA, 4100 m: its kilometre, the line limit and the
    // time the fastest run passes there (as `run` prints it).
    await page.mouse.move(await clientX(page, 4100), 700);
    await waitFor(page, () => document.getElementById("r-position").textContent === "4100 m", null, 3000);
    const at = await readout(page);
    check(at.kilometre === "1.850 km", "kilometre " + at.kilometre);
    check(at.limit === "75 km/h", "limit " + at.limit);
    check(at.time === "17:46:44", "time " + at.time);
    check(/^station VALMEDRA at 4100 m .*Alvena_Sorbio_4271-\.txt:48$/.test(at.object), "object " + at.object);

    // A new departure from the first station, saved by renaming: the time
    // panel and the readout move within a second, no reload, zoom kept.
    const loadedAt = await page.evaluate(() => window.viewerLoadedAt);
    const before = await page.evaluate(() => document.querySelector("#picture").innerHTML);
    const later = original.replace(/^(stazione,\s+0,.*?)17,43,/m, "$117,53,");
    check(later !== original, "the first station's departure was not found");
    const saved = Date.now();
    saveByRename(treno, later);
    await waitFor(page, () => document.getElementById("r-time").textContent === "17:56:44", null, 1000)
      .catch(() => check(false, "the time did not move within 1 s"));
    const took = Date.now() - saved;
    const after = await page.evaluate(() => ({
      picture: document.querySelector("#picture").innerHTML,
      stretch: document.getElementById("stretch").textContent,
      loadedAt: window.viewerLoadedAt,
      first: document.querySelector("#timetable tbody tr td:nth-child(4)").textContent,
    }));
    check(after.picture !== before, "the time panel did not change");
    check(after.loadedAt === loadedAt, "the page was reloaded");
    check(after.stretch === "4.000 km to 4.200 km", "zoom not kept: " + after.stretch);
    check(after.first === "17:53:00", "scheduled departure " + after.first);
    console.log("save to update: " + took + " ms");

    // A broken station: its diagnostic, over the last picture marked out of date.
    saveByRename(treno, later.replace(/^stazione,   15650,/m, "stazione, 9999999,"));
    await waitFor(page, () => document.getElementById("status").className === "stale", null, 1000)
      .catch(() => check(false, "the broken file was not noticed within 1 s"));
    const broken = await page.evaluate(() => ({
      diagnostics: document.getElementById("diagnostics").textContent,
      picture: !!document.querySelector("#picture.stale svg"),
    }));
    check(/Alvena_Sorbio_4271-\.txt:51:11: error: code 15: position beyond the end of the route/.test(broken.diagnostics),
          "diagnostics: " + broken.diagnostics);
    check(broken.picture, "the last good picture is not kept, marked out of date");

    // Mended: the picture is current again.
    saveByRename(treno, original);
    await waitFor(page, () => document.getElementById("status").className === "" &&
                  document.getElementById("r-time").textContent === "17:46:44", null, 1000)
      .catch(() => check(false, "the mended file did not bring the picture back"));

    if (screenshot) {
      const shot = await browser.newPage();
      await shot.setViewport({ width: 1600, height: 1000 });
      await shot.goto("http://127.0.0.1:" + port + "/#from=0&to=30000");
      await shot.waitForSelector("#picture svg");
      await waitFor(shot, () => document.querySelectorAll("#timetable tbody tr").length === 29, null, 5000);
      await shot.mouse.move(await clientX(shot, 15650), 500);
      await waitFor(shot, () => document.getElementById("r-object").textContent.startsWith("station"), null, 3000);
      await shot.screenshot({ path: screenshot });
    }
  } finally {
    await browser.close();
    await stopViewer(child);
    fs.rmSync(profile, { recursive: true, force: true });
    fs.rmSync(path.dirname(folder), { recursive: true, force: true });
  }
  console.log(failures === 0 ? "the viewer works in the browser" : failures + " failures");
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((e) => { console.log("FAIL " + e.stack); process.exit(1); });
