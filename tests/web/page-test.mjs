// The page's scenarios: the site served on 127.0.0.1, Debian's chromium
// driven headless through the DevTools protocol (puppeteer-core), and the
// canvas judged from its pixels as the native scenarios judge the window's.
// Run by ctest as `node page-test.mjs SCENARIO` with KOLVEX_SITE set; exits
// 77, saying why, where chromium or its WebGL cannot run here.
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";

import { serve } from "./site-server.mjs";

const require = createRequire(path.join(process.env.KOLVEX_DRIVER, "package.json"));
const puppeteer = require("puppeteer-core");
const { PNG } = require("pngjs");

const SITE = process.env.KOLVEX_SITE;
const CHROMIUM = "/usr/bin/chromium";
// Boxes in canvas pixels at 800 x 600, the native scenarios' own.
const MENU_BANNERS = [75, 212, 185, 448];
const WELL = [352, 71, 593, 553];
const NOTICE = [0, 22, 220, 44];
// The help screen's first line, "Kolvex", alone in its rows of the picture.
const HELP_TITLE = [300, 50, 500, 95];

function fail(message) {
  console.error(`FAILED: ${message}`);
  process.exit(1);
}
function check(condition, message) {
  if (!condition) fail(message);
}
function skip(reason) {
  console.log(`skipped: ${reason}`);
  process.exit(77);
}
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

async function open({ folder = SITE, language = "zh-CN", size = { width: 800, height: 600 }, flags = [],
  withoutWebgl = false } = {}) {
  if (!fs.existsSync(CHROMIUM)) skip("Debian's chromium is not installed");
  const { server, requests } = await serve(folder);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "kolvex-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ["--no-sandbox", "--enable-unsafe-swiftshader", "--use-angle=swiftshader", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--no-first-run", "--disable-quic", `--lang=${language}`, ...flags],
  });
  const page = await browser.newPage();
  await page.setViewport(size);
  // The browser's list of languages as a player's settings give it; headless
  // chromium takes its own from the system whatever --lang says.
  await page.evaluateOnNewDocument((tag) => {
    Object.defineProperty(navigator, "languages", { get: () => [tag] });
    Object.defineProperty(navigator, "language", { get: () => tag });
  }, language);
  const errors = [];
  const addresses = [];
  page.on("console", (message) => { if (message.type() === "error") errors.push(message.text()); });
  page.on("pageerror", (error) => errors.push(String(error)));
  page.on("request", (request) => addresses.push(request.url()));
  const address = `http://127.0.0.1:${server.address().port}/`;
  await page.goto(address + "index.html");
  if (!withoutWebgl && (await page.$("#needs"))) skip("this chromium offers the page no WebGL");
  const close = async () => {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { browser, page, errors, requests, addresses, address, close };
}

async function shot(page, name) {
  const bytes = await page.screenshot({ type: "png" });
  fs.writeFileSync(path.join(process.env.KOLVEX_SHOTS || os.tmpdir(), `web-${name}.png`), bytes);
  return PNG.sync.read(bytes);
}

// Share of pixels in box brighter than threshold (anything drawn there).
function litFraction(image, [left, top, right, bottom], threshold = 60) {
  let lit = 0;
  for (let y = top; y < bottom; ++y)
    for (let x = left; x < right; ++x) {
      const i = (y * image.width + x) * 4;
      if (Math.max(image.data[i], image.data[i + 1], image.data[i + 2]) > threshold) ++lit;
    }
  return lit / Math.max(1, (right - left) * (bottom - top));
}

function differs(a, b, box) {
  const [left, top, right, bottom] = box;
  let changed = 0;
  for (let y = top; y < bottom; ++y)
    for (let x = left; x < right; ++x) {
      const i = (y * a.width + x) * 4;
      if (Math.abs(a.data[i] - b.data[i]) + Math.abs(a.data[i + 1] - b.data[i + 1]) > 60) ++changed;
    }
  return changed;
}

// The lowest row of the well's interior with a piece's pixels in it: the
// falling piece's bottom while nothing has landed.
function pieceBottom(image) {
  for (let y = WELL[3] - 8; y >= WELL[1] + 8; --y)
    if (litFraction(image, [WELL[0] + 8, y, WELL[2] - 8, y + 1]) > 0.05) return y;
  return -1;
}

