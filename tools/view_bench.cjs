// The viewer's update after a save, in headless Chromium: the time from a
// file renamed into place to the page showing the new build's picture,
// median of repeated saves, on the embedded route and on the 1000000 m
// synthetic one; and, on the long route, what a zoomed picture weighs and
// how long the page waits for it and for the cursor's readout.
//   node tools/view_bench.cjs SCENARIO_TOOL SYNTHETIC_SOURCES [SAVES] [NODE_MODULES]
// tools/bench.sh runs it. Reports only; never fails on a time.
"use strict";
const fs = require("fs");
const os = require("os");
const path = require("path");
const { execFileSync } = require("child_process");
const { makeScenario, startViewer, stopViewer, saveByRename } =
  require("../tests/tool/view/viewer_process.cjs");

const [tool, sources, savesArg, nodeModules] = process.argv.slice(2);
const kSaves = Number(savesArg || 21);
const kChromium = process.env.SCENARIO_CHROMIUM || "/usr/bin/chromium";

function puppeteer() {
  const places = [process.env.SCENARIO_NODE_MODULES, nodeModules];
  try { places.push(execFileSync("npm", ["root", "-g"], { encoding: "utf8" }).trim()); } catch (e) { /* none */ }
  for (const place of places.filter(Boolean)) {
    try { return require(path.resolve(place, "puppeteer-core")); } catch (e) { /* next */ }
  }
  return null;
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// The first station's minute of departure, set to `minute`.
function withDeparture(text, minute) {
  const lines = text.split("\n");
  const i = lines.findIndex((l) => /^stazione,/i.test(l));
  const fields = lines[i].split(",");
  fields[15] = String(minute).padStart(3, " ");
  lines[i] = fields.join(",");
  return lines.join("\n");
}

async function saves(browser, port, folder, hash) {
  const treno = path.join(folder, "Alvena_Sorbio_4271-.txt");
  const original = fs.readFileSync(treno, "latin1");
  const page = await browser.newPage();
  await page.setViewport({ width: 1600, height: 1000 });
  await page.goto("http://127.0.0.1:" + port + "/" + hash);
  await page.waitForSelector("#picture svg", { timeout: 30000 });
  await page.evaluate(() => {
    new MutationObserver(() => { window.updatedAt = Date.now(); })
      .observe(document.getElementById("picture"), { attributes: true, attributeFilter: ["data-version"] });
  });
  const times = [];
  for (let i = 0; i < kSaves; i++) {
    const version = await page.evaluate(() => Number(document.getElementById("picture").dataset.version));
    const saved = Date.now();
    saveByRename(treno, withDeparture(original, i % 2 === 0 ? 10 : 20));
    await page.waitForFunction((v) => Number(document.getElementById("picture").dataset.version) > v,
                               { timeout: 10000, polling: 5 }, version);
    times.push((await page.evaluate(() => window.updatedAt)) - saved);
    await sleep(120);
  }
  saveByRename(treno, original);
  await page.close();
  return times;
}

async function timed(url, count) {
  const times = [];
  let bytes = 0;
  for (let i = 0; i < count; i++) {
    const start = process.hrtime.bigint();
    bytes = (await (await fetch(url)).text()).length;
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
  }
  return { ms: median(times), bytes };
}

async function route(browser, name, folder, hash, long) {
  const { child, port } = await startViewer(tool, folder);
  try {
    const t = await saves(browser, port, folder, hash);
    console.log(`viewer, ${name}: save to the page's update ${median(t)} ms (median of ${t.length} saves;` +
                ` fastest ${Math.min(...t)}, slowest ${Math.max(...t)}; target 500 ms)`);
    if (long) {
      const base = "http://127.0.0.1:" + port;
      const whole = await timed(base + "/picture", 5);
      const zoomed = await timed(base + "/picture?from=500000&to=502000", 21);
      const probe = await timed(base + "/probe?at=501000&tolerance=10", 21);
      console.log(`  picture of the whole route ${(whole.bytes / 1024).toFixed(0)} KiB in ${whole.ms.toFixed(1)} ms;` +
                  ` of 2 km of it ${(zoomed.bytes / 1024).toFixed(0)} KiB in ${zoomed.ms.toFixed(1)} ms;` +
                  ` the cursor's readout in ${probe.ms.toFixed(2)} ms (medians)`);
    }
  } finally {
    await stopViewer(child);
  }
}

async function main() {
  const pptr = puppeteer();
  if (!pptr || !fs.existsSync(kChromium)) {
    console.log("viewer: not measured (needs Chromium and puppeteer-core)");
    return;
  }
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "scenario_chromium_"));
  const browser = await pptr.launch({
    executablePath: kChromium, headless: true, userDataDir: profile,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  const embedded = makeScenario(tool);
  const long = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "scenario_view_")), "mine");
  fs.mkdirSync(long);
  execFileSync(sources, [long]);
  try {
    await route(browser, "embedded 101 km route", embedded, "", false);
    await route(browser, "1000000 m route, whole", long, "", false);
    await route(browser, "1000000 m route, 2 km zoomed", long, "#from=500000&to=502000", true);
  } finally {
    await browser.close();
    for (const f of [embedded, long, profile]) fs.rmSync(f === profile ? f : path.dirname(f), { recursive: true, force: true });
  }
}

main().catch((e) => { console.log("viewer: " + e.message); process.exit(0); });
