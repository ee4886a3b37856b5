// What the browser tests share: the page opened from file:// in Debian's headless Chromium through
// puppeteer-core, the native citara tool the page is compared with, the bundled examples, and the
// ways a user reaches the page's controls (by their accessible names, with the keyboard and mouse).
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import { after, before } from 'node:test';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const build = path.join(root, 'build');
// puppeteer-core is installed by scripts/browser-test into the build folder, not beside the tests.
const modules = process.env.CITARA_BROWSER_MODULES ?? path.join(build, 'browser-tests');
const puppeteer = createRequire(path.join(modules, 'package.json'))('puppeteer-core');

export const pageFile = process.env.CITARA_WEB_PAGE ?? path.join(build, 'web', 'index.html');
export const pageUrl = pathToFileURL(pageFile).href;
export const citaraBin = process.env.CITARA_BIN ?? path.join(build, 'native', 'cli', 'citara');
export const chromiumBin = process.env.CITARA_CHROMIUM ?? '/usr/bin/chromium';
// The page and the native tool read the same clock in the same zone.
process.env.TZ = 'UTC';

// The ten kinds, as `citara --control` names them, with their bundled example.
export const kinds = [
  ['Book', 'book'], ['Encyclopedia', 'encyclopedia'], ['Journal', 'journal'], ['Magazine', 'magazine'],
  ['Newspaper', 'newspaper'], ['Other', 'other'], ['WebArticle', 'webarticle'],
  ['PersonalSite', 'personalsite'], ['ProfessionalSite', 'professionalsite'], ['Newsgroup', 'newsgroup'],
].map(([kind, file]) => ({ kind, example: path.join(root, 'examples', `${file}.txt`) }));

export function exampleText(kind) {
  return readFileSync(kinds.find((k) => k.kind === kind).example, 'utf8');
}

// The native tool over a saved-data text (or any input) on standard input; its output as printed.
export function citara(args, input = '') {
  const run = spawnSync(citaraBin, args, { input, encoding: 'utf8' });
  if (run.error) throw run.error;
  return { status: run.status, stdout: run.stdout, stderr: run.stderr };
}

// `citara entry` of a saved-data text: the entry exactly as printed (the tool adds no newline; the
// RTF document ends with its own CR LF).
export function nativeEntry(kind, savedData, style, format) {
  const run = citara(['entry', '--control', kind, '--style', style, '--format', format], savedData);
  if (run.status !== 0) throw new Error(`citara entry failed: ${run.stderr}`);
  return run.stdout;
}

export function nativeSavedData(kind, savedData) {
  const run = citara(['saved-data', '--control', kind], savedData);
  if (run.status !== 0) throw new Error(`citara saved-data failed: ${run.stderr}`);
  return run.stdout;
}

// The saved-data text's lines as [key, value] pairs ("Title:=x" -> ["Title:", "x"]).
export function savedDataPairs(text) {
  return text.split(/\r?\n/).filter((l) => l.includes('=')).map((l) => {
    const at = l.indexOf('=');
    return [l.slice(0, at), l.slice(at + 1)];
  });
}

export async function launch() {
  const downloads = mkdtempSync(path.join(tmpdir(), 'citara-downloads-'));
  const browser = await puppeteer.launch({
    executablePath: chromiumBin,
    headless: true,
    // Root (as CI runs) cannot use Chromium's sandbox; the page is our own static file.
    args: ['--no-sandbox', '--disable-gpu', '--font-render-hinting=none', '--lang=en-US'],
    env: { ...process.env, TZ: 'UTC', LANG: 'en_US.UTF-8' },
  });
  return { browser, downloads };
}

