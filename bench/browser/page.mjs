// The page's figures in headless Chromium: what opening it transfers (every file it loads, raw and
// compressed), the time from opening it to its first entry shown, and the page's own work per
// keystroke (the model's handling of the key and the two entries made and shown). Run by
// bench/browser/run; prints a report and writes it as JSON to build/bench-browser.json.
import { readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

const here = path.dirname(fileURLToPath(import.meta.url));
const { api, chooseForm, field, launch, openPage, root } = await import(path.join(here, '../../browser/tests/harness.mjs'));

const opens = Number(process.env.OPENS ?? 20);
const keystrokes = Number(process.env.KEYSTROKES ?? 400);

const median = (xs) => { const s = [...xs].sort((a, b) => a - b); return s[Math.floor(s.length / 2)]; };
const mean = (xs) => xs.reduce((a, b) => a + b, 0) / xs.length;
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;

const session = await launch();
const report = {};
try {
  // Transfer: every file:// resource the page loads.
  {
    const page = await session.browser.newPage();
    const files = new Set();
    page.on('requestfinished', (r) => { if (r.url().startsWith('file://')) files.add(r.url()); });
    await page.goto(`file://${path.join(root, 'build/web/index.html')}`, { waitUntil: 'load' });
    await page.waitForFunction(() => Boolean(window.citara && window.citara.ready));
    await page.evaluate(() => window.citara.ready);
    await page.close();
    const rows = [...files].map((url) => {
      const data = readFileSync(fileURLToPath(url));
      return {
        file: path.relative(root, fileURLToPath(url)),
        raw: data.length,
        gzip: gzipSync(data, { level: 9 }).length,
        brotli: brotliCompressSync(data, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } }).length,
      };
    });
    const total = (k) => rows.reduce((a, r) => a + r[k], 0);
    report.transfer = { files: rows, raw: total('raw'), gzip: total('gzip'), brotli: total('brotli') };
  }

  // Opening the page to its first entry shown: a fresh tab each time; the time is the page's own
  // clock from the start of the navigation (performance.timeOrigin) to the first change that puts
  // text into the MLA output (a mark set by the harness's watcher).
  {
    const times = [];
    const readyTimes = [];
    for (let i = 0; i < opens; i++) {
      const page = await openPage(session);
      await page.waitForFunction(() => window.__citaraWatch.firstEntry !== null);
      times.push(await page.evaluate(() => window.__citaraWatch.firstEntry));
      readyTimes.push(await page.evaluate(() => performance.now()));
      await page.close();
    }
    report.firstEntry = { opens, medianMs: median(times), minMs: Math.min(...times), maxMs: Math.max(...times) };
  }

  // Per keystroke: real key events typed into the Book's Title; for each key event the page's
  // synchronous work is timed from a capture listener on the window (before the page's own) to a
  // listener on the window's bubble phase (after them), and the events of one keystroke are added
  // up. The MLA entry shown is checked to have followed each keystroke.
  {
    const page = await openPage(session);
    await chooseForm(page, 'Book');
    const title = await field(page, 'Title');
    await title.click();
    await page.evaluate(() => {
      const w = (window.__citaraKeys = { current: 0, strokes: [], start: 0, missed: 0 });
      for (const type of ['keydown', 'keypress', 'beforeinput', 'input', 'keyup']) {
        window.addEventListener(type, () => { w.start = performance.now(); }, true);
        window.addEventListener(type, () => {
          w.current += performance.now() - w.start;
          if (type === 'keyup') {
            w.strokes.push(w.current);
            w.current = 0;
          }
        }, false);
      }
    });
    const letters = 'the biography of benjamin franklin ';
    for (let i = 0; i < keystrokes; i++) {
      const before = await page.evaluate(() => document.getElementById('mla').textContent);
      await page.keyboard.press(i % 40 === 39 ? 'Backspace' : letters[i % letters.length]);
      const after = await page.evaluate(() => document.getElementById('mla').textContent);
      if (after === before) await page.evaluate(() => { window.__citaraKeys.missed++; });
    }
    const { strokes, missed } = await page.evaluate(() => window.__citaraKeys);
    const data = await api(page, 'savedData');
    report.keystroke = {
      keystrokes: strokes.length, meanMs: mean(strokes), medianMs: median(strokes), maxMs: Math.max(...strokes),
      entryUnchanged: missed, titleLength: /Title:=(.*)/.exec(data)?.[1].length,
    };
    await page.close();
  }
} finally {
  await session.browser.close();
}

const t = report.transfer;
console.log('Transfer (every file the page loads):');
for (const f of t.files) console.log(`  ${f.file}: ${kb(f.raw)} raw, ${kb(f.gzip)} gzip -9, ${kb(f.brotli)} brotli`);
console.log(`  total: ${kb(t.raw)} raw, ${kb(t.gzip)} gzip -9, ${kb(t.brotli)} brotli (target: under 500 KB compressed)`);
const f = report.firstEntry;
console.log(`Opening to the first entry shown, ${f.opens} fresh tabs: median ${f.medianMs.toFixed(1)} ms, `
  + `fastest ${f.minMs.toFixed(1)} ms, slowest ${f.maxMs.toFixed(1)} ms (target: under 100 ms)`);
const k = report.keystroke;
console.log(`The page's work per keystroke, ${k.keystrokes} keystrokes into the Book's Title: mean `
  + `${k.meanMs.toFixed(3)} ms, median ${k.medianMs.toFixed(3)} ms, slowest ${k.maxMs.toFixed(3)} ms `
  + `(target: under 1 ms); entry unchanged after ${k.entryUnchanged} keystrokes`);
writeFileSync(path.join(root, 'build', 'bench-browser.json'), `${JSON.stringify(report, null, 2)}\n`);
