// How quickly the page answers, from one run in headless chromium: the time
// from asking for the page to its first frame, and from a key to the frame
// that shows it (the key's event time to the next frame's first draw call,
// noted by a wrapper around WebGL's drawArrays); beside them, where the linux
// build is here, the native game's launch to its first frame on a private
// Xvfb (bench/SwapCounterSdl.cpp preloaded) and its key to frame (a press to
// the window's changed pixels, by scripts/input-latency.py --native). Usage, after building the web
// preset and running its tests once (which install the driver):
//   node bench/page-timing.mjs [KEYS]
import { spawn, spawnSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath } from "node:url";

import { serve } from "../tests/web/site-server.mjs";

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const require = createRequire(path.join(root, "build/web/driver/package.json"));
const puppeteer = require("puppeteer-core");
const keys = Number(process.argv[2] || 20);

const { server } = await serve(path.join(root, "build/web/site"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--enable-unsafe-swiftshader", "--use-angle=swiftshader", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--no-first-run"],
});
const page = await browser.newPage();
await page.setViewport({ width: 800, height: 600 });
await page.evaluateOnNewDocument(() => {
  window.kolvexDraws = [];
  window.kolvexKeys = [];
  const draw = WebGLRenderingContext.prototype.drawArrays;
  WebGLRenderingContext.prototype.drawArrays = function (...args) {
    window.kolvexDraws.push(performance.now());
    return draw.apply(this, args);
  };
  window.addEventListener("keydown", (event) => window.kolvexKeys.push(event.timeStamp), true);
});
await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
await page.waitForFunction(() => window.kolvexDraws.length > 0, { timeout: 30000 });
const firstFrame = await page.evaluate(() => window.kolvexDraws[0]);
await new Promise((done) => setTimeout(done, 1000));
await page.keyboard.press("Escape");
await new Promise((done) => setTimeout(done, 500));
const latencies = [];
for (let i = 0; i < keys; ++i) {
  await page.evaluate(() => { window.kolvexDraws = []; window.kolvexKeys = []; });
  await page.keyboard.press(i % 2 ? "ArrowLeft" : "ArrowRight");
  await page.waitForFunction(() => window.kolvexKeys.length > 0 &&
    window.kolvexDraws.some((t) => t >= window.kolvexKeys[0]), { timeout: 5000 });
  latencies.push(await page.evaluate(() => window.kolvexDraws.find((t) => t >= window.kolvexKeys[0]) - window.kolvexKeys[0]));
  await new Promise((done) => setTimeout(done, 120));
}
latencies.sort((a, b) => a - b);
const frame = await page.evaluate(() => new Promise((done) => {
  const times = [];
  const step = (t) => { times.push(t); if (times.length < 31) requestAnimationFrame(step); else done((times[30] - times[0]) / 30); };
  requestAnimationFrame(step);
}));
console.log(`page: first frame ${firstFrame.toFixed(0)} ms after the request (aim: 2000 ms)`);
console.log(`page: key to frame, median ${latencies[latencies.length >> 1].toFixed(1)} ms, worst ` +
  `${latencies[latencies.length - 1].toFixed(1)} ms over ${keys} keys; an animation frame is ${frame.toFixed(1)} ms`);
await browser.close();
server.close();

// The native game's launch to its first swap, median of five.
const bin = path.join(root, "build/linux/bin");
const counter = path.join(root, "build/linux/bin/libswap_counter_sdl.so");
if (fs.existsSync(path.join(bin, "kolvex")) && fs.existsSync(counter)) {
  const display = ":" + (200 + (process.pid % 50));
  const xvfb = spawn("Xvfb", [display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"], { stdio: "ignore" });
  const socket = `/tmp/.X11-unix/X${display.slice(1)}`;
  while (!fs.existsSync(socket)) await new Promise((done) => setTimeout(done, 50));
  const launches = [];
  for (let i = 0; i < 5; ++i) {
    const record = path.join("/dev/shm", `kolvex-page-timing-${process.pid}`);
    fs.writeFileSync(record, Buffer.alloc(16));
    const start = process.hrtime.bigint();  // CLOCK_MONOTONIC, as the counter's
    const game = spawn(path.join(bin, "kolvex"), [], { cwd: bin, stdio: "ignore",
      env: { ...process.env, DISPLAY: display, LD_PRELOAD: counter, KOLVEX_SWAP_RECORD: record, KOLVEX_SWAP_EXIT: "1" } });
    await new Promise((done) => game.on("exit", done));
    const first = fs.readFileSync(record).readBigUInt64LE(0);
    fs.rmSync(record);
    if (first > 0n) launches.push(Number(first - start) / 1e6);
  }
  xvfb.kill();
  launches.sort((a, b) => a - b);
  if (launches.length) console.log(`native: launch to first frame, median of ${launches.length}: ${launches[launches.length >> 1].toFixed(0)} ms`);
  spawnSync("/usr/bin/python3", [path.join(root, "scripts/input-latency.py"), "--native"], { stdio: "inherit" });
} else {
  console.log("native: not measured (build the linux preset for its figures)");
}
