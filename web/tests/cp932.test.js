// The page decodes .vor files with the browser's own Shift_JIS decoder: every
// character the desktop can save must read back as the desktop reads it.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { launch, openPage } = require('./browser');

test("the browser's decoder reads every savable character as the desktop", async (t) => {
  const chromium = await launch();
  t.after(() => chromium.close());
  const { page } = await openPage(chromium.browser);
  const mismatches = await page.evaluate(async () => {
    const core = await MirukanaCore();
    const decoder = new TextDecoder('shift_jis');
    return Array.from(core.decoderMismatches((bytes) => decoder.decode(bytes)));
  });
  assert.deepStrictEqual(mismatches, []);
});
