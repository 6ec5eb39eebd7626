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
const { openPage } = require('../tests/web/page_session.cjs');

const [site, secondsText, out] = process.argv.slice(2);
const wantedMs = Number(secondsText) * 1000;
// A run that never ends (the runner dodging every stone) is cut here, and the bench goes on.
const kRunCapMs = 30000;
const kMaxRuns = 10;
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
  const { page, consoleLines, close } = await openPage(site);
  const result = { runs: [], console: consoleLines };
  try {
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
    await close();
  }
}

run().catch((error) => {
  console.error(`web_frames: ${error.stack || error}`);
  process.exit(1);
});
