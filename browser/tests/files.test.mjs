// What the writer takes away from the page and brings back: the entries copied to the clipboard as
// rich text and plain text, the data saved as a saved-data file and as CSL-JSON, and either kind of
// file loaded again through "Load file".
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, describe, test } from 'node:test';

import {
  api, button, chooseForm, citara, exampleText, kinds, nativeEntry, nativeSavedData, pageForTests, settle, shownEntry,
} from './harness.mjs';

let session;
let page;
pageForTests(async (opened) => {
  ({ page, session } = opened);
  // Let the page write and read the clipboard, as a user's click allows it to.
  const cdp = await session.browser.target().createCDPSession();
  await cdp.send('Browser.grantPermissions', { permissions: ['clipboardReadWrite', 'clipboardSanitizedWrite'] })
    .catch(() => {});  // an older browser without the call: reading back fails the test itself
});

// An HTML fragment's text with its italic runs between asterisks (as the marked entry marks them).
async function markedOf(html) {
  return page.evaluate((h) => {
    const div = document.createElement('div');
    div.innerHTML = h;
    const marked = (node) => [...node.childNodes].map((n) => {
      if (n.nodeType === Node.TEXT_NODE) return n.textContent;
      if (n.nodeType !== Node.ELEMENT_NODE) return '';
      const inner = marked(n);
      const italic = n.localName === 'i' || n.localName === 'em' || /italic/.test(n.getAttribute('style') ?? '');
      return italic ? `*${inner}*` : inner;
    }).join('');
    return marked(div);
  }, html);
}

// What the clipboard holds after a copy, read back by the page (null when the browser refuses),
// and what the page handed to it (recorded by the harness's watchers).
async function clipboardAfter(copy) {
  await page.evaluate(() => { window.__citaraWatch.clipboard = []; });
  await page.bringToFront();
  await copy();
  await page.waitForFunction(() => window.__citaraWatch.clipboard.some((c) => c.how !== 'write-refused'));
  const read = await page.evaluate(async () => {
    try {
      const data = {};
      for (const item of await navigator.clipboard.read()) {
        for (const type of item.types) data[type] = await (await item.getType(type)).text();
      }
      return data;
    } catch {
      return null;
    }
  });
  const handed = await page.evaluate(() => Object.assign({}, ...window.__citaraWatch.clipboard
    .filter((c) => c.how !== 'write-refused').map((c) => c.data)));
  return { read, handed };
}

describe('Copy MLA and Copy APA', () => {
  const cases = [
    ['Book', 'mla'], ['Book', 'apa'], ['Magazine', 'mla'], ['WebArticle', 'apa'], ['Newsgroup', 'mla'],
  ];
  for (const [kind, style] of cases) {
    test(`${kind}: Copy ${style.toUpperCase()} puts the entry there as rich text and plain text`, async () => {
      await chooseForm(page, kind);
      const example = exampleText(kind);
      await api(page, 'setSavedData', example);
      const { read, handed } = await clipboardAfter(
        async () => (await button(page, `Copy ${style.toUpperCase()}`)).click());
      const text = nativeEntry(kind, example, style, 'text');
      const marked = nativeEntry(kind, example, style, 'marked');
      // Every flavour the page handed over carries the entry.
      assert.equal(handed['text/plain'], text);
      assert.equal(await markedOf(handed['text/html']), marked);
      const rtf = Object.keys(handed).find((t) => /rtf/i.test(t));
      if (rtf) assert.equal(handed[rtf], nativeEntry(kind, example, style, 'rtf'));
      // And what a paste gets: headless Chromium, with the clipboard permissions granted, lets the
      // page read its clipboard back.
      assert.ok(read, 'the clipboard can be read back');
      assert.equal(read['text/plain'], text);
      assert.equal(await markedOf(read['text/html']), marked);
    });
  }
});

// The file that a click on `name` downloads, once it is complete.
async function download(name) {
  const dir = session.downloads;
  for (const f of readdirSync(dir)) rmSync(path.join(dir, f), { force: true });
  await (await button(page, name)).click();
  const until = Date.now() + 10000;
  for (;;) {
    const done = readdirSync(dir).filter((f) => !f.endsWith('.crdownload'));
    if (done.length > 0) return { name: done[0], text: readFileSync(path.join(dir, done[0]), 'utf8') };
    if (Date.now() > until) throw new Error(`"${name}" downloaded nothing`);
    await new Promise((r) => setTimeout(r, 50));
  }
}

// "Load file" given a file: the file input of that accessible name (Chromium exposes a file input as
// a button whose node is inside the input, so the name is checked in the accessibility tree and
// the input itself found by its label).
async function loadFile(file) {
  const tree = await page.accessibility.snapshot({ interestingOnly: false });
  const named = (n) => (n.role === 'button' && n.name === 'Load file') || (n.children ?? []).some(named);
  assert.ok(named(tree), 'a button named "Load file" in the accessibility tree');
  const input = await page.waitForSelector('input[type="file"][aria-label="Load file"]');
  await input.uploadFile(file);
}

const work = mkdtempSync(path.join(tmpdir(), 'citara-files-'));
after(() => rmSync(work, { recursive: true, force: true }));

for (const { kind, example: exampleFile } of kinds) {
  describe(`${kind}: save and load`, () => {
    const example = exampleText(kind);
    const saved = nativeSavedData(kind, example);

    test('"Save saved data" saves the saved-data text', async () => {
      await chooseForm(page, kind);
      await api(page, 'setSavedData', example);
      const file = await download('Save saved data');
      assert.equal(file.text, saved);
    });

    test('"Save CSL-JSON" saves an item the native tool reads back to the same data', async () => {
      const file = await download('Save CSL-JSON');
      const items = JSON.parse(file.text);
      assert.equal((Array.isArray(items) ? items : [items]).length, 1);
      const back = citara(['saved-data', '--from', 'csl-json'], file.text);
      assert.equal(back.status, 0, back.stderr);
      const native = citara(['saved-data', '--from', 'csl-json'],
        citara(['csl-json', '--control', kind], example).stdout);
      assert.equal(back.stdout, native.stdout);
    });

    test('"Load file" takes a saved-data file', async () => {
      await chooseForm(page, kind);
      await loadFile(exampleFile);
      await settle(page, async (s) => (await window.citara.savedData()) === s, saved);
      assert.equal(await api(page, 'savedData'), saved);
      const mla = nativeEntry(kind, example, 'mla', 'marked');
      assert.equal((await shownEntry(page, 'mla')).marked, mla);
    });

    test('"Load file" takes a CSL-JSON file and shows its form', async () => {
      const json = path.join(work, `${kind}.json`);
      writeFileSync(json, citara(['csl-json', '--control', kind], example).stdout);
      // The native tool names the form it reads the item into (DIR/1-KIND.txt).
      const dir = mkdtempSync(path.join(work, 'out-'));
      assert.equal(citara(['saved-data', '--from', 'csl-json', '--output-dir', dir, json]).status, 0);
      const [written] = readdirSync(dir);
      const into = /^1-(\w+)\.txt$/.exec(written)[1];
      const expected = readFileSync(path.join(dir, written), 'utf8');
      await chooseForm(page, into === 'Book' ? 'Journal' : 'Book');  // another form first
      await loadFile(json);
      await settle(page, async (s) => (await window.citara.savedData()) === s, expected);
      assert.equal(await api(page, 'savedData'), expected);
      const select = await page.waitForSelector('aria/Form[role="combobox"]');
      assert.equal(await select.evaluate((s) => s.value), into);
    });
  });
}

test('no script error on the page', () => {
  assert.deepEqual(page.citaraErrors, []);
});