// Hooks put into the page before its own script runs: they record what the page hands to the
// clipboard (every way a page can: the async Clipboard API and a copy event's DataTransfer), and
// when the first entry is shown. They only watch, and pass every call on.
function installWatchers() {
  window.__citaraWatch = { clipboard: [], firstEntry: null };
  const record = (how, data) => window.__citaraWatch.clipboard.push({ how, data });
  const clipboard = navigator.clipboard;
  if (clipboard) {
    const write = clipboard.write?.bind(clipboard);
    const writeText = clipboard.writeText?.bind(clipboard);
    clipboard.write = async (items) => {
      const data = {};
      for (const item of items) {
        for (const type of item.types) data[type] = await (await item.getType(type)).text();
      }
      record('write', data);
      try { return await write(items); } catch (e) { record('write-refused', String(e)); }
    };
    clipboard.writeText = async (text) => {
      record('writeText', { 'text/plain': text });
      try { return await writeText(text); } catch (e) { record('write-refused', String(e)); }
    };
  }
  const setData = DataTransfer.prototype.setData;
  DataTransfer.prototype.setData = function (type, value) {
    record('setData', { [type]: value });
    return setData.call(this, type, value);
  };
  const watch = () => {
    const mla = document.getElementById('mla');
    if (mla && mla.textContent.trim() !== '' && window.__citaraWatch.firstEntry === null) {
      window.__citaraWatch.firstEntry = performance.now();
      performance.mark('citara-first-entry');
    }
  };
  new MutationObserver(watch).observe(document, { subtree: true, childList: true, characterData: true });
}

// A fresh tab with the page open and ready (window.citara.ready resolved).
export async function openPage({ browser, downloads }) {
  const page = await browser.newPage();
  page.setDefaultTimeout(15000);
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.evaluateOnNewDocument(installWatchers);
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads, eventsEnabled: true });
  await page.goto(pageUrl, { waitUntil: 'load' });
  await page.waitForFunction(() => Boolean(window.citara && window.citara.ready));
  await page.evaluate(() => window.citara.ready);
  page.citaraErrors = errors;
  return page;
}

// A test file's browser and tab: launched, with the page open, before the file's tests, and closed
// after them. `opened` is called with { page, session } once the page is ready; the file keeps what
// it needs of them (and may prepare more before its first test).
export function pageForTests(opened) {
  let session;
  before(async () => {
    session = await launch();
    await opened({ page: await openPage(session), session });
  });
  after(async () => session?.browser.close());
}

// Waits (up to `timeout` ms) until `predicate` holds in the page, and returns whether it did: the
// test's own assertions then show what differs.
export async function settle(page, predicate, arg, timeout = 3000) {
  try {
    await page.waitForFunction(predicate, { polling: 50, timeout }, arg);
    return true;
  } catch {
    return false;
  }
}

// Whether the focus is (or within a moment comes) in `handle`.
export async function hasFocus(page, handle) {
  await settle(page, (e) => document.activeElement === e, handle, 2000);
  return handle.evaluate((e) => document.activeElement === e);
}

// window.citara's members, awaited (each may return a value or a promise).
export function api(page, member, ...args) {
  return page.evaluate((m, a) => Promise.resolve(window.citara[m](...a)), member, args);
}

// A fresh form's saved data holds the moment it was made (its dates start at now): the dates'
// day numbers, the texts and the entries that show them are cut to the day (minutes apart give
// the same text).
export function toTheDay(savedData) {
  return savedData.replace(/^(\*[A-Za-z]*Date[A-Za-z]*=\d+)\.\d+$/gm, '$1');
}

// The form chosen as a user does, with the "Form" select; done when the page holds a fresh form of
// that kind: the values its saved data keeps under "*" keys (dates, date detail, contributors, the
// entries) are a fresh control's, as the native tool makes them from no input. (The native tool
// loads that empty text, which also shows the dates in their fields; a fresh form need not.)
export async function chooseForm(page, kind) {
  const select = await page.waitForSelector('aria/Form[role="combobox"]');
  await select.select(kind);
  const hidden = (data) => toTheDay(data).split(/\r?\n/).filter((l) => !/^[^*][^=]*:=/.test(l)).join('\n');
  const fresh = hidden(nativeSavedData(kind, ''));
  const shown = async () => hidden(await api(page, 'savedData'));
  const until = Date.now() + 5000;
  while ((await shown()) !== fresh) {
    if (Date.now() > until) {
      throw new Error(`choosing ${kind} in "Form" did not show a fresh ${kind} form:\n${await shown()}\nexpected:\n${fresh}`);
    }
    await new Promise((r) => setTimeout(r, 50));
  }
}

