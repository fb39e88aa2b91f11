'use strict';
const fs = require('node:fs');
const { launch, openPage } = require('./browser');
(async () => {
  const chromium = await launch();
  const { page } = await openPage(chromium.browser, { view: '#network' });
  await (await page.$('#net-open-file')).uploadFile('/tmp/webprof/large.mkt');
  await page.waitForSelector('body[data-table-opened]');
  await page.tracing.start({ path: '/tmp/webprof/trace.json' });
  await page.evaluate(async () => {
    const box = document.getElementById('net-5-length');
    for (let k = 0; k < 7; k++) {
      box.value = String(60 + k);
      box.dispatchEvent(new Event('input', { bubbles: true }));
      await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
    }
  });
  await page.tracing.stop();
  const events = JSON.parse(fs.readFileSync('/tmp/webprof/trace.json')).traceEvents;
  const sum = new Map();
  for (const e of events) if (e.ph === 'X' && e.dur) sum.set(e.name, (sum.get(e.name) || 0) + e.dur);
  console.log([...sum].sort((a, b) => b[1] - a[1]).slice(0, 25).map(([k, v]) => (v / 7000).toFixed(1) + 'ms ' + k).join('\n'));
  await chromium.close();
})();
