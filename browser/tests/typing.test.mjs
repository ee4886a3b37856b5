// Each form filled by keyboard and mouse as a writer fills it, from its bundled example: every field
// found by its accessible name and typed into key by key, each contributor typed into the sub-form
// and the next one started with its Add button, dates typed into the date fields, the date detail
// picked with its radio button. The page then holds the example's data and shows its entries.
import assert from 'node:assert/strict';
import { before, describe, test } from 'node:test';

import {
  api, captionName, chooseForm, hasFocus, editingDate, exampleText, field, firstField, kinds, nativeEntry,
  nativeSavedData, pageForTests, savedDataPairs, shownEntry, subForm, button, typeDate, typeInto,
} from './harness.mjs';

// The date keys of the saved data, and the captions of the fields that hold them on the forms.
const dateFields = {
  '*Date': ['Date of Publication', 'Publication Date', 'Date Last Modified'],
  '*DateRetrieved': ['Date Retrieved'],
};
// A contributor's keys and the sub-form's fields (named by their hints).
const personFields = { Last: 'Last name', First: 'First name', MI: 'Middle Initial' };

// The example's lines in the order a writer fills them: fields, dates and the detail, contributors.
function plan(example) {
  const steps = { fields: [], dates: [], detail: null, people: { Author: [], Editor: [] } };
  for (const [key, value] of savedDataPairs(example)) {
    const person = /^\*(Author|Editor)(\d+)(Last|First|MI)$/.exec(key);
    if (person) {
      const [, role, index, part] = person;
      const list = steps.people[role];
      list[Number(index)] ??= {};
      list[Number(index)][part] = value;
    } else if (key in dateFields) {
      steps.dates.push([key, value]);
    } else if (key === '*DateFormat') {
      steps.detail = value;
    } else if (!key.startsWith('*')) {
      steps.fields.push([captionName(key), value]);
    }
  }
  return steps;
}

let page;
pageForTests((opened) => { page = opened.page; });

for (const { kind } of kinds) {
  describe(`${kind}: typed in from its example`, () => {
    const example = exampleText(kind);
    const steps = plan(example);

    before(async () => {
      await chooseForm(page, kind);
      for (const [name, value] of steps.fields) await typeInto(page, await field(page, name), value);
      for (const [key, value] of steps.dates) {
        const date = await firstField(page, dateFields[key]);
        assert.ok(date, `${kind} has a field for ${key}`);
        await typeDate(page, date, editingDate(value));
        await page.keyboard.press('Tab');  // leaving the field reads the typed date
      }
      if (steps.detail) {
        const radio = await page.waitForSelector(`aria/${steps.detail}[role="radio"]`);
        await radio.click();
      }
      for (const role of ['Author', 'Editor']) {
        const people = steps.people[role];
        if (people.length === 0) continue;
        const scope = await subForm(page, role);
        for (const [i, person] of people.entries()) {
          if (i > 0) await (await button(scope, 'Add')).click();
          for (const [part, name] of Object.entries(personFields)) {
            await typeInto(page, await field(scope, name), person[part] ?? '');
          }
        }
      }
    });

    test('the page holds the example\'s saved data', async () => {
      assert.equal(await api(page, 'savedData'), nativeSavedData(kind, example));
    });

    for (const style of ['mla', 'apa']) {
      test(`the ${style.toUpperCase()} entry shown is the example's`, async () => {
        const shown = await shownEntry(page, style);
        assert.equal(shown.marked, nativeEntry(kind, example, style, 'marked'));
      });
    }
  });
}

describe('the typed text reaches the model as typed', () => {
  // Texts a writer may type: the model's case rules, not the page, make the entry's capitals; the
  // field keeps what was typed, accents and all, and the entry follows at every keystroke.
  const cases = [
    ['Book', 'Title', 'the scarlet letter'],
    ['Book', 'Title', 'élan vital: ça ira'],
    ['Journal', 'Article Title', 'tides & currents (2nd look)'],
    ['WebArticle', 'URL', 'http://www.example.com/a?b=c'],
  ];
  for (const [kind, name, text] of cases) {
    test(`${kind} "${name}" takes «${text}»`, async () => {
      await chooseForm(page, kind);
      const handle = await field(page, name);
      await typeInto(page, handle, text);
      const data = await api(page, 'savedData');
      assert.equal(await handle.evaluate((e) => e.value), text);
      const pairs = new Map(savedDataPairs(data));
      assert.equal(pairs.get(`${name}:`), text);
      const shown = await shownEntry(page, 'mla');
      assert.equal(shown.marked, nativeEntry(kind, data, 'mla', 'marked'));
    });
  }
});

describe('accelerators and focus', () => {
  // The sub-form's labels carry the accelerators; on a form with one sub-form each is unique.
  const cases = [
    ['Journal', 'l', 'Last name'],
    ['Journal', 'f', 'First name'],
    ['Journal', 'm', 'Middle Initial'],
  ];
  for (const [kind, letter, name] of cases) {
    test(`${kind}: Alt+${letter.toUpperCase()} moves the focus into "${name}"`, async () => {
      await chooseForm(page, kind);
      await (await field(page, 'Article Title')).click();
      await page.keyboard.down('Alt');
      await page.keyboard.press(letter);
      await page.keyboard.up('Alt');
      const target = await field(page, name);
      assert.ok(await hasFocus(page, target), `the focus is in "${name}"`);
    });
  }
});

describe('Tab and Shift+Tab', () => {
  // The Book's tab stops in the model's order: its main panel, then each sub-form; Tab wraps round.
  const order = [
    ['', 'Title'], ['', 'Series'], ['', 'Place of Printing'], ['', 'Publishing Company'], ['', 'Year'],
    ['', 'Volume #'], ['', 'Edition'], ['', 'Page No(s)'],
    ['Author', 'Last name'], ['Author', 'First name'], ['Author', 'Middle Initial'],
    ['Editor', 'Last name'], ['Editor', 'First name'], ['Editor', 'Middle Initial'],
  ];
  const focused = () => page.evaluate(() => {
    const e = document.activeElement;
    return [e.closest('[role="group"]')?.getAttribute('aria-label') ?? '', e.getAttribute('aria-label') ?? e.localName];
  });
  for (const [keys, step] of [['Tab', 1], ['Shift+Tab', -1]]) {
    test(`Book: ${keys} goes through the fields in the model's order and wraps round`, async () => {
      await chooseForm(page, 'Book');
      await (await field(page, 'Title')).click();
      const seen = [await focused()];
      for (let i = 0; i < order.length; i++) {
        if (step < 0) await page.keyboard.down('Shift');
        await page.keyboard.press('Tab');
        if (step < 0) await page.keyboard.up('Shift');
        seen.push(await focused());
      }
      const expected = Array.from({ length: order.length + 1 }, (_, i) => order[((i * step) % order.length + order.length) % order.length]);
      assert.deepEqual(seen, expected);
    });
  }
  test('Book: Esc leaves the form for the entries, and Tab from there goes on through the page', async () => {
    await chooseForm(page, 'Book');
    await (await field(page, 'Middle Initial')).click();
    await page.keyboard.press('Escape');
    assert.deepEqual(await focused(), ['', 'button']);
    assert.equal(await page.evaluate(() => document.activeElement.textContent), 'Copy MLA');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.textContent), 'Copy APA');
  });
});

test('no script error on the page', () => {
  assert.deepEqual(page.citaraErrors, []);
});
