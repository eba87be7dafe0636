#include "tool/view/view_page.h"

namespace scenario {

namespace {

// The script keeps the stretch shown and the cursor; the server draws.
// Every text outside ASCII is a JavaScript escape, so the page's bytes are
// the same whatever code page the tool is built in.
constexpr std::string_view kPage = R"page(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>scenario_tool view</title>
<style>
  body { margin: 0; font: 14px "DejaVu Sans", Verdana, Arial, sans-serif; color: #222; background: #f3f3f3; }
  header { display: flex; gap: 16px; align-items: center; padding: 8px 16px; background: #fff; border-bottom: 1px solid #ddd; }
  header h1 { font-size: 18px; margin: 0; }
  #status { padding: 2px 8px; border-radius: 4px; background: #e3f1e3; color: #1b5e20; }
  #status.stale { background: #fde7e7; color: #b71c1c; font-weight: bold; }
  button { font: inherit; padding: 3px 10px; }
  #help { color: #666; font-size: 12px; }
  main { display: grid; grid-template-columns: minmax(0, 1fr) 430px; gap: 12px; padding: 12px; }
  #plot { position: relative; background: #fff; border: 1px solid #ddd; cursor: crosshair; user-select: none; }
  #plot.dragging { cursor: grabbing; }
  #picture svg { display: block; width: 100%; height: auto; }
  #picture.stale { opacity: 0.45; filter: grayscale(1); }
  #cursor { position: absolute; top: 0; bottom: 0; width: 0; border-left: 1px solid #b03a2e; pointer-events: none; display: none; }
  #empty { padding: 40px; color: #666; }
  aside { display: flex; flex-direction: column; gap: 12px; min-width: 0; }
  .card { background: #fff; border: 1px solid #ddd; padding: 8px 10px; }
  .card h2 { font-size: 14px; margin: 0 0 6px; }
  #readout { display: grid; grid-template-columns: auto 1fr; gap: 2px 10px; }
  #readout dt { color: #666; }
  #readout dd { margin: 0; font-weight: bold; overflow-wrap: anywhere; }
  #diagnostics { list-style: none; margin: 0; padding: 0; max-height: 220px; overflow: auto; font-size: 12px; }
  #diagnostics li { padding: 2px 0; border-bottom: 1px solid #eee; }
  .error { color: #b71c1c; } .warning { color: #a15c00; } .note { color: #555; }
  #timetable { border-collapse: collapse; width: 100%; font-size: 12px; }
  #timetable th, #timetable td { padding: 1px 4px; text-align: right; white-space: nowrap; }
  #timetable th:first-child, #timetable td:first-child { text-align: left; }
  #timetable tr.missed td { color: #c62828; font-weight: bold; }
  #timetable tr.pass td { color: #777; }
  .timetable-box { max-height: 520px; overflow: auto; }
</style>
</head>
<body>
<header>
  <h1 id="title">scenario</h1>
  <span id="status">loading</span>
  <button id="whole" title="0 or Home">whole line</button>
  <span id="stretch"></span>
  <span id="help">wheel or + and - zoom, drag or the arrow keys move along the line</span>
</header>
<main>
  <section id="plot"><div id="picture"></div><div id="cursor"></div></section>
  <aside>
    <div class="card"><h2>under the cursor</h2>
      <dl id="readout">
        <dt>position</dt><dd id="r-position">-</dd>
        <dt>kilometre</dt><dd id="r-kilometre">-</dd>
        <dt>gradient</dt><dd id="r-gradient">-</dd>
        <dt>line limit</dt><dd id="r-limit">-</dd>
        <dt>fastest speed</dt><dd id="r-speed">-</dd>
        <dt>time of the run</dt><dd id="r-time">-</dd>
        <dt>object</dt><dd id="r-object">-</dd>
      </dl>
    </div>
    <div class="card"><h2 id="diagnostics-title">diagnostics</h2><ul id="diagnostics"></ul></div>
    <div class="card timetable-box"><h2>timetable</h2>
      <table id="timetable"><thead><tr><th>station</th><th>km</th><th></th><th>scheduled</th><th>earliest</th><th>margin</th></tr></thead><tbody></tbody></table>
    </div>
  </aside>
</main>
<script>
"use strict";
const $ = (id) => document.getElementById(id);
let state = null;
let view = { from: 0, to: 0 };
let cursorX = null;       // client x of the mouse over the picture
let drag = null;
let drawing = false, drawAgain = false;
let probing = false, probeAgain = false;
window.viewerLoadedAt = Date.now();  // a reload would set it anew

// The stretch shown is kept in the address ("#from=4000&to=4200"), so that
// a reload or a bookmark shows it again.
{
  const wanted = new URLSearchParams(location.hash.slice(1));
  const from = Number(wanted.get("from")), to = Number(wanted.get("to"));
  if (Number.isFinite(from) && Number.isFinite(to) && to > from) view = { from, to };
}

function text(el, value) { el.textContent = value; }
function kmText(m, d) { return (m / 1000).toFixed(d) + " km"; }

function clampView() {
  const end = state ? state.route_end : 0;
  if (end <= 0) return;
  if (!(view.to > view.from)) view = { from: 0, to: end };
  const span = Math.min(Math.max(view.to - view.from, 100), end);
  const from = Math.min(Math.max(view.from, 0), end - span);
  view = { from, to: from + span };
}

function svgBox() {
  const svg = $("picture").querySelector("svg");
  return svg ? svg.getBoundingClientRect() : null;
}

// Metres along the shown stretch at a client x; none off the axis.
function metresAt(clientX) {
  const box = svgBox();
  if (!box || !state) return null;
  const px = (clientX - box.left) * state.width / box.width;
  const t = (px - state.axis_left) / state.axis_width;
  if (t < 0 || t > 1) return null;
  return view.from + t * (view.to - view.from);
}

function metresPerPixel() {
  const box = svgBox();
  return box ? (view.to - view.from) / (box.width * state.axis_width / state.width) : 1;
}

async function loadState() {
  const answer = await fetch("/state", { cache: "no-store" });
  state = await answer.json();
  clampView();
  showState();
  await drawPicture();
  probe();
}

function showState() {
  text($("title"), state.title + "  \u00b7  train " + state.train);
  const status = $("status");
  if (state.current) {
    status.className = "";
    text(status, "up to date (build " + state.version + ")");
  } else {
    status.className = "stale";
    text(status, state.picture ? "out of date: the sources do not compile; the last good picture is shown"
                                : "the sources do not compile yet");
  }
  $("picture").classList.toggle("stale", !state.current);
  const list = $("diagnostics");
  list.replaceChildren();
  for (const d of state.diagnostics) {
    const li = document.createElement("li");
    li.className = d.severity;
    const where = d.file + (d.line ? ":" + d.line + ":" + d.column : "");
    li.textContent = where + ": " + d.severity + ": " + d.message + " [" + d.id + "]";
    list.appendChild(li);
  }
  text($("diagnostics-title"), "diagnostics: " + state.errors + " errors, " + state.warnings +
       " warnings, " + state.notes + " notes");
  const body = $("timetable").tBodies[0];
  body.replaceChildren();
  for (const s of state.stations) {
    const tr = document.createElement("tr");
    tr.className = s.missed ? "missed" : s.stops ? "stop" : "pass";
    const margin = s.margin === null ? "-" : (s.margin > 0 ? "+" : "") + s.margin + " s";
    for (const v of [s.name, (s.kilometre / 1000).toFixed(3), s.stops ? "stop" : "pass",
                     s.scheduled || "-", s.earliest || "-", margin]) {
      const td = document.createElement("td");
      td.textContent = v;
      tr.appendChild(td);
    }
    body.appendChild(tr);
  }
}

// One picture at a time; a change while one is on its way asks again after.
async function drawPicture() {
  if (!state || !state.picture) {
    $("picture").innerHTML = '<p id="empty">no picture: the sources have not compiled yet</p>';
    return;
  }
  if (drawing) { drawAgain = true; return; }
  drawing = true;
  do {
    drawAgain = false;
    const asked = { from: view.from, to: view.to };
    const answer = await fetch("/picture?from=" + asked.from + "&to=" + asked.to, { cache: "no-store" });
    const svg = await answer.text();
    $("picture").innerHTML = svg.slice(svg.indexOf("<svg"));
    $("picture").dataset.version = state.version;
    const whole = asked.from <= 0 && asked.to >= state.route_end;
    text($("stretch"), whole ? "whole line" : kmText(asked.from, 3) + " to " + kmText(asked.to, 3));
    history.replaceState(null, "", whole ? location.pathname
                                         : "#from=" + Math.round(asked.from) + "&to=" + Math.round(asked.to));
  } while (drawAgain);
  drawing = false;
}

function showCursor() {
  const c = $("cursor");
  const m = cursorX === null ? null : metresAt(cursorX);
  if (m === null) { c.style.display = "none"; return; }
  c.style.display = "block";
  c.style.left = (cursorX - $("plot").getBoundingClientRect().left) + "px";
}

async function probe() {
  showCursor();
  const m = cursorX === null ? null : metresAt(cursorX);
  if (m === null || !state || !state.picture) return;
  if (probing) { probeAgain = true; return; }
  probing = true;
  do {
    probeAgain = false;
    const at = metresAt(cursorX);
    if (at === null) break;
    const answer = await fetch("/probe?at=" + at.toFixed(1) + "&tolerance=" +
                               (6 * metresPerPixel()).toFixed(1), { cache: "no-store" });
    const p = await answer.json();
    text($("r-position"), Math.round(p.position) + " m");
    text($("r-kilometre"), p.kilometre === undefined ? "-" : kmText(p.kilometre, 3));
    text($("r-gradient"), p.gradient == null ? "-" : (p.gradient > 0 ? "+" : "") + p.gradient + " \u2030");
    text($("r-limit"), p.limit == null ? "-" : p.limit + " km/h");
    text($("r-speed"), p.speed == null ? "-" : p.speed.toFixed(0) + " km/h");
    text($("r-time"), p.time || "-");
    text($("r-object"), p.object ? p.object.label + "  \u00b7  " + p.object.file + ":" + p.object.line : "-");
  } while (probeAgain);
  probing = false;
}

function zoom(factor, about) {
  if (!state) return;
  const m = about === null ? (view.from + view.to) / 2 : about;
  view = { from: m - (m - view.from) * factor, to: m + (view.to - m) * factor };
  clampView();
  drawPicture().then(probe);
}

function pan(metres) {
  view = { from: view.from + metres, to: view.to + metres };
  clampView();
  drawPicture().then(probe);
}

const plot = $("plot");
plot.addEventListener("wheel", (e) => {
  e.preventDefault();
  zoom(e.deltaY > 0 ? 1.25 : 0.8, metresAt(e.clientX));
}, { passive: false });
plot.addEventListener("mousedown", (e) => {
  drag = { x: e.clientX, from: view.from, to: view.to, perPixel: metresPerPixel() };
  plot.classList.add("dragging");
});
window.addEventListener("mouseup", () => { drag = null; plot.classList.remove("dragging"); });
plot.addEventListener("mousemove", (e) => {
  cursorX = e.clientX;
  if (drag) {
    const shift = -(e.clientX - drag.x) * drag.perPixel;
    view = { from: drag.from + shift, to: drag.to + shift };
    clampView();
    drawPicture();
  }
  probe();
});
plot.addEventListener("mouseleave", () => { cursorX = null; showCursor(); });
$("whole").addEventListener("click", () => { view = { from: 0, to: 0 }; clampView(); drawPicture().then(probe); });
window.addEventListener("keydown", (e) => {
  const span = view.to - view.from;
  if (e.key === "+" || e.key === "=") zoom(0.5, null);
  else if (e.key === "-") zoom(2, null);
  else if (e.key === "ArrowLeft") pan(-span / 5);
  else if (e.key === "ArrowRight") pan(span / 5);
  else if (e.key === "0" || e.key === "Home") { view = { from: 0, to: 0 }; clampView(); drawPicture().then(probe); }
  else return;
  e.preventDefault();
});

// The server says when it has built anew; the page then asks for what changed.
const events = new EventSource("/events");
events.onmessage = (e) => { if (!state || Number(e.data) !== state.version) loadState(); };
loadState();
</script>
</body>
</html>
)page";

}  // namespace

std::string_view view_page() {
    return kPage;
}

}  // namespace scenario
