'use strict';
const { launch, openPage } = require('./browser');
(async () => {
  const chromium = await launch();
  const { page } = await openPage(chromium.browser, { view: '#network' });
  await (await page.$('#net-open-file')).uploadFile('/tmp/webprof/large.mkt');
  await page.waitForSelector('body[data-table-opened]');
  const cdp = await page.target().createCDPSession();
  await cdp.send('Profiler.enable');
  await cdp.send('Profiler.setSamplingInterval', { interval: 100 });
  await cdp.send('Profiler.start');
  await page.evaluate(async () => {
    const box = document.getElementById('net-5-length');
    for (let k = 0; k < 7; k++) {
      box.value = String(60 + k);
      box.dispatchEvent(new Event('input', { bubbles: true }));
      await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
    }
  });
  const { profile } = await cdp.send('Profiler.stop');
  const self = new Map();
  const dt = profile.timeDeltas; const ids = profile.samples;
  const byId = new Map(profile.nodes.map((n) => [n.id, n]));
  for (let i = 0; i < ids.length; i++) {
    const n = byId.get(ids[i]); const key = n.callFrame.functionName + ' ' + n.callFrame.url.split('/').pop() + ':' + n.callFrame.lineNumber;
    self.set(key, (self.get(key) || 0) + (dt[i + 1] || 0));
  }
  console.log([...self].sort((a, b) => b[1] - a[1]).slice(0, 25).map(([k, v]) => (v / 7000).toFixed(1) + 'ms ' + k).join('\n'));
  await chromium.close();
})();