// An edit field by its accessible name (the label's caption without "&" and ":"), within `scope`
// (the page, or a sub-form's group): the <input> of that name, whatever its role (a text box, or a
// spin button for a year).
export async function field(scope, name, timeout = 5000) {
  const until = Date.now() + timeout;
  for (;;) {
    for (const handle of await scope.$$(`aria/${name}`)) {
      if (await handle.evaluate((e) => e.localName === 'input' && e.type !== 'radio')) return handle;
    }
    if (Date.now() > until) throw new Error(`no field named "${name}"`);
    await new Promise((r) => setTimeout(r, 50));
  }
}

// The field of the first of `names` that the form has, or null.
export async function firstField(scope, names) {
  for (const name of names) {
    try { return await field(scope, name, 200); } catch { /* not on this form */ }
  }
  return null;
}

// The caption of a saved-data key of an entered field as the field's accessible name
// ("Page No(s):" -> "Page No(s)").
export function captionName(key) {
  return key.replace(/&/g, '').replace(/:$/, '');
}

export async function button(scope, name) {
  return scope.waitForSelector(`aria/${name}[role="button"]`);
}

// A contributor sub-form: the group named by its role.
// A contributor sub-form: the group named by its role where the form has two, else the page.
export async function subForm(page, role) {
  return (await page.$(`aria/${role}[role="group"]`)) ?? page;
}

export async function valueOf(handle) {
  return handle.evaluate((e) => e.value);
}

// Replaces a field's text by keyboard: a click into it, End, Backspace over what it holds, then
// the text typed key by key.
export async function typeInto(page, handle, text) {
  await handle.click();
  const old = await valueOf(handle);
  await page.keyboard.press('End');
  for (let i = 0; i < old.length; i++) await page.keyboard.press('Backspace');
  if (text !== '') await page.keyboard.type(text);
}

// The entry shown in the page's output labelled "MLA" or "APA": its text, and its text with the
// italic run between asterisks (as `citara entry --format marked` marks it).
export async function shownEntry(page, style) {
  const output = await page.waitForSelector(`output#${style}[aria-label="${style.toUpperCase()}"]`);
  return output.evaluate((o) => {
    const marked = (node) => [...node.childNodes].map((n) => {
      if (n.nodeType === Node.TEXT_NODE) return n.textContent;
      if (n.nodeType !== Node.ELEMENT_NODE) return '';
      const inner = marked(n);
      return n.localName === 'i' || n.localName === 'em' || getComputedStyle(n).fontStyle === 'italic'
        ? `*${inner}*` : inner;
    }).join('');
    return { text: o.textContent, marked: marked(o) };
  });
}

// The modal message on screen: its caption, text and buttons.
export async function shownMessage(page) {
  const dialog = await page.waitForSelector('dialog[open]:has(.dialog-text)');
  return dialog.evaluate((d) => ({
    caption: d.querySelector('.dialog-caption')?.textContent ?? '',
    text: d.querySelector('.dialog-text')?.textContent ?? '',
    buttons: [...d.querySelectorAll('button')].map((b) => b.textContent.trim()),
    role: d.getAttribute('role'),
  }));
}

export async function answerMessage(page, answer) {
  const dialog = await page.waitForSelector('dialog[open]:has(.dialog-text)');
  const target = await dialog.waitForSelector(`aria/${answer}[role="button"]`);
  await target.click();
  await page.waitForFunction(() => !document.querySelector('dialog[open]:has(.dialog-text)'));
}

// Types a date into a date field as its user does: a click into it, Backspace to its start (the
// field is in overwrite mode, and Backspace only moves the caret), then the digits (the caret
// steps over the "/" by itself).
export async function typeDate(page, handle, mmddyyyy) {
  await handle.click();
  for (let i = 0; i < 10; i++) await page.keyboard.press('Backspace');
  await page.keyboard.type(mmddyyyy.replace(/\D/g, ''));
}

// A date as the edit field takes it while editing (MM/DD/YYYY) from a day number of the saved
// data (days since 30 December 1899).
export function editingDate(dayNumber) {
  const d = new Date(Date.UTC(1899, 11, 30) + Number(dayNumber) * 86400000);
  const two = (n) => String(n).padStart(2, '0');
  return `${two(d.getUTCMonth() + 1)}/${two(d.getUTCDate())}/${d.getUTCFullYear()}`;
}

export function listDownloads(dir) {
  return readdirSync(dir);
}
