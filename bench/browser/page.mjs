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
    // A CPU profile of the same keystrokes splits the time: the model's WebAssembly, the
    // bindings' and the page's script, and the browser's own work (style, layout, the rest).
    const cdp = await page.createCDPSession();
    await cdp.send('Profiler.enable');
    await cdp.send('Profiler.setSamplingInterval', { interval: 100 });
    await cdp.send('Profiler.start');
    const letters = 'the biography of benjamin franklin ';
    for (let i = 0; i < keystrokes; i++) {
      const before = await page.evaluate(() => document.getElementById('mla').textContent);
      await page.keyboard.press(i % 40 === 39 ? 'Backspace' : letters[i % letters.length]);
      const after = await page.evaluate(() => document.getElementById('mla').textContent);
      if (after === before) await page.evaluate(() => { window.__citaraKeys.missed++; });
    }
    const { profile } = await cdp.send('Profiler.stop');
    const { strokes, missed } = await page.evaluate(() => window.__citaraKeys);
    const self = new Map();
    const byId = new Map(profile.nodes.map((n) => [n.id, n]));
    const gaps = profile.timeDeltas;
    profile.samples.forEach((id, i) => {
      const { url, functionName } = byId.get(id).callFrame;
      let where;
      if (url.startsWith('wasm://') || /^\$|^wasm-function/.test(functionName)) where = 'the model (WebAssembly)';
      else if (url.endsWith('/citara.js')) where = 'the bindings (citara.js)';
      else if (url.endsWith('/page.js')) where = 'the page script (page.js)';
      else if (functionName === '(idle)') where = null;
      else if (functionName === '(program)' || functionName === '(garbage collector)') where = `the browser ${functionName}`;
      else where = 'other script (the harness, puppeteer)';
      if (where) self.set(where, (self.get(where) ?? 0) + (gaps[i + 1] ?? 0) / 1000);
    });
    const data = await api(page, 'savedData');
    report.keystroke = {
      keystrokes: strokes.length, meanMs: mean(strokes), medianMs: median(strokes), maxMs: Math.max(...strokes),
      entryUnchanged: missed, titleLength: /Title:=(.*)/.exec(data)?.[1].length,
      profileMsPerKeystroke: Object.fromEntries([...self].map(([k, v]) => [k, v / strokes.length])),
    };
    await page.close();
  }

  // The model alone per keystroke: a second instance of the WebAssembly module in the page, a
  // Book shown in it, and for each keystroke the calls the page makes for a key (key down, its
  // character, key up) and the one that asks what changed, which makes both entries. Timed a
  // block of 42 keystrokes at a time, so the clock's coarse resolution hardly counts.
  {
    const page = await openPage(session);
    report.model = await page.evaluate(async (n) => {
      const loadStart = performance.now();
      const m = await createCitara();
      const loadMs = performance.now() - loadStart;
      const model = new m.Page((text, px) => [Math.ceil(text.length * px * 0.5), Math.ceil((px * 13) / 11)]);
      const letters = 'the biography of benjamin franklin, vol. 2';  // a title of 42 characters
      // One block: a fresh Book (not timed), then its Title typed in from the start, timed whole.
      // With `withChanges` false the changes are asked for once, after the block, which tells the
      // keys' share from the entries' and the changes'.
      const block = (withChanges) => {
        const form = JSON.parse(model.show('Book'));
        model.focus(form.controls.findIndex((c) => c.name === 'TitleEdit'));
        model.changes();
        const start = performance.now();
        for (let i = 0; i < letters.length; i++) {
          const ch = letters.charCodeAt(i);
          const key = ch >= 97 && ch <= 122 ? ch - 32 : ch;  // a lower-case letter's virtual key is its capital
          model.keyDown(key, 0);
          model.keyChar(ch);
          model.keyUp(key, 0);
          if (withChanges) model.changes();
        }
        const ms = performance.now() - start;
        return { ms, last: JSON.parse(model.changes()) };
      };
      block(true);  // warm up
      const blocks = Math.max(1, Math.round(n / letters.length));
      let whole = 0, keys = 0, last;
      for (let b = 0; b < blocks; b++) {
        const r = block(true);
        whole += r.ms;
        last = r.last;
        keys += block(false).ms;
      }
      const count = blocks * letters.length;
      // The two entries alone, asked of the filled form (as `citara entry` makes them).
      const start = performance.now();
      for (let i = 0; i < count; i++) {
        model.entry('mla', 'rtf');
        model.entry('apa', 'rtf');
      }
      const entriesMs = (performance.now() - start) / count;
      return { keystrokes: count, meanMs: whole / count, keysMs: keys / count, changesMs: (whole - keys) / count,
        entriesMs, loadMs, mla: last.mla };
    }, keystrokes * 5);
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
  + `(target: under 1 ms); ${k.entryUnchanged} keystrokes left the MLA entry as it was`);
const m = report.model;
console.log(`The model alone per keystroke (key down, character, key up and the changes with both entries), `
  + `${m.keystrokes} keystrokes, a fresh Book's 42-character Title typed in again and again: mean `
  + `${(m.meanMs * 1000).toFixed(1)} µs, of which the keys ${(m.keysMs * 1000).toFixed(1)} µs and the changes with `
  + `the entries ${(m.changesMs * 1000).toFixed(1)} µs (target: under 1 ms); the two RTF entries alone, asked `
  + `of the filled form: ${(m.entriesMs * 1000).toFixed(1)} µs`);
console.log(`The module made again in an open tab (createCitara(): the base64 decoded, the WebAssembly compiled `
  + `and instantiated): ${m.loadMs.toFixed(1)} ms`);
console.log('  CPU profile, ms per keystroke (sampled; the time between the key events included):');
for (const [where, ms] of Object.entries(k.profileMsPerKeystroke).sort((a, b) => b[1] - a[1])) {
  console.log(`    ${where}: ${ms.toFixed(3)}`);
}
writeFileSync(path.join(root, 'build', 'bench-browser.json'), `${JSON.stringify(report, null, 2)}\n`);
