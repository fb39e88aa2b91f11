// The page as a place to work: the two documents as views named by the
// URL's fragment, the results brought into view, undo and redo of both
// documents, nothing lost when the page is left or reloaded.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const path = require('node:path');
const { launch, openPage, examples } = require('./browser');

const visible = (page, id) => page.$eval('#' + id, (e) => !e.closest('[hidden]'));
const box = (page, id) => page.$eval('#' + id, (e) => e.getBoundingClientRect().toJSON());

test('two documents, the report in view, undo, and edits kept', async (t) => {
  const chromium = await launch();
  t.after(() => chromium.close());
  const { page, errors } = await openPage(chromium.browser);
  await page.setViewport({ width: 1024, height: 768 });

  // A fresh page refuses nothing before anything is typed.
  assert.strictEqual(await page.$eval('#message', (e) => e.hidden), true);
  await page.click('#tab-network');
  assert.strictEqual(await page.evaluate(() => location.hash), '#network');
  assert.ok(await visible(page, 'net-table') && !(await visible(page, 'Form25')));
  assert.strictEqual(await page.$eval('#net-summary', (e) => e.className), '');
  await page.goBack();
  assert.ok(await visible(page, 'Form25') && !(await visible(page, 'net-table')));

  // The results in view after 計算: scrolled to on a narrow window, beside
  // the inputs on a wide one; an edit withdraws them at once.
  await (await page.$('#open-file')).uploadFile(path.join(examples, 'example_01.vor'));
  await page.waitForSelector('body[data-opened]');
  await page.click('#cmd-run');
  let result = await box(page, 'Form26');
  assert.ok(result.top >= 0 && result.bottom <= 768, JSON.stringify(result));
  await page.setViewport({ width: 1600, height: 1000 });
  await page.click('#cmd-run');
  result = await box(page, 'report-page1');
  assert.ok(result.left > (await box(page, 'Form25')).right && result.top < 300, JSON.stringify(result));
  await page.click('#Form25-txt_c', { clickCount: 3 });
  await page.keyboard.type('0.5');
  assert.ok(!(await visible(page, 'report')) && !(await visible(page, 'Form26')));

  // Undo and redo: the typed value is one step; so is Open.
  await page.keyboard.down('Control');
  await page.keyboard.press('z');
  assert.strictEqual(await page.$eval('#Form25-txt_c', (e) => e.value), '0.33');
  await page.keyboard.press('y');
  await page.keyboard.up('Control');
  assert.strictEqual(await page.$eval('#Form25-txt_c', (e) => e.value), '0.5');

  // The table's undo: a row added, its name typed, both undone and redone.
  await page.click('#tab-network');
  await page.click('#net-add');
  await page.keyboard.type('A-1');
  await page.click('#net-undo');
  assert.strictEqual(await page.$eval('#net-0-name', (e) => e.value), '');
  await page.click('#net-undo');
  assert.strictEqual(await page.$$eval('#net-table tbody tr', (r) => r.length), 0);
  await page.keyboard.down('Control');
  await page.keyboard.press('y');
  await page.keyboard.press('y');
  await page.keyboard.up('Control');
  assert.strictEqual(await page.$eval('#net-0-name', (e) => e.value), 'A-1');

  // Leaving asks first; the next page offers both documents back.
  const asked = new Promise((resolve) => page.once('dialog', (d) => { resolve(d.type()); d.accept(); }));
  await new Promise((r) => setTimeout(r, 400));  // the kept copy is written a moment after an edit
  await page.close({ runBeforeUnload: true });
  assert.strictEqual(await asked, 'beforeunload');
  const again = await openPage(chromium.browser, { kept: true });
  const offer = await again.page.$eval('#restore-text', (e) => e.textContent);
  assert.match(offer, /流量計算書「example_01\.vor」.*流量計算表（新規）/);
  await again.page.click('#restore-ok');
  assert.strictEqual(await again.page.$eval('#Form25-txt_c', (e) => e.value), '0.5');
  assert.strictEqual(await again.page.$eval('#net-0-name', (e) => e.value), 'A-1');
  assert.deepStrictEqual([...errors, ...again.errors], []);
});
