// What the forms look like in the page: every control inside its form and no two fields over each
// other, the required fields in the model's yellow and the others white, hints as tooltips.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { chooseForm, field, kinds, pageForTests } from './harness.mjs';

let page;
pageForTests((opened) => { page = opened.page; });

for (const { kind } of kinds) {
  test(`${kind}: every control lies inside the form, no two fields overlap`, async () => {
    await chooseForm(page, kind);
    const problems = await page.evaluate(() => {
      const form = document.getElementById('form').getBoundingClientRect();
      const found = [];
      const name = (e) => e.getAttribute('aria-label') || e.title || e.textContent.trim() || e.localName;
      const controls = [...document.querySelectorAll('#form input, #form button, #form label')]
        .filter((e) => e.getClientRects().length > 0 && !e.closest('[role="dialog"]'));
      for (const c of controls) {
        const r = c.getBoundingClientRect();
        if (r.left < form.left - 0.5 || r.top < form.top - 0.5 || r.right > form.right + 0.5 || r.bottom > form.bottom + 0.5) {
          found.push(`${name(c)} reaches out of the form`);
        }
      }
      const fields = controls.filter((e) => e.localName === 'input' && e.type !== 'radio' && e.type !== 'file');
      for (let i = 0; i < fields.length; i++) {
        for (let j = i + 1; j < fields.length; j++) {
          const a = fields[i].getBoundingClientRect(), b = fields[j].getBoundingClientRect();
          if (a.left < b.right - 0.5 && b.left < a.right - 0.5 && a.top < b.bottom - 0.5 && b.top < a.bottom - 0.5) {
            found.push(`${name(fields[i])} overlaps ${name(fields[j])}`);
          }
        }
      }
      return found;
    });
    assert.deepEqual(problems, []);
  });
}

describe('the fields\' colours and hints', () => {
  const yellow = 'rgb(255, 255, 0)';
  const white = 'rgb(255, 255, 255)';
  // kind, field, colour, the hint's beginning
  const cases = [
    ['Book', 'Title', yellow, 'The title of the book'],
    ['Book', 'Series', white, 'The series which the book is in'],
    ['Book', 'Place of Printing', yellow, ''],
    ['Book', 'Year', yellow, 'The year of printing'],
    ['Book', 'Volume #', white, 'The volume number of the work'],
    ['Magazine', 'Article Title', yellow, 'The title of the article'],
    ['Magazine', 'Volume', yellow, 'The volume of the magazine issue'],
    ['Magazine', 'Page No(s)', yellow, 'The page numbers of the magazine article'],
  ];
  for (const [kind, name, colour, hint] of cases) {
    test(`${kind} "${name}"`, async () => {
      await chooseForm(page, kind);
      const handle = await field(page, name);
      const shown = await handle.evaluate((e) => ({ colour: getComputedStyle(e).backgroundColor, title: e.title }));
      assert.equal(shown.colour, colour);
      assert.ok(shown.title.startsWith(hint), `hint «${shown.title}» starts with «${hint}»`);
      assert.notEqual(shown.title, '');
    });
  }
});

test('no script error on the page', () => {
  assert.deepEqual(page.citaraErrors, []);
});
