// The page's frame times while a game is played, in headless Chromium on SwiftShader: each of the
// game's frames stamps performance.now() as it starts, and the stamps taken between a run's
// Enter and its summary line are written out. The runner, left alone, meets a stone within a few
// seconds, so runs follow one another until SECONDS of play are stamped.
//
//   NODE_PATH=BUILD/node_modules node web_frames.cjs SITE_DIR SECONDS OUT.json
//
// OUT.json gets {"runs": [[ms, ...], ...], "lines", "console"}: one list of stamps per run.
'use strict';
// puppeteer-core comes from the page's build folder, found through NODE_PATH.
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const [site, secondsText, out] = process.argv.slice(2);
const wantedMs = Number(secondsText) * 1000;
// A run that never ends (the runner dodging every stone) is cut here, and the bench goes on.
const kRunCapMs = 30000;
const kMaxRuns = 10;
const kTypes = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream',
};

function serve() {
  const root = path.resolve(site);
  const server = http.createServer((request, response) => {
    const wanted = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, wanted === '/' ? 'index.html' : wanted);
    if (!file.startsWith(root) || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Wraps the call the game makes at the start of every frame, and notes when a game's summary
// line ("game N: ...") reaches the page, so a run's stamps stop at its end screen.
function stampFrames() {
  const page = Module.chronocellPage;
  const take = page.takeDrop;
  const bench = { stamps: [], endedAt: [] };
  page.takeDrop = () => {
    bench.stamps.push(performance.now());
    return take.call(page);
  };
  const messages = document.getElementById('messages');
  let summaries = 0;
  new MutationObserver(() => {
    const seen = (messages.textContent.match(/^game \d+:/gm) || []).length;
    for (; summaries < seen; ++summaries) {
      bench.endedAt.push(performance.now());
    }
  }).observe(messages, { childList: true, characterData: true, subtree: true });
  window.chronocellBench = bench;
}

async function run() {
  const server = await serve();
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: 'new',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--autoplay-policy=no-user-gesture-required', '--window-size=1000,900'],
  });
  const consoleLines = [];
  const result = { runs: [], console: consoleLines };
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1000, height: 900 });
    page.on('console', (message) => consoleLines.push({ type: message.type(), text: message.text() }));
    page.on('pageerror', (error) => consoleLines.push({ type: 'pageerror', text: String(error) }));
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await page.waitForFunction(() => window.Module && Module.chronocellPage.firstFrameAt !== null,
      { timeout: 60000, polling: 10 });
    await page.evaluate(stampFrames);
    let stampedMs = 0;
    while (stampedMs < wantedMs && result.runs.length < kMaxRuns) {
      const ended = await page.evaluate(() => window.chronocellBench.endedAt.length);
      const startedAt = await page.evaluate(() => performance.now());
      await page.keyboard.down('Enter');
      await new Promise((r) => setTimeout(r, 80));
      await page.keyboard.up('Enter');
      await page.waitForFunction((n) => window.chronocellBench.endedAt.length > n,
        { timeout: kRunCapMs, polling: 50 }, ended).catch(() => {});
      const stamps = await page.evaluate((from, n) => {
        const bench = window.chronocellBench;
        const until = bench.endedAt[n] ?? performance.now();
        return bench.stamps.filter((t) => t >= from && t <= until);
      }, startedAt, ended);
      result.runs.push(stamps);
      stampedMs += stamps.length > 1 ? stamps[stamps.length - 1] - stamps[0] : 0;
      if (stamps.length < 2) {
        break;
      }
    }
    result.lines = await page.evaluate(() => document.getElementById('messages').textContent);
  } finally {
    fs.writeFileSync(out, JSON.stringify(result));
    await browser.close();
    server.close();
  }
}

run().catch((error) => {
  console.error(`web_frames: ${error.stack || error}`);
  process.exit(1);
});