// The well's left wall in its place: a paused game spins the well.
function upright(image) {
  return litFraction(image, [WELL[0] - 20, WELL[1] + 20, WELL[0] - 4, WELL[3] - 20]) > 0.5;
}

async function menuShown(page, timeout = 15000, banners = MENU_BANNERS) {
  const start = Date.now();
  for (;;) {
    const image = await shot(page, "menu");
    if (litFraction(image, banners) > 0.3) return image;
    if (Date.now() - start > timeout) fail("the menu's banners were never drawn");
    await sleep(200);
  }
}

// The page opened and play started from its menu.
async function startPlay() {
  const session = await open();
  await menuShown(session.page);
  await session.page.keyboard.press("Escape");
  await sleep(400);
  return session;
}

// What every scenario holds the page to at its end.
function clean(session) {
  check(session.errors.length === 0, `the console has errors: ${session.errors.join(" | ")}`);
  const away = session.addresses.filter((url) => !url.startsWith(session.address));
  check(away.length === 0, `requests left 127.0.0.1: ${away.join(" ")}`);
}

const scenarios = {
  async menu() {
    const session = await open();
    await menuShown(session.page);
    check((await session.page.title()) === "Kolvex", "the page's title is not Kolvex");
    clean(session);
    await session.close();
  },
  async play() {
    const session = await startPlay();
    const { page } = session;
    const playing = await shot(page, "play");
    check(litFraction(playing, MENU_BANNERS) < 0.2, "the menu is still shown after Esc");
    await page.keyboard.press("ArrowLeft");
    await sleep(150);
    const moved = await shot(page, "moved");
    check(differs(playing, moved, WELL) > 20, "Left did not move the piece");
    await page.keyboard.press("ArrowUp");
    await sleep(150);
    const turned = await shot(page, "turned");
    check(differs(moved, turned, WELL) > 20, "Up did not turn the piece");
    const floor = [WELL[0], WELL[3] - 120, WELL[2], WELL[3]];
    const empty = litFraction(turned, floor);
    for (let i = 0; i < 5; ++i) await page.keyboard.press("Space");
    await sleep(400);
    const filled = litFraction(await shot(page, "dropped"), floor);
    check(filled > empty + 0.1, `the well did not fill: ${empty.toFixed(2)} -> ${filled.toFixed(2)}`);
    // A clip was queued once keys had let the page sound.
    const clips = await page.evaluate(() => Module.kolvexClipsQueued || 0);
    check(clips > 0, "no clip was queued after the keys");
    const audio = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state);
    check(audio === "running", `the page's audio is ${audio}, not running, after the keys`);
    clean(session);
    await session.close();
  },
  async sound_notice() {
    const session = await startPlay();
    const { page } = session;
    const quiet = litFraction(await shot(page, "sound-on"), NOTICE);
    await page.keyboard.press("m");
    await sleep(400);
    const shown = litFraction(await shot(page, "sound-off"), NOTICE);
    check(shown > quiet + 0.02, `the notice is not shown: ${quiet.toFixed(3)} -> ${shown.toFixed(3)}`);
    clean(session);
    await session.close();
  },
  async help() {
    const session = await open();
    const { page } = session;
    await menuShown(page);
    for (const key of ["ArrowDown", "ArrowDown", "Enter"]) await page.keyboard.press(key);
    await sleep(500);
    const help = await shot(page, "help");
    check(litFraction(help, MENU_BANNERS) < 0.2, "the menu is still shown after choosing help");
    const title = litFraction(help, HELP_TITLE);
    // The line's ink: about 1.4 % of its box; none where the line is missing.
    check(title > 0.005, `the help screen's title is not drawn (${title.toFixed(4)} of its box lit)`);
    clean(session);
    await session.close();
  },
  // The picture keeps 4:3 on every pixel the page has: a page wider than 4:3
  // shows it whole between black bars, one at two device pixels a point draws
  // it on all of them (not stretched, not in a corner). F11 then asks the
  // browser for full screen on the canvas.
  async full_screen() {
    const layouts = [
      { name: "wide", size: { width: 1200, height: 600 }, bar: 200, drawable: "1200 x 600" },
      { name: "dense", size: { width: 800, height: 600, deviceScaleFactor: 2 }, bar: 0, drawable: "1600 x 1200" },
    ];
    for (const { name, size, bar, drawable } of layouts) {
      const session = await open({ size });
      const { page } = session;
      const scale = size.deviceScaleFactor || 1;
      const banners = MENU_BANNERS.map((edge, i) => scale * edge + (i % 2 === 0 ? bar : 0));
      const image = await menuShown(page, 15000, banners);
      const drawn = (await page.evaluate(() => [Module.canvas.width, Module.canvas.height])).join(" x ");
      check(drawn === drawable, `${name}: the canvas draws ${drawn} pixels, not ${drawable}`);
      if (bar > 0) {
        check(litFraction(image, [0, 0, bar, size.height], 20) === 0, `${name}: something is drawn left of the 4:3 picture`);
        check(litFraction(image, [size.width - bar, 0, size.width, size.height], 20) === 0,
          `${name}: something is drawn right of the 4:3 picture`);
      }
      // Held as a player holds it: the browser grants full screen to the key's
      // release, the first event after the frame that acted on the press.
      await page.keyboard.press("F11", { delay: 100 });
      await sleep(500);
      const full = await page.evaluate(() => document.fullscreenElement && document.fullscreenElement.id);
      check(full === "canvas", `${name}: F11 did not put the canvas in full screen (${full})`);
      clean(session);
      await session.close();
    }
  },
  // The page hidden pauses the game, and play goes on once it is back. Two
  // ways a page is hidden: another tab in front (chromium blurs the page,
  // hides it, and stops its animation frames: six seconds away must not
  // count as six seconds of level 1, a step a second); and hidden with the
  // focus kept, as a phone's browser does on switching apps (told here by
  // the visibility event alone, the frames running on).
  async hidden() {
    const session = await startPlay();
    const { page } = session;
    // Opened ahead, since opening a tab takes long enough for gravity steps.
    const other = await session.browser.newPage();
    await page.bringToFront();
    const ways = {
      "another tab": async () => {
        await other.bringToFront();
        check((await page.evaluate(() => document.visibilityState)) === "hidden", "the other tab did not hide the page");
        await sleep(6000);
        return () => page.bringToFront();
      },
      "the focus kept": async () => {
        const tell = (hidden) => page.evaluate((hiding) => {
          Object.defineProperty(document, "hidden", { configurable: true, get: () => hiding });
          Object.defineProperty(document, "visibilityState", { configurable: true, get: () => (hiding ? "hidden" : "visible") });
          document.dispatchEvent(new Event("visibilitychange"));
        }, hidden);
        await tell(true);
        await sleep(3000);
        return () => tell(false);
      },
    };
    for (const [way, hide] of Object.entries(ways)) {
      const before = pieceBottom(await shot(page, "before-hidden"));
      check(before > 0, `${way}: no falling piece in the well`);
      const show = await hide();
      await show();
      await sleep(100);
      const backShot = await shot(page, "back");
      check(upright(backShot), `${way}: the game is still paused once the page is back`);
      const back = pieceBottom(backShot);
      await sleep(2500);
      const later = pieceBottom(await shot(page, "resumed"));
      console.log(`${way}: the piece's bottom at ${before} before, ${back} back, ${later} later`);
      // A cell is 24 pixels: the step a late timer still takes, and one more
      // for the time hiding and showing took.
      check(back - before <= 48, `${way}: the piece fell ${back - before} pixels while the page was hidden`);
      check(later - back >= 24, `${way}: the game did not go on once the page was back (${back} -> ${later})`);
    }
    clean(session);
    await session.close();
  },
  async quit() {
    const session = await open();
    const { page } = session;
    await menuShown(page);
    for (const key of ["ArrowDown", "ArrowDown", "ArrowDown", "Enter"]) await page.keyboard.press(key);
    await page.waitForSelector("#end", { timeout: 5000 }).catch(() => fail("Quit did not show the end picture"));
    const text = await page.$eval("#end", (end) => end.textContent);
    check(text === "游戏结束,刷新页面重新开始", `the end picture says ${text}`);
    clean(session);
    await session.close();
  },
  async german() {
    const session = await open({ language: "de" });
    await menuShown(session.page);
    const { page } = session;
    for (const key of ["ArrowDown", "ArrowDown", "ArrowDown", "Enter"]) await page.keyboard.press(key);
    await page.waitForSelector("#end", { timeout: 5000 }).catch(() => fail("Quit did not show the end picture"));
    const text = await page.$eval("#end", (end) => end.textContent);
    check(text !== "游戏结束,刷新页面重新开始", "the end picture is not in German");
    check(session.requests.includes("/data-de.qv"), "the German pictures were not fetched");
    clean(session);
    await session.close();
  },
  // The native window and the page draw the same records alike, and the
  // page's ticks keep level 7's gravity at the native rate, one step a 10 ms.
  async frames() {
    const native = path.join(process.env.KOLVEX_NATIVE_BIN, "frame_shots");
    if (!fs.existsSync(native)) skip(`${native} is not built: the linux build makes it (./test linux)`);
    const shots = fs.mkdtempSync(path.join(os.tmpdir(), "kolvex-frames-"));
    const drawn = spawnSync("xvfb-run", ["-a", "-s", "-screen 0 1024x768x24 -nolisten tcp", native, shots],
      { cwd: process.env.KOLVEX_NATIVE_BIN, encoding: "utf8", timeout: 60000 });
    check(drawn.status === 0, `the native frames were not drawn: ${drawn.stderr}`);
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "kolvex-site-"));
    fs.cpSync(SITE, folder, { recursive: true });
    fs.cpSync(process.env.KOLVEX_FRAMES, folder, { recursive: true });
    const session = await open({ folder });
    const { page } = session;
    await page.waitForFunction(() => Module.kolvexGravity !== undefined, { timeout: 30000 })
      .catch(() => fail("the page's frames and gravity run did not finish"));
    for (const name of ["menu", "play", "help", "challenge", "credits"]) {
      const encoded = await page.evaluate((scene) => {
        const bytes = Module.kolvexFrames[scene];
        let text = "";
        for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        return btoa(text);
      }, name);
      const ours = Buffer.from(encoded, "base64");
      const theirs = fs.readFileSync(path.join(shots, `${name}.rgba`));
      check(ours.length === theirs.length, `the page's ${name} frame is ${ours.length} bytes, the native ${theirs.length}`);
      let differing = 0;
      let lit = 0;
      for (let i = 0; i < ours.length; i += 4) {
        const d = Math.max(Math.abs(ours[i] - theirs[i]), Math.abs(ours[i + 1] - theirs[i + 1]),
          Math.abs(ours[i + 2] - theirs[i + 2]));
        if (d > 40) ++differing;
        if (Math.max(theirs[i], theirs[i + 1], theirs[i + 2]) > 60) ++lit;
      }
      const share = differing / (ours.length / 4);
      console.log(`${name}: ${(100 * share).toFixed(2)} % of the pixels differ`);
      check(lit > 0.01 * (ours.length / 4), `the native ${name} frame is empty`);
      check(share <= 0.03, `the page's ${name} frame differs from the native one in ${(100 * share).toFixed(1)} % of its pixels`);
    }
    const steps = await page.evaluate(() => Module.kolvexGravity);
    console.log(`level 7: ${steps} gravity steps in a second`);
    check(steps >= 95 && steps <= 105, `level 7's gravity took ${steps} steps in a second, not 100`);
    clean(session);
    await session.close();
    fs.rmSync(folder, { recursive: true, force: true });
    fs.rmSync(shots, { recursive: true, force: true });
  },
  async without_webgl() {
    const session = await open({ flags: ["--disable-webgl"], withoutWebgl: true });
    const line = await session.page.$eval("#needs", (needs) => needs.textContent).catch(() => null);
    check(line === "Kolvex needs WebGL, which this browser does not offer.", `without WebGL the page says ${line}`);
    await session.close();
  },
  async missing_archive() {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "kolvex-site-"));
    fs.cpSync(SITE, folder, { recursive: true });
    fs.rmSync(path.join(folder, "data.qv"));
    const session = await open({ folder });
    await session.page.waitForSelector(".box", { timeout: 15000 }).catch(() => fail("no problem box on the page"));
    const said = session.errors.filter((line) => line.startsWith("kolvex"));
    check(said.length > 0, "the console has no English line about the archive");
    await session.close();
    fs.rmSync(folder, { recursive: true, force: true });
  },
};

const name = process.argv[2];
if (!scenarios[name]) fail(`no scenario ${name}`);
if (spawnSync(CHROMIUM, ["--version"]).status !== 0) skip("Debian's chromium does not start here");
await scenarios[name]();
console.log(`passed: ${name}`);
