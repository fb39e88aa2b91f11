// A new project typed through the page with real clicks and keys, section
// by section as the desktop screens go: each section first refuses with its
// own message and puts the focus on the input it names, then takes the
// values.  The results are checked by hand, the report against the desktop's
// report command on the file the page saves.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawnSync } = require('node:child_process');
const { launch, openPage, root } = require('./browser');

const reportCommand = process.env.MIRUKANA_REPORT || path.join(root, 'build', 'bin', 'mirukana-report');

test('a new project typed through the page', async (t) => {
  const chromium = await launch();
  t.after(() => chromium.close());
  const { page, errors } = await openPage(chromium.browser);

  const value = (id) => page.$eval('#' + id, (e) => e.value);
  const text = (id) => page.$eval('#' + id, (e) => e.textContent);
  const visible = (id) => page.$eval('#' + id, (e) => !e.closest('[hidden]'));
  async function type(id, keys) {
    await page.click('#' + id, { clickCount: 3 });
    await page.keyboard.type(keys);
  }
  // The message shown and the input holding the focus.
  async function refused(message, focusId) {
    assert.strictEqual(await text('message-text'), message);
    assert.strictEqual(await page.evaluate(() => document.activeElement.id), focusId);
  }

  // Main inputs: 計算 with nothing typed.
  await page.click('#cmd-run');
  await refused('流出係数を入力又は計算してください。', 'Form25-txt_c');

  // Runoff coefficient by land use: two ticked uses with their numbers.
  await page.click('#Form25-opt6');
  assert.ok(await visible('Form16'));
  await page.click('#Form16-cmd1');
  await refused('土地利用形態を入力してください。', 'Form16-txt_t1');
  await page.click('#Form16-chk_k1');
  assert.strictEqual(await value('Form16-txt_t1'), '屋　根');
  await page.click('#Form16-cmd1');
  await refused('流出係数を入力してください。', 'Form16-txt_c1');
  await type('Form16-txt_c1', '0.9');
  await page.keyboard.press('Enter');
  assert.strictEqual(await page.evaluate(() => document.activeElement.id), 'Form16-txt_a1');
  await page.keyboard.type('2000');
  await page.click('#Form16-chk_t2');
  assert.strictEqual(await value('Form16-txt_t2'), '一般市街地');
  await type('Form16-txt_c2', '0.8');
  await type('Form16-txt_a2', '3000');
  await page.click('#Form16-cmd1');
  assert.strictEqual(await value('Form25-txt_c'), '0.84');
  assert.strictEqual(await value('Form25-txt_a'), '5000.00');
  assert.ok(await page.$eval('#Form25-opt6', (e) => e.checked));

  // Main inputs again: I is next.
  await page.click('#cmd-run');
  await refused('降雨強度を入力又は計算してください。', 'Form25-txt_i');

  // Rainfall intensity: no formula (① is chosen for the user), no constant,
  // then the inflow time by slope refused empty, then t typed.
  await page.click('#Form25-opt4');
  assert.ok(await visible('Form12'));
  await page.click('#Form12-cmd1');
  assert.strictEqual(await text('message-text'), '降雨強度式を選択してください。');
  assert.ok(await page.$eval('#Form12-opt1', (e) => e.checked));
  await page.click('#Form12-cmd1');
  await refused('定数ａを入力してください。', 'Form12-txt1');
  await page.keyboard.type('5000');
  await type('Form12-txt2', '40');
  await page.click('#Form12-Option4');
  await page.click('#Form12-Option2');
  await page.click('#Form12-Command4');
  await page.click('#Form13-cmd1');
  await refused('斜面距離をしてください。', 'Form13-txt1');
  await page.click('#Form12-Option3');
  assert.strictEqual(await page.evaluate(() => document.activeElement.id), 'Form12-txt8');
  await page.keyboard.type('10');
  await page.click('#Form12-cmd1');
  assert.strictEqual(await value('Form25-txt_i'), '100.0');
  assert.strictEqual(await page.evaluate(() => document.activeElement.id), 'Form25-lst_s');

  // Planned sewage flow: residential, population refused empty.
  await page.click('#Form25-opt7');
  assert.ok(await page.$eval('#Form28-opt1', (e) => e.checked));
  await page.click('#Form28-cmd1');
  await refused('計画人口を入力してください。', 'Form28-txt_p');
  await page.keyboard.type('1000');
  await type('Form28-txt_q1', '500');
  await page.click('#Form28-cmd1');
  assert.strictEqual(await value('Form25-txt3'), '0.0058');

  // The facility: VP pipe, slope refused empty; then φ200 by keys.
  await page.click('#cmd-run');
  await refused('施設の勾配を入力してください。', 'Form2-txt1');
  await page.keyboard.type('5');
  await page.focus('#Form2-lst_pu');
  for (let i = 0; i < 6; i++) await page.keyboard.press('ArrowDown');
  assert.strictEqual(await page.$eval('#Form2-lst_pu', (e) => e.selectedIndex), 6);
  await page.click('#cmd-run');
  assert.strictEqual(await text('message-text'), '');
  assert.ok(await visible('Form26'));
  // Q1 = C·I·A/360 (A in ha) + P·q/86,400,000 = 0.84·100·0.5/360 + 1000·500/86,400,000.
  assert.strictEqual(await text('Form26-lbl3'), '0.1225');
  const verdict = await text('Form26-verdict');
  assert.match(verdict, /^∴ (O\.K|NO)$/);
  const report = await text('report-text');
  assert.ok(report.includes('勾配 I=5.0‰=5.0/1000'), 'the typed slope in the report');

  // The saved project gives the desktop the same report.
  const saved = await chromium.downloadBy(page, '#cmd-save');
  if (fs.existsSync(reportCommand)) {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'mirukana-typed-'));
    const file = path.join(dir, saved.name);
    fs.writeFileSync(file, saved.bytes);
    const desktop = spawnSync(reportCommand, [file], { encoding: 'utf8' }).stdout;
    fs.rmSync(dir, { recursive: true, force: true });
    assert.strictEqual(report, desktop);
  }

  // A character outside the code page is refused by name, nothing saved.
  await page.click('#Form25-opt6');
  await type('Form16-txt_t3', '鷗');
  await page.click('#cmd-save');
  assert.strictEqual(await text('message-text'),
    '「鷗」はファイルに保存できない文字です（入力「鷗」）。この文字を別の文字に直してから保存してください。');
  assert.deepStrictEqual(errors, []);
});
