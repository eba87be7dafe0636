// Starts `scenario_tool view` on a fresh copy of the embedded scenario and
// ends it with SIGINT, as Ctrl+C would: shared by the viewer's tests.
"use strict";
const { spawn, execFileSync } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");

// The embedded scenario in a folder "mine" of a new temporary folder, as an
// author's first one would be; the viewer runs in the folder above, so that
// the files are named "mine/...".
function makeScenario(tool) {
  const above = fs.mkdtempSync(path.join(os.tmpdir(), "scenario_view_"));
  const folder = path.join(above, "mine");
  execFileSync(tool, ["init", folder], { stdio: "ignore" });
  return folder;
}

// Resolves with the child and its port once it prints its address.
function startViewer(tool, folder) {
  return new Promise((resolve, reject) => {
    const child = spawn(path.resolve(tool), ["view", path.basename(folder)],
                        { cwd: path.dirname(folder), stdio: ["ignore", "pipe", "pipe"] });
    let out = "";
    let err = "";
    const timer = setTimeout(() => reject(new Error("no address within 10 s: " + out + err)), 10000);
    child.stdout.on("data", (d) => {
      out += d;
      const m = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(out);
      if (m) {
        clearTimeout(timer);
        resolve({ child, port: Number(m[1]), url: m[0] });
      }
    });
    child.stderr.on("data", (d) => { err += d; child.errText = err; });
    child.on("exit", (code) => reject(new Error("view ended with " + code + ": " + out + err)));
  });
}

// Ctrl+C: the viewer must end by itself, with status 0.
function stopViewer(child) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => {
      child.kill("SIGKILL");
      reject(new Error("view did not end on SIGINT" + (child.errText ? ": " + child.errText : "")));
    }, 5000);
    child.removeAllListeners("exit");
    child.on("exit", (code) => {
      clearTimeout(timer);
      code === 0 ? resolve()
                 : reject(new Error("view ended with " + code + " on SIGINT: " + (child.errText || "")));
    });
    child.kill("SIGINT");
  });
}

// Writes a file as editors that save by renaming do: a new file beside it,
// renamed over the old one.
function saveByRename(file, text) {
  const temp = file + ".save~";
  fs.writeFileSync(temp, text, "latin1");
  fs.renameSync(temp, file);
}

module.exports = { makeScenario, startViewer, stopViewer, saveByRename };
