// The twelve example projects through the page as a user opens them: the
// file input, 計算, then 保存 and 書き込み.  The report must equal the
// desktop's, character for character; the saved file the example, byte for
// byte; the written Gouryu.txt what the desktop's report command appends; and
// the sizing table what it prints.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawnSync } = require('node:child_process');
const { launch, openPage, examples, root } = require('./browser');

const names = fs.readdirSync(examples).filter((f) => f.endsWith('.vor')).sort();
const reportCommand = process.env.MIRUKANA_REPORT || path.join(root, 'build', 'bin', 'mirukana-report');

// What the desktop's Write appends for the project: its report command's
// --append into an empty file.  Null when the desktop build is not there.
function desktopWrite(vor) {
  if (!fs.existsSync(reportCommand)) return null;
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'mirukana-write-'));
  const file = path.join(dir, 'Gouryu.txt');
  try {
    // Exit status 0 for O.K, 1 for NO; 2 is trouble.
    const run = spawnSync(reportCommand, ['--append', file, vor]);
    assert.ok(run.status === 0 || run.status === 1, String(run.stderr));
    return fs.readFileSync(file);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

test('examples: open, 計算, report, save and write as the desktop', async (t) => {
  assert.strictEqual(names.length, 12);
  const chromium = await launch();
  t.after(() => chromium.close());
  for (const name of names) {
    await t.test(name, async () => {
      const vor = path.join(examples, name);
      const { page, errors } = await openPage(chromium.browser);
      const input = await page.$('#open-file');
      await input.uploadFile(vor);
      await page.waitForSelector('body[data-opened]');
      await page.click('#cmd-run');

      const expected = fs.readFileSync(vor.replace(/\.vor$/, '.report.txt'), 'utf8');
      assert.strictEqual(await page.$eval('#report-text', (e) => e.textContent), expected);
      // The drawn pages hold the report's lines (the printout shortens only
      // the sewage part) and show the verdict as the results do.
      const shown = await page.$eval('#report', (e) => !e.hidden);
      assert.ok(shown, 'report shown');
      const verdict = await page.$eval('#Form26-verdict', (e) => e.textContent);
      assert.ok(expected.includes(verdict), verdict);
      const magenta = await page.$$eval('.page .line.no', (lines) => lines.map((l) => l.textContent));
      assert.strictEqual(magenta.length, verdict === '∴ NO' ? 1 : 0);

      const saved = await chromium.downloadBy(page, '#cmd-save');
      assert.strictEqual(saved.name, name);
      assert.ok(saved.bytes.equals(fs.readFileSync(vor)), 'saved .vor differs from the example');

      const written = await chromium.downloadBy(page, '#cmd-write');
      assert.strictEqual(written.name, 'Gouryu.txt');
      const desktop = desktopWrite(vor);
      if (desktop) assert.ok(written.bytes.equals(desktop), 'Gouryu.txt differs from the desktop\'s');
      // The sizing table, cell for cell what the report command prints.
      await page.click('#sizing-cmd');
      const sizes = await page.$$eval('#sizing-table tbody tr',
        (rows) => rows.map((r) => Array.from(r.cells, (c) => c.textContent).join('\t') + '\n').join(''));
      if (fs.existsSync(reportCommand)) {
        assert.strictEqual(sizes, spawnSync(reportCommand, ['--sizes', vor], { encoding: 'utf8' }).stdout);
      }
      assert.deepStrictEqual(errors, []);
      await page.close();
    });
  }
});
