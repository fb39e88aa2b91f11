// Headless Chromium on the built page (build-web/site/index.html, from
// file://), with downloads captured into a temporary folder.
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const root = path.resolve(__dirname, '..', '..');
const site = path.resolve(process.env.MIRUKANA_WEB_SITE || path.join(root, 'build-web', 'site'));
const pageUrl = 'file://' + path.join(site, 'index.html');
const examples = path.join(root, 'tests', 'data', 'examples');

// The browser, started as this closed network needs it: no first-run,
// background or update traffic, a profile of its own.
async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'mirukana-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    timeout: 120000,  // a busy 2-core machine starts it slowly
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-dev-shm-usage',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--allow-file-access-from-files'],
  });
  const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'mirukana-downloads-'));
  const session = await browser.target().createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allowAndName', downloadPath: downloads, eventsEnabled: true });
  const begun = new Map();
  const waiting = new Map();
  session.on('Browser.downloadWillBegin', (e) => begun.set(e.guid, e.suggestedFilename));
  session.on('Browser.downloadProgress', (e) => {
    if (e.state === 'completed' && waiting.has('next')) {
      const resolve = waiting.get('next');
      waiting.delete('next');
      resolve({ name: begun.get(e.guid), bytes: fs.readFileSync(path.join(downloads, e.guid)) });
    }
  });
  // Clicks `selector` and resolves with the file it downloads.
  async function downloadBy(page, selector) {
    const done = new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error('no download from ' + selector)), 60000);
      waiting.set('next', (file) => { clearTimeout(timer); resolve(file); });
    });
    await page.click(selector);
    return done;
  }
  async function close() {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
    fs.rmSync(downloads, { recursive: true, force: true });
  }
  return { browser, downloadBy, close };
}

// A fresh page on the web edition, ready for input; collects page errors.
// The pages of one browser share the browser's storage: unless `kept`, what
// an earlier page kept there is cleared first, so that no offer to restore
// it stands in the way.
async function openPage(browser, { kept = false, view = '' } = {}) {
  const page = await browser.newPage();
  page.setDefaultTimeout(60000);  // a busy machine is slow, not wrong
  const errors = [];
  const requests = [];  // every URL the page asks for, from its own load on
  page.on('request', (r) => requests.push(r.url()));
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  if (!kept) await page.evaluateOnNewDocument(() => localStorage.clear());
  await page.goto(pageUrl + view);
  await page.waitForSelector('body[data-ready]');
  return { page, errors, requests };
}

module.exports = { launch, openPage, pageUrl, site, examples, root };
