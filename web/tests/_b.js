'use strict';
const { launch, openPage } = require('./browser');
(async () => {
  const chromium = await launch();
  const { page } = await openPage(chromium.browser, { view: '#network' });
  await (await page.$('#net-open-file')).uploadFile('/tmp/webprof/large.mkt');
  await page.waitForSelector('body[data-table-opened]');
  const runs = await page.evaluate(async () => {
    const out = [];
    const box = document.getElementById('net-5-length');
    for (let k = 0; k < 7; k++) {
      const start = performance.now();
      box.value = String(60 + k);
      box.dispatchEvent(new Event('input', { bubbles: true }));
      const sync = performance.now() - start;
      await new Promise((resolve) => requestAnimationFrame(() => { out.push([sync, performance.now() - start]); setTimeout(resolve); }));
      const all = performance.now() - start;
      out[out.length - 1].push(all);
    }
    return out.map((r) => r.map((x) => Math.round(x)).join('/'));
  });
  console.log(runs.join(' '));
  await chromium.close();
})();
