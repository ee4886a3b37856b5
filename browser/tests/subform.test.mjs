// The contributor sub-form driven with its own buttons: adding, moving between and deleting
// contributors (with the confirmation the model asks for), its header and its hints, for both of
// the Book's sub-forms.
import assert from 'node:assert/strict';
import { before, describe, test } from 'node:test';

import {
  answerMessage, api, button, chooseForm, field, nativeEntry, pageForTests, savedDataPairs, shownEntry, shownMessage,
  subForm, typeInto,
} from './harness.mjs';

const people = [
  ['Smith', 'John', 'Q'],
  ['Jones', 'Mary', 'B'],
  ['Brown', 'Ann', ''],
];

let page;
pageForTests((opened) => { page = opened.page; });

async function header(scope) {
  return (await scope.waitForSelector('.subform-header')).evaluate((e) => e.textContent.trim());
}

async function shownPerson(scope) {
  const values = [];
  for (const name of ['Last name', 'First name', 'Middle Initial']) {
    values.push(await (await field(scope, name)).evaluate((e) => e.value));
  }
  return values;
}

async function typePerson(scope, person) {
  const names = ['Last name', 'First name', 'Middle Initial'];
  for (const [i, name] of names.entries()) await typeInto(page, await field(scope, name), person[i]);
}

async function enabled(scope, name) {
  return (await button(scope, name)).evaluate((b) => !b.disabled && b.getAttribute('aria-disabled') !== 'true');
}

// The saved data's contributors of a role, as [last, first, middle initial] rows.
function contributors(data, role) {
  const rows = [];
  for (const [key, value] of savedDataPairs(data)) {
    const m = new RegExp(`^\\*${role}(\\d+)(Last|First|MI)$`).exec(key);
    if (!m) continue;
    rows[Number(m[1])] ??= ['', '', ''];
    rows[Number(m[1])][['Last', 'First', 'MI'].indexOf(m[2])] = value;
  }
  return rows;
}

for (const role of ['Author', 'Editor']) {
  describe(`Book: the ${role} sub-form`, () => {
    let scope;
    before(async () => {
      await chooseForm(page, 'Book');
      scope = await subForm(page, role);
    });

    test('a fresh sub-form: its header, hints and buttons', async () => {
      assert.equal(await header(scope), `${role} 1 of 1`);
      const hints = [
        ['Last name', `The last name of the current ${role}`],
        ['First name', `The first name of the current ${role}`],
        ['Middle Initial', `The middle initial of the current ${role}`],
      ];
      for (const [name, hint] of hints) assert.equal(await (await field(scope, name)).evaluate((e) => e.title), hint);
      const buttons = [
        ['First', `Go to the first ${role}`, false],
        ['Last', `Go to the last ${role}`, false],
        ['Add', `Add a new ${role}`, false],
        ['Back', `Go to the previous ${role}`, false],
        ['Next', `Go to the next ${role}`, false],
        ['Delete', `Delete the current ${role}`, false],
      ];
      for (const [name, hint, on] of buttons) {
        assert.equal(await (await button(scope, name)).evaluate((b) => b.title), hint, name);
        assert.equal(await enabled(scope, name), on, `${name} enabled`);
      }
    });

    test('typing a name enables Add; Add starts the next contributor', async () => {
      for (const [i, person] of people.entries()) {
        if (i > 0) await (await button(scope, 'Add')).click();
        assert.equal(await header(scope), `${role} ${i + 1} of ${i + 1}`);
        assert.deepEqual(await shownPerson(scope), ['', '', '']);
        await typePerson(scope, person);
        assert.equal(await enabled(scope, 'Add'), true);
      }
      const data = await api(page, 'savedData');
      assert.deepEqual(contributors(data, role), people);
      const shown = await shownEntry(page, 'mla');
      assert.equal(shown.marked, nativeEntry('Book', data, 'mla', 'marked'));
    });

    test('First, Next, Last and Back move through the list', async () => {
      const moves = [
        ['First', 0], ['Next', 1], ['Next', 2], ['Back', 1], ['Last', 2], ['Back', 1], ['First', 0],
      ];
      for (const [name, index] of moves) {
        await (await button(scope, name)).click();
        assert.equal(await header(scope), `${role} ${index + 1} of ${people.length}`, `after ${name}`);
        assert.deepEqual(await shownPerson(scope), people[index], `after ${name}`);
        assert.equal(await enabled(scope, 'First'), index > 0, `First after ${name}`);
        assert.equal(await enabled(scope, 'Next'), index < people.length - 1, `Next after ${name}`);
      }
    });

    test('Delete asks first; Cancel keeps the contributor', async () => {
      await (await button(scope, 'Next')).click();  // the second
      await (await button(scope, 'Delete')).click();
      assert.deepEqual(await shownMessage(page), {
        caption: 'Confirm',
        text: `Are you sure you want to delete this ${role} from the list?`,
        buttons: ['OK', 'Cancel'],
        role: 'alertdialog',
      });
      await answerMessage(page, 'Cancel');
      assert.deepEqual(contributors(await api(page, 'savedData'), role), people);
      assert.equal(await header(scope), `${role} 2 of 3`);
    });

    test('Esc answers the question with its last button, Cancel', async () => {
      await (await button(scope, 'Delete')).click();
      await page.waitForSelector('dialog[open]:has(.dialog-text)');
      await page.keyboard.press('Escape');
      await page.waitForFunction(() => !document.querySelector('dialog[open]:has(.dialog-text)'));
      assert.deepEqual(contributors(await api(page, 'savedData'), role), people);
    });

    test('Delete with OK removes the current contributor and shows the next', async () => {
      await (await button(scope, 'Delete')).click();
      await answerMessage(page, 'OK');
      const rest = [people[0], people[2]];
      assert.equal(await header(scope), `${role} 2 of 2`);
      assert.deepEqual(await shownPerson(scope), people[2]);
      const data = await api(page, 'savedData');
      assert.deepEqual(contributors(data, role), rest);
      for (const style of ['mla', 'apa']) {
        assert.equal((await shownEntry(page, style)).marked, nativeEntry('Book', data, style, 'marked'));
      }
    });
  });
}

test('the Middle Initial takes one letter, upper-cased', async () => {
  await chooseForm(page, 'Journal');
  const scope = await subForm(page, 'Author');
  await typeInto(page, await field(scope, 'Last name'), 'Carver');
  await typeInto(page, await field(scope, 'Middle Initial'), 'mq');
  assert.equal(await (await field(scope, 'Middle Initial')).evaluate((e) => e.value), 'M');
  assert.deepEqual(contributors(await api(page, 'savedData'), 'Author'), [['Carver', '', 'M']]);
});

test('no script error on the page', () => {
  assert.deepEqual(page.citaraErrors, []);
});
