// Pictures of the page in headless Chromium: each of the ten forms filled with its bundled example
// (the form and the two entries under it), and the magazine with its calendar open, into
// docs/screenshots/web/. Run by scripts/web-screenshots.
import { mkdirSync } from 'node:fs';
import path from 'node:path';

import { api, button, chooseForm, exampleText, kinds, launch, openPage, root } from './harness.mjs';

const out = path.join(root, 'docs', 'screenshots', 'web');
mkdirSync(out, { recursive: true });

// What each picture shows: the form, and the entries with their Copy buttons under it.
async function shoot(page, file) {
  const box = await page.evaluate(() => {
    const parts = ['form', 'mla', 'apa'].map((id) => document.getElementById(id)).filter(Boolean)
      .concat([...document.querySelectorAll('button')].filter((b) => /^Copy (MLA|APA)$/.test(b.textContent.trim())));
    const rects = parts.map((p) => p.getBoundingClientRect());
    const left = Math.min(...rects.map((r) => r.left)), top = Math.min(...rects.map((r) => r.top));
    const right = Math.max(...rects.map((r) => r.right)), bottom = Math.max(...rects.map((r) => r.bottom));
    return { x: Math.max(0, left - 8), y: Math.max(0, top - 8), width: right - left + 16, height: bottom - top + 16 };
  });
  await page.screenshot({ path: path.join(out, file), clip: box });
  console.log(path.relative(root, path.join(out, file)));
}

const session = await launch();
try {
  const page = await openPage(session);
  await page.setViewport({ width: 900, height: 700, deviceScaleFactor: 1 });
  for (const { kind, example } of kinds) {
    await chooseForm(page, kind);
    await api(page, 'setSavedData', exampleText(kind));
    await shoot(page, `${path.basename(example, '.txt')}.png`);
  }
  await chooseForm(page, 'Magazine');
  await api(page, 'setSavedData', exampleText('Magazine'));
  await (await button(page, 'Open calendar')).click();
  await page.waitForSelector('aria/Calendar[role="dialog"]');
  const calendar = await page.$('aria/Calendar[role="dialog"]');
  const shot = await page.evaluate((c) => {
    const r = c.getBoundingClientRect();
    const f = document.getElementById('form').getBoundingClientRect();
    const left = Math.min(r.left, f.left), top = Math.min(r.top, f.top);
    return { x: Math.max(0, left - 8), y: Math.max(0, top - 8),
      width: Math.max(r.right, f.right) - left + 16, height: Math.max(r.bottom, f.bottom) - top + 16 };
  }, calendar);
  await page.screenshot({ path: path.join(out, 'magazine-calendar.png'), clip: shot });
  console.log(path.relative(root, path.join(out, 'magazine-calendar.png')));
} finally {
  await session.browser.close();
}
