// Start to first usable page from file://: the time from navigation until
// the core is loaded and the inputs are shown (the page stamps it on
// <body data-ready>), median of five loads; and the page's weight.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { launch, openPage, site } = require('./browser');

test('the page is usable soon after it is opened from disk', async (t) => {
  const chromium = await launch();
  t.after(() => chromium.close());
  const times = [];
  for (let i = 0; i < 5; i++) {
    const { page, errors } = await openPage(chromium.browser);
    if (i === 0) {
      // Every input of the page is a field of the core's record.
      const unknown = await page.evaluate(async () => {
        const project = new (await MirukanaCore()).Project();
        return Array.from(document.querySelectorAll('[data-field]'), (e) => e.dataset.field)
          .filter((field) => project.get(field) === undefined);
      });
      assert.deepStrictEqual(unknown, []);
    }
    times.push(await page.$eval('body', (e) => Number(e.dataset.ready)));
    assert.ok(await page.$eval('#Form25-txt_c', (e) => !e.closest('[hidden]')));
    assert.deepStrictEqual(errors, []);
    await page.close();
  }
  times.sort((a, b) => a - b);
  const weight = fs.readdirSync(site).reduce((sum, f) => sum + fs.statSync(path.join(site, f)).size, 0);
  t.diagnostic(`first usable page: median ${times[2]} ms (${times.join(', ')}); page weight ${Math.round(weight / 1024)} KiB`);
  // The goal is one second on the development machine; the bound here
  // leaves room for a busy machine.
  assert.ok(times[2] < 3000, `median ${times[2]} ms`);
});
