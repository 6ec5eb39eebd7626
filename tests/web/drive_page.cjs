// Plays the page in headless Chromium as a script of steps says, and writes what it saw: the
// page's lines, the browser console, the canvas pictures asked for and the recordings offered.
//
//   NODE_PATH=BUILD/node_modules node drive_page.cjs SITE_DIR STEPS.json OUT_DIR
//
// Steps, in order: {"frames": N} waits for N more of the game's frames; {"key": "Enter",
// "ms": 100} holds a key; {"wheel": -120} turns the wheel over the canvas; {"shot": "name.png"}
// saves the canvas; {"drop": "path", "as": "name"} drops a file on the page; {"click": "#id"};
// {"text": "words", "timeout": ms} waits until the page's lines hold the words; {"sleep": ms};
// {"recordings": N} waits until N recordings are offered; {"reload": true} visits the page anew.
// OUT_DIR/result.json gets {"lines", "console", "firstFrameMs", "frames", "recordings"}, and
// each offered recording is saved as OUT_DIR/<its name>.
'use strict';
// puppeteer-core comes from the build folder, found through NODE_PATH.
const fs = require('node:fs');
const path = require('node:path');
const { openPage, firstFrameDrawn } = require('./page_session.cjs');

const [site, stepsFile, out] = process.argv.slice(2);
const steps = JSON.parse(fs.readFileSync(stepsFile, 'utf8'));
async function waitFrames(page, count, timeout = 60000) {
  const target = (await page.evaluate(() => Module.chronocellPage.frames)) + count;
  await page.waitForFunction((n) => Module.chronocellPage.frames >= n, { timeout, polling: 20 },
    target);
}

async function drop(page, file, name) {
  const bytes = [...fs.readFileSync(file)];
  await page.evaluate((data, fileName) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(data)], fileName));
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, bytes, name);
}

async function run() {
  fs.mkdirSync(out, { recursive: true });
  const started = Date.now();
  const { page, consoleLines, close } = await openPage(site);
  const result = { lines: '', console: consoleLines, recordings: [] };
  try {
    result.firstFrameMs = await page.evaluate(() => Module.chronocellPage.firstFrameAt);
    result.loadMs = Date.now() - started;
    const canvas = await page.$('#canvas');
    for (const step of steps) {
      if (step.frames !== undefined) {
        await waitFrames(page, step.frames);
      } else if (step.key !== undefined) {
        await page.keyboard.down(step.key);
        await new Promise((r) => setTimeout(r, step.ms ?? 80));
        await page.keyboard.up(step.key);
      } else if (step.wheel !== undefined) {
        const box = await canvas.boundingBox();
        await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
        await page.mouse.wheel({ deltaY: step.wheel });
      } else if (step.shot !== undefined) {
        await canvas.screenshot({ path: path.join(out, step.shot) });
      } else if (step.drop !== undefined) {
        await drop(page, step.drop, step.as ?? path.basename(step.drop));
      } else if (step.click !== undefined) {
        await page.click(step.click);
      } else if (step.text !== undefined) {
        await page.waitForFunction((words) => document.getElementById('messages').textContent.includes(words),
          { timeout: step.timeout ?? 60000, polling: 50 }, step.text);
      } else if (step.reload !== undefined) {
        // The next visit: the same browser and storage, a new page.
        await page.reload();
        await firstFrameDrawn(page);
      } else if (step.sleep !== undefined) {
        await new Promise((r) => setTimeout(r, step.sleep));
      } else if (step.recordings !== undefined) {
        await page.waitForFunction((n) => Module.chronocellPage.recordings.length >= n,
          { timeout: step.timeout ?? 30000 }, step.recordings);
      }
    }
    result.lines = await page.evaluate(() => document.getElementById('messages').textContent);
    result.frames = await page.evaluate(() => Module.chronocellPage.frames);
    result.audio = await page.evaluate(() => (Module.chronocellAudio ? { ...Module.chronocellAudio } : null));
    const offered = await page.evaluate(async () => Promise.all(Module.chronocellPage.recordings.map(
      async (r) => ({ name: r.name, bytes: [...new Uint8Array(await (await fetch(r.url)).arrayBuffer())] }))));
    for (const recording of offered) {
      fs.writeFileSync(path.join(out, recording.name), Buffer.from(recording.bytes));
      result.recordings.push(recording.name);
    }
  } finally {
    fs.writeFileSync(path.join(out, 'result.json'), JSON.stringify(result, null, 1));
    await close();
  }
}

run().catch((error) => {
  console.error(`drive_page: ${error.stack || error}`);
  process.exit(1);
});
