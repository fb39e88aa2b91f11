// Files stay on the machine: while the twelve examples and the example
// table are opened, computed, printed and saved (and a table's profile drawn,
// printed and written), the page asks for nothing
// but its own files (file:), the core inside its script (data:) and its
// downloads (blob:); and its Content-Security-Policy refuses a request the
// page would try.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { launch, openPage, examples, root } = require('./browser');

const local = (url) => /^(file|data|blob):/.test(url);

test('no request leaves the machine', async (t) => {
  const chromium = await launch();
  t.after(() => chromium.close());
  const { page, errors, requests } = await openPage(chromium.browser);
  for (const name of fs.readdirSync(examples).filter((f) => f.endsWith('.vor')).sort()) {
    await (await page.$('#open-file')).uploadFile(path.join(examples, name));
    await page.waitForFunction((n) => document.body.dataset.opened === n, {}, name);
    await page.click('#cmd-run');
    await page.pdf();
    await chromium.downloadBy(page, '#cmd-save');
    await chromium.downloadBy(page, '#cmd-write');
  }
  const table = path.join(root, 'tests', 'data', 'network', 'example.mkt');
  await page.click('#tab-network');
  if (await page.evaluate(async () => 'openFile' in (await MirukanaCore()).Network.prototype)) {
    await (await page.$('#net-open-file')).uploadFile(table);
    await page.waitForSelector('body[data-table-opened]');
    await page.click('#net-run');
    await page.pdf();
    await chromium.downloadBy(page, '#net-cmd-save');
    await chromium.downloadBy(page, '#net-csv-out');
    // The profile of a table with levels: drawn, printed, written.
    await (await page.$('#net-open-file')).uploadFile(path.join(root, 'tests', 'data', 'network', 'levels.mkt'));
    await page.waitForSelector('body[data-table-opened="levels.mkt"]');
    await page.click('#net-profile');
    await page.waitForSelector('#profile-sheets svg.sheet');
    await page.evaluate(() => { document.body.dataset.print = 'profile'; });
    await page.pdf();
    await chromium.downloadBy(page, '#profile-svg');
    await chromium.downloadBy(page, '#profile-dxf');
  }
  assert.deepStrictEqual(requests.filter((url) => !local(url)), []);

  // What the page would fetch is refused by its policy, from file:// too.
  const tried = await page.evaluate(() => new Promise((resolve) => {
    document.addEventListener('securitypolicyviolation', (e) => resolve(e.violatedDirective), { once: true });
    fetch('http://127.0.0.1:9/').catch(() => {});
  }));
  assert.strictEqual(tried, 'connect-src');
  assert.deepStrictEqual(errors.filter((e) => !e.includes('Content Security Policy')), []);
});
