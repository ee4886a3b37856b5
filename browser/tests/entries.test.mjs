// Every bundled example loaded into its form in the page: the saved data the page holds and the
// entries it shows and hands out are exactly what the native citara prints for the same data.
import assert from 'node:assert/strict';
import { before, describe, test } from 'node:test';

import {
  api, chooseForm, exampleText, kinds, nativeEntry, nativeSavedData, pageForTests, settle, shownEntry, toTheDay,
} from './harness.mjs';

const shownStyles = ['mla', 'apa'];
// window.citara.entry also takes the current editions' names, as `citara entry --style` does.
const apiStyles = ['mla', 'apa', 'mla9', 'apa7'];
const formats = ['text', 'marked', 'rtf'];

let page;
pageForTests((opened) => { page = opened.page; });

test('window.citara.forms() names the ten kinds as citara --control takes them', async () => {
  assert.deepEqual(await api(page, 'forms'), kinds.map((k) => k.kind));
});

for (const { kind } of kinds) {
  describe(`${kind}: its example`, () => {
    const example = exampleText(kind);

    before(async () => {
      await chooseForm(page, kind);
      await api(page, 'setSavedData', example);
      // The entries shown follow every change: wait until the loaded data shows.
      const expected = nativeEntry(kind, example, 'mla', 'text');
      await settle(page, (e) => document.getElementById('mla')?.textContent === e, expected);
    });

    test('the saved data is the native tool\'s for the same text', async () => {
      assert.equal(await api(page, 'savedData'), nativeSavedData(kind, example));
    });

    for (const style of shownStyles) {
      test(`the ${style.toUpperCase()} entry shown, with its italic run, is the native one`, async () => {
        const shown = await shownEntry(page, style);
        assert.equal(shown.text, nativeEntry(kind, example, style, 'text'));
        assert.equal(shown.marked, nativeEntry(kind, example, style, 'marked'));
      });
    }

    for (const style of apiStyles) {
      for (const format of formats) {
        test(`window.citara.entry("${style}", "${format}") is citara entry's`, async () => {
          assert.equal(await api(page, 'entry', style, format), nativeEntry(kind, example, style, format));
        });
      }
    }

    test('its required fields are all filled (validate)', async () => {
      const check = await api(page, 'validate');
      assert.equal(check.ok, true);
    });
  });
}

describe('an empty saved-data text loaded into each form', () => {
  for (const { kind } of kinds) {
    test(`${kind}: the saved data and entries are the native tool's for no input`, async () => {
      await chooseForm(page, kind);
      await api(page, 'setSavedData', '');
      assert.equal(toTheDay(await api(page, 'savedData')), toTheDay(nativeSavedData(kind, '')));
      for (const style of shownStyles) {
        assert.equal((await shownEntry(page, style)).marked, nativeEntry(kind, '', style, 'marked'));
      }
    });
  }
});

test('no script error on the page', () => {
  assert.deepEqual(page.citaraErrors, []);
});
