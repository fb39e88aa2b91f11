// Printing (and "save as PDF") gives exactly the report's two A4 pages,
// whether the sewage part ends page 1 or begins page 2.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const path = require('node:path');
const { launch, openPage, examples } = require('./browser');

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
