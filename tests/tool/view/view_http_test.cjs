// What the viewer answers to requests that are not its page's: a plain
// client on a raw socket, so that nothing normalises the path or the Host.
//   node view_http_test.cjs SCENARIO_TOOL
"use strict";
const net = require("net");
const fs = require("fs");
const path = require("path");
const { makeScenario, startViewer, stopViewer } = require("./viewer_process.cjs");

function ask(port, head) {
  return new Promise((resolve) => {
    const socket = net.connect(port, "127.0.0.1", () => socket.write(head));
    let data = "";
    socket.on("data", (d) => {
      data += d;
      // An event stream never ends: its head is enough.
      if (/\r\n\r\n/.test(data) && /text\/event-stream/.test(data)) socket.destroy();
    });
    socket.on("close", () => resolve({ status: Number((/^HTTP\/1\.1 (\d+)/.exec(data) || [])[1] || 0), data, socket }));
    socket.on("error", () => {});
  });
}

function get(port, target, host, method = "GET") {
  const hostLine = host === null ? "" : "Host: " + host + "\r\n";
  return ask(port, method + " " + target + " HTTP/1.1\r\n" + hostLine + "Connection: close\r\n\r\n");
}

async function main() {
  const tool = process.argv[2];
  const folder = makeScenario(tool);
  const { child, port } = await startViewer(tool, folder);
  const own = "127.0.0.1:" + port;
  let failures = 0;
  const rows = [
    // [method, target, host, status]
    ["GET", "/", own, 200],
    ["GET", "/state", "localhost:" + port, 200],
    ["GET", "/state", "LocalHost:" + port, 200],
    ["GET", "/", "evil.example:" + port, 403],        // DNS rebinding
    ["GET", "/", "127.0.0.1:" + (port + 1), 403],      // another port
    ["GET", "/", "127.0.0.1", 403],                    // no port
    ["GET", "/", null, 403],                           // no Host at all
    ["POST", "/", own, 405],
    ["PUT", "/state", own, 405],
    ["DELETE", "/", own, 405],
    ["GET", "/../../etc/passwd", own, 404],
    ["GET", "/%2e%2e/%2e%2e/etc/passwd", own, 404],
    ["GET", "/%2E%2E%2Fetc%2Fpasswd", own, 404],
    ["GET", "/..%5c..%5cwindows%5cwin.ini", own, 404],
    ["GET", "/etc/passwd", own, 404],
    ["GET", "//etc/passwd", own, 404],
    ["GET", "/C:/Windows/win.ini", own, 404],
    ["GET", "/state/../state", own, 404],
    ["GET", "/Alvena_Sorbio_linea.txt", own, 404],     // the sources are not served
    ["GET", "http://" + own + "/etc/passwd", own, 404],
  ];
  for (const [method, target, host, status] of rows) {
    const r = await get(port, target, host, method);
    if (r.status !== status) {
      failures++;
      console.log("FAIL " + method + " " + target + " Host " + host + ": " + r.status + ", wanted " + status);
    }
    if (status === 405 && !/\r\nAllow: GET\r\n/i.test(r.data)) {
      failures++;
      console.log("FAIL " + method + ": no Allow: GET");
    }
  }
  // A bounded number of event streams: the ninth is refused.
  const streams = [];
  for (let i = 0; i < 8; i++) {
    streams.push(await new Promise((resolve) => {
      const s = net.connect(port, "127.0.0.1", () => s.write("GET /events HTTP/1.1\r\nHost: " + own + "\r\n\r\n"));
      s.once("data", (d) => resolve({ s, head: String(d) }));
    }));
  }
  const refused = await get(port, "/events", own);
  if (refused.status !== 503) { failures++; console.log("FAIL ninth stream: " + refused.status); }
  if (!streams.every((x) => /200 OK/.test(x.head))) { failures++; console.log("FAIL a stream was not opened"); }
  for (const x of streams) x.s.destroy();
  // Closed streams free their places at once.
  await new Promise((r) => setTimeout(r, 200));
  const again = await get(port, "/events", own);
  if (again.status !== 200) { failures++; console.log("FAIL stream after closing the others: " + again.status); }
  // A bounded number of connections: idle ones beyond it are closed
  // unanswered, and the server still answers once they go.
  const idle = [];
  for (let i = 0; i < 40; i++) idle.push(net.connect(port, "127.0.0.1"));
  await new Promise((r) => setTimeout(r, 300));
  const closed = idle.filter((s) => s.destroyed || s.readyState !== "open").length;
  if (closed < 8) { failures++; console.log("FAIL only " + closed + " of 40 idle connections closed"); }
  for (const s of idle) s.destroy();
  await new Promise((r) => setTimeout(r, 200));
  const after = await get(port, "/", own);
  if (after.status !== 200) { failures++; console.log("FAIL after the idle connections: " + after.status); }
  // Files gone, or half there, leave the server running.
  fs.rmSync(folder + "/Alvena_Sorbio_linea.txt");
  await new Promise((r) => setTimeout(r, 300));
  const gone = await get(port, "/state", own);
  if (gone.status !== 200 || !/"current":false/.test(gone.data)) { failures++; console.log("FAIL with the line file gone"); }
  try {
    await stopViewer(child);
  } finally {
    fs.rmSync(path.dirname(folder), { recursive: true, force: true });
  }
  console.log(failures === 0 ? "all answers as wanted" : failures + " failures");
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((e) => { console.log("FAIL " + e.message); process.exit(1); });
