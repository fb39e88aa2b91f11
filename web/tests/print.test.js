// Printing (and "save as PDF") gives exactly the report's two A4 pages,
// whether the sewage part ends page 1 or begins page 2.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { launch, openPage, examples, root } = require('./browser');

test('the print is the two report pages', async (t) => {
  const chromium = await launch();
  t.after(() => chromium.close());
  for (const name of ['example_01.vor', 'example_07.vor']) {
    const { page } = await openPage(chromium.browser);
    const input = await page.$('#open-file');
    await input.uploadFile(path.join(examples, name));
    await page.waitForSelector('body[data-opened]');
    await page.click('#cmd-run');
    const pdf = Buffer.from(await page.pdf({ preferCSSPageSize: true })).toString('latin1');
    assert.strictEqual(pdf.match(/\/Type\s*\/Page\b/g).length, 2, name);
    assert.match(pdf, /\/MediaBox \[0 0 59[45]\.\d+ 841\.\d+\]/, 'A4');
    await page.close();
  }
});

// The network table prints on landscape A4 pages, every column within the
// page's width, the column captions repeated at the top of every page.
test('the table prints landscape with every column', async (t) => {
  const chromium = await launch();
  t.after(() => chromium.close());
  const { page } = await openPage(chromium.browser, { view: '#network' });
  const file = path.join(root, 'tests', 'data', 'network', 'example.mkt');
  const lines = fs.readFileSync(file, 'utf8').split('\n');
  const at = lines.indexOf('[segments]');
  const rows = [];
  for (let i = 1; i <= 120; i++) rows.push([String(i), String(i), String(i + 1), ...lines[at + 2].split('\t').slice(3)].join('\t'));
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'mirukana-print-'));
  t.after(() => fs.rmSync(dir, { recursive: true, force: true }));
  fs.writeFileSync(path.join(dir, 'long.mkt'), [...lines.slice(0, at + 2).map((l) => (l.startsWith('outlet=') ? 'outlet=121' : l)), ...rows, ''].join('\n'));
  await (await page.$('#net-open-file')).uploadFile(path.join(dir, 'long.mkt'));
  await page.waitForSelector('body[data-table-opened]');
  await page.evaluate(() => window.dispatchEvent(new Event('beforeprint')));
  const width = await page.$eval('#net-print table', (e) => e.offsetWidth);
  assert.ok(width <= (297 - 16) * 96 / 25.4, `table ${width} px wide`);
  assert.strictEqual(await page.$$eval('#net-print thead tr', (r) => r.length), 2);
  const pdf = Buffer.from(await page.pdf({ preferCSSPageSize: true })).toString('latin1');
  assert.ok(pdf.match(/\/Type\s*\/Page\b/g).length >= 2, 'several pages');
  assert.match(pdf, /\/MediaBox \[0 0 841\.\d+ 59[45]\.\d+\]/, 'A4 landscape');
});
