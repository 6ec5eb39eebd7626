// The page served from its site folder on 127.0.0.1, as any static server would serve it, and
// opened in Debian's headless Chromium (WebGL 2 on SwiftShader) through puppeteer-core: shared by
// the page's tests (drive_page.cjs) and its benchmark (bench/web_frames.cjs).
'use strict';
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const kTypes = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream',
};

function serve(site) {
  const root = path.resolve(site);
  const server = http.createServer((request, response) => {
    const wanted = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, wanted === '/' ? 'index.html' : wanted);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Resolves once the page's game has drawn its first frame.
function firstFrameDrawn(page) {
  return page.waitForFunction(() => window.Module && Module.chronocellPage.firstFrameAt !== null,
    { timeout: 60000, polling: 10 });
}

// The page loaded and drawing: {page, consoleLines, close()}. Every console message and page
// error is kept in consoleLines.
async function openPage(site) {
  const server = await serve(site);
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: 'new',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--autoplay-policy=no-user-gesture-required', '--window-size=1000,900'],
  });
  const close = async () => {
    await browser.close();
    server.close();
  };
  try {
    const page = await browser.newPage();
    const consoleLines = [];
    await page.setViewport({ width: 1000, height: 900 });
    page.on('console', (message) => consoleLines.push({ type: message.type(), text: message.text() }));
    page.on('pageerror', (error) => consoleLines.push({ type: 'pageerror', text: String(error) }));
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await firstFrameDrawn(page);
    return { page, consoleLines, close };
  } catch (error) {
    await close();
    throw error;
  }
}

module.exports = { openPage, firstFrameDrawn };
