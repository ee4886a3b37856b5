// The date field's drop-down month calendar, picked from by mouse and keyboard, and the model's
// messages shown as modal dialogs: the required-field check and the invalid date.
import assert from 'node:assert/strict';
import { before, describe, test } from 'node:test';

import {
  answerMessage, api, button, captionName, chooseForm, citara, exampleText, field, hasFocus, kinds, nativeEntry,
  pageForTests, savedDataPairs, shownEntry, shownMessage, typeDate, typeInto,
} from './harness.mjs';

const requiredText = 'The yellow fields are required for this type of reference.  At least one of the required '
  + 'fields is blank.  Please enter all the necessary data.';

let page;
pageForTests((opened) => { page = opened.page; });

const dayNumber = async () => Number(new Map(savedDataPairs(await api(page, 'savedData'))).get('*Date'));

async function calendar() {
  return page.waitForSelector('aria/Calendar[role="dialog"]');
}

async function currentDay(cal) {
  return cal.evaluate((c) => c.querySelector('button[aria-current="date"]')?.textContent.trim());
}

async function closed() {
  await page.waitForFunction(() => {
    const c = [...document.querySelectorAll('[role="dialog"]')].find((e) => e.getAttribute('aria-label') === 'Calendar');
    return !c || c.hidden || getComputedStyle(c).display === 'none' || getComputedStyle(c).visibility === 'hidden'
      || (c.localName === 'dialog' && !c.open);
  });
}

describe('Magazine: the calendar of "Date of Publication"', () => {
  // The example's date is 12 January 1997 (day 35442 of the saved data).
  before(async () => {
    await chooseForm(page, 'Magazine');
    await api(page, 'setSavedData', exampleText('Magazine'));
  });

  // Each case opens the calendar, acts in it, and names the day then held and how it closed.
  const cases = [
    { name: 'a click on a day picks it', act: async (cal) => (await button(cal, '20')).click(), day: 35450 },
    {
      name: 'Next month, then a day',
      act: async (cal) => {
        await (await button(cal, 'Next month')).click();
        assert.equal(await currentDay(cal), '20');  // the month step keeps the day
        await (await button(cal, '3')).click();
      },
      day: 35464,  // 3 February 1997
    },
    {
      name: 'Previous month twice, then a day',
      act: async (cal) => {
        await (await button(cal, 'Previous month')).click();
        await (await button(cal, 'Previous month')).click();
        await (await button(cal, '31')).click();
      },
      day: 35430,  // 31 December 1996
    },
    {
      name: 'Right and Down arrows move the day, Enter keeps it',
      act: async () => {
        await page.keyboard.press('ArrowRight');
        await page.keyboard.press('ArrowDown');
        await page.keyboard.press('Enter');
      },
      day: 35438,  // 8 January 1997 (31 December, one day on and a week on)
    },
    {
      name: 'Escape puts back the date it was opened with',
      act: async () => {
        await page.keyboard.press('PageDown');
        await page.keyboard.press('Escape');
      },
      day: 35438,
    },
  ];
  for (const { name, act, day } of cases) {
    test(name, async () => {
      await (await button(page, 'Open calendar')).click();
      const cal = await calendar();
      await act(cal);
      await closed();
      assert.equal(await dayNumber(), day);
      const data = await api(page, 'savedData');
      for (const style of ['mla', 'apa']) {
        assert.equal((await shownEntry(page, style)).marked, nativeEntry('Magazine', data, style, 'marked'));
      }
    });
  }

  test('the held day is marked as the current one when the calendar opens', async () => {
    await (await button(page, 'Open calendar')).click();
    const cal = await calendar();
    assert.equal(await currentDay(cal), '8');
    await page.keyboard.press('Escape');
    await closed();
  });
});

describe('the required-field check', () => {
  // A fresh form of each kind: the message, and the focus afterwards in the first blank required
  // field, the one `citara validate` names.
  for (const { kind } of kinds) {
    const named = /First blank required field: "([^"]*)"/.exec(citara(['validate', '--control', kind], '').stderr);
    const blank = captionName(named[1]);
    test(`${kind}: "Check required fields" on a fresh form, "${blank}" first blank`, async () => {
      await chooseForm(page, kind);
      assert.deepEqual(await api(page, 'validate'), { ok: false, message: requiredText });
      await (await button(page, 'Check required fields')).click();
      assert.deepEqual(await shownMessage(page), {
        caption: 'Error', text: requiredText, buttons: ['OK'], role: 'alertdialog',
      });
      await answerMessage(page, 'OK');
      const target = await field(page, blank);
      assert.ok(await hasFocus(page, target), `the focus is in "${blank}"`);
    });
  }

  test('a filled form passes: no message', async () => {
    await chooseForm(page, 'Book');
    await api(page, 'setSavedData', exampleText('Book'));
    const check = await api(page, 'validate');
    assert.equal(check.ok, true);
    await (await button(page, 'Check required fields')).click();
    await new Promise((r) => setTimeout(r, 300));
    assert.equal(await page.$('dialog[open]:has(.dialog-text)'), null);
  });
});

describe('the invalid-date message', () => {
  const cases = [
    ['13/01/1997', '13/01/1997'],
    ['02/30/1999', '02/30/1999'],
  ];
  for (const [typed, shown] of cases) {
    test(`Magazine: «${typed}» typed into "Date of Publication"`, async () => {
      await chooseForm(page, 'Magazine');
      await api(page, 'setSavedData', exampleText('Magazine'));
      const before = await dayNumber();
      const date = await field(page, 'Date of Publication');
      await typeDate(page, date, typed);
      await page.keyboard.press('Tab');
      assert.deepEqual(await shownMessage(page), {
        caption: 'Error',
        text: `${shown} is not a valid date.  Make sure the format is MM/DD/YYYY`,
        buttons: ['OK'],
        role: 'alertdialog',
      });
      await answerMessage(page, 'OK');
      // The focus stays in the field and the date is the one held before.
      assert.ok(await hasFocus(page, date), 'the focus stays in the date field');
      assert.equal(await dayNumber(), before);
      await typeDate(page, date, '01/12/1997');
      await (await field(page, 'Magazine')).click();
      assert.equal(await dayNumber(), 35442);
    });
  }
});

test('typing into a field keeps the shown entries live', async () => {
  await chooseForm(page, 'Newspaper');
  const title = await field(page, 'Article Title');
  await typeInto(page, title, 'low');
  for (const letter of ' tide') {
    await page.keyboard.type(letter);
    const data = await api(page, 'savedData');
    assert.equal((await shownEntry(page, 'apa')).marked, nativeEntry('Newspaper', data, 'apa', 'marked'));
  }
});

test('no script error on the page', () => {
  assert.deepEqual(page.citaraErrors, []);
});
