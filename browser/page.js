// The page: shows the model's form as HTML elements at the rectangles the model lays out, sends
// every key, click and focus move into the model, and shows what the model changes after each
// one. Nothing here decides what a form does; the model (citara.js) does.
'use strict';

(function () {
  const FONT = getComputedStyle(document.documentElement).getPropertyValue('--form-font').trim() || 'sans-serif';
  const SHIFT = 1, ALT = 2, CTRL = 4;
  const DROP_BUTTON = 16, SPIN_BUTTON = 13;  // the model's button widths inside a field
  const SVG = 'http://www.w3.org/2000/svg';

  // The glyphs of the contributor sub-form's buttons, by the model's image ids.
  const GLYPHS = {
    FirstArrow: 'M3 3h2v10H3zM13 3v10L6 8z',
    LastArrow: 'M11 3h2v10h-2zM3 3v10l7-5z',
    BackArrow: 'M11 3v10L5 8z',
    NextArrow: 'M5 3v10l6-5z',
    Plus: 'M7 3h2v4h4v2H9v4H7V9H3V7h4z',
    Minus: 'M3 7h10v2H3z',
  };

  const formEl = document.getElementById('form');
  const kindSelect = document.getElementById('kind');
  const statusEl = document.getElementById('status');
  const dialogEl = document.getElementById('message');

  let module = null;
  let page = null;
  let desc = null;      // what Show returned
  let els = [];         // id -> the element standing for the control
  let focusables = [];  // id -> the element that takes the DOM focus (input), when any
  let calendarEl = null;
  let updating = false;
  const dialogQueue = [];

  // --- Text measure for the model's layout: the page's own font ---
  const measureContext = document.createElement('canvas').getContext('2d');
  function measure(text, px, weight, italic) {
    measureContext.font = `${italic ? 'italic ' : ''}${weight} ${px}px ${FONT}`;
    return [Math.ceil(measureContext.measureText(text).width), Math.ceil(px * 13 / 11)];
  }

  // --- Code points and UTF-16 units (the model counts characters as code points) ---
  function unitsOf(text, codePoints) {
    let units = 0;
    for (const ch of text) {
      if (codePoints-- <= 0) break;
      units += ch.length;
    }
    return units;
  }
  function codePointsOf(text, units) {
    return Array.from(text.slice(0, units)).length;
  }

  function errorText(e) {
    if (typeof e === 'number' && module) return module.Page.errorMessage(e);
    return e && e.message ? e.message : String(e);
  }

  // Runs a model call and shows what changed; the DOM focus then follows the model's.
  function act(call, followFocus = true) {
    if (!page || dialogEl.open) return;
    try {
      call();
    } catch (e) {
      statusEl.textContent = errorText(e);
    }
    update(followFocus);
  }

  // --- Building the form's elements ---
  function place(el, bounds) {
    el.style.left = bounds[0] + 'px';
    el.style.top = bounds[1] + 'px';
    el.style.width = bounds[2] + 'px';
    el.style.height = bounds[3] + 'px';
  }

  function captionNodes(el, caption, accelerator) {
    el.textContent = '';
    const at = accelerator ? caption.toUpperCase().indexOf(accelerator.toUpperCase()) : -1;
    if (at < 0) {
      el.textContent = caption;
      return;
    }
    el.append(caption.slice(0, at));
    const u = document.createElement('u');
    u.textContent = caption.slice(at, at + accelerator.length);
    el.append(u, caption.slice(at + accelerator.length));
  }

  function glyph(image) {
    const svg = document.createElementNS(SVG, 'svg');
    svg.setAttribute('viewBox', '0 0 16 16');
    svg.setAttribute('aria-hidden', 'true');
    const disabled = image.endsWith('Disabled');
    const path = document.createElementNS(SVG, 'path');
    path.setAttribute('d', GLYPHS[disabled ? image.slice(0, -'Disabled'.length) : image] || '');
    path.setAttribute('fill', disabled ? '#a0a0a0' : '#000');
    svg.append(path);
    return svg;
  }

  // A button that is part of a field (its drop-down button, its spin buttons): it never takes the
  // focus from the field, and a click on it goes to the model as a click on that part.
  function partButton(id, part, label, text = '') {
    const button = document.createElement('button');
    button.type = 'button';
    button.tabIndex = -1;
    button.textContent = text;
    button.setAttribute('aria-label', label);
    button.dataset.id = id;
    button.dataset.part = part;
    return button;
  }

  function create(c) {
    let el;
    switch (c.kind) {
      case 'form':
        el = formEl;
        el.textContent = '';
        el.setAttribute('aria-label', c.caption);
        break;
      case 'subform':
        el = document.createElement('div');
        el.setAttribute('role', 'group');
        el.setAttribute('aria-label', c.role);
        break;
      case 'label':
        el = document.createElement('label');
        el.classList.add(c.align);
        if (c.name === 'HeaderLabel') el.classList.add('subform-header');
        if (c.for >= 0) el.htmlFor = 'c' + c.for;
        break;
      case 'bevel':
        el = document.createElement('div');
        el.className = 'bevel';
        break;
      case 'edit':
      case 'date':
      case 'spin': {
        el = document.createElement('div');
        el.className = 'field';
        const input = document.createElement('input');
        input.type = 'text';
        input.id = 'c' + c.id;
        input.autocomplete = 'off';
        input.spellcheck = false;
        input.setAttribute('aria-label', c.accessibleName);
        input.dataset.id = c.id;
        el.append(input);
        focusables[c.id] = input;
        if (c.kind === 'date') {
          const button = partButton(c.id, 'button', 'Open calendar');
          button.className = 'drop';
          el.append(button);
        } else if (c.kind === 'spin') {
          const spin = document.createElement('span');
          spin.className = 'spin';
          spin.append(partButton(c.id, 'up', 'Increase', '\u25b2'), partButton(c.id, 'down', 'Decrease', '\u25bc'));
          el.append(spin);
        }
        break;
      }
      case 'radio': {
        el = document.createElement('label');
        el.className = 'radio';
        const input = document.createElement('input');
        input.type = 'radio';
        input.id = 'c' + c.id;
        input.name = 'group' + c.parent;
        input.dataset.id = c.id;
        input.setAttribute('aria-label', c.caption);
        const text = document.createElement('span');
        el.append(input, text);
        focusables[c.id] = input;
        break;
      }
      case 'toolbutton':
        el = document.createElement('button');
        el.type = 'button';
        el.className = 'tool';
        el.tabIndex = -1;
        el.setAttribute('aria-label', c.caption);
        el.dataset.id = c.id;
        break;
      case 'popup':
      case 'calendar':
        return null;  // drawn while open, from the changes' calendar
      default:
        el = document.createElement('div');
    }
    if (el !== formEl) {
      el.classList.add('c');
      const parent = els[c.parent] || formEl;
      parent.append(el);
    }
    el.dataset.kind = c.kind;
    return el;
  }

  function build(description) {
    desc = description;
    els = [];
    focusables = [];
    calendarEl = null;
    for (const c of desc.controls) els[c.id] = create(c);
    formEl.style.width = desc.width + 'px';
    formEl.style.height = desc.height + 'px';
    for (const c of desc.controls) apply(c);
    kindSelect.value = desc.kind;
  }

  // --- Showing the model's state ---
  function apply(s) {
    const el = els[s.id];
    const c = desc.controls[s.id];
    if (!el || !c) return;
    if (el !== formEl) place(el, s.bounds);
    if (c.kind !== 'form') el.hidden = !s.visible;
    if (c.kind === 'form' || c.kind === 'panel' || c.kind === 'subform') el.style.backgroundColor = s.color;
    const input = focusables[s.id];
    switch (c.kind) {
      case 'label':
        captionNodes(el, s.caption, c.accelerator);
        break;
      case 'edit':
      case 'date':
      case 'spin':
        if (input.value !== s.text) input.value = s.text;
        input.style.backgroundColor = s.color;
        input.title = s.hint;
        input.disabled = !s.enabled;
        if (document.activeElement === input) showSelection(input, s);
        el.querySelectorAll('button').forEach((b) => { b.disabled = !s.usable; });
        break;
      case 'radio':
        input.checked = !!s.checked;
        input.disabled = !s.enabled;
        el.title = s.hint;
        input.title = s.hint;
        captionNodes(el.lastChild, s.caption, c.accelerator);
        break;
      case 'toolbutton':
        el.title = s.hint;
        el.disabled = !s.usable;
        el.textContent = '';
        el.append(glyph(s.image));
        break;
      default:
        if (s.hint) el.title = s.hint;
    }
    c.state = s;
  }

  function showSelection(input, s) {
    const start = unitsOf(s.text, s.selection[0]);
    const end = unitsOf(s.text, s.selection[0] + s.selection[1]);
    if (input.selectionStart !== start || input.selectionEnd !== end) input.setSelectionRange(start, end);
  }

  function showEntry(id, entry) {
    const out = document.getElementById(id);
    out.textContent = '';
    out.append(entry.before);
    if (entry.italic) {
      const i = document.createElement('i');
      i.textContent = entry.italic;
      out.append(i);
    }
    out.append(entry.after);
  }

  function showCalendar(popup) {
    if (!popup) {
      if (calendarEl) {
        const el = calendarEl;
        calendarEl = null;
        el.remove();
      }
      return;
    }
    if (!calendarEl) {
      calendarEl = document.createElement('div');
      calendarEl.className = 'calendar';
      calendarEl.setAttribute('role', 'dialog');
      calendarEl.setAttribute('aria-label', 'Calendar');
      calendarEl.tabIndex = -1;
      calendarEl.dataset.kind = 'calendar';
      const title = document.createElement('div');
      title.className = 'title';
      const back = document.createElement('button');
      back.type = 'button';
      back.tabIndex = -1;
      back.textContent = '\u25c0';
      back.setAttribute('aria-label', 'Previous month');
      back.dataset.step = '-1';
      const caption = document.createElement('span');
      const next = document.createElement('button');
      next.type = 'button';
      next.tabIndex = -1;
      next.textContent = '\u25b6';
      next.setAttribute('aria-label', 'Next month');
      next.dataset.step = '1';
      title.append(back, caption, next);
      const weekdays = document.createElement('div');
      weekdays.className = 'weekdays';
      weekdays.setAttribute('aria-hidden', 'true');
      for (const name of desc.controls[popup.id].dayNames) {
        const span = document.createElement('span');
        span.textContent = name;
        weekdays.append(span);
      }
      const days = document.createElement('div');
      days.className = 'days';
      calendarEl.append(title, weekdays, days);
      formEl.append(calendarEl);
    }
    place(calendarEl, popup.bounds);
    calendarEl.querySelector('.title span').textContent = `${popup.monthName} ${popup.year}`;
    const days = calendarEl.querySelector('.days');
    days.textContent = '';
    for (let cell = 0; cell < 42; ++cell) {
      const day = cell - popup.firstCell + 1;
      if (day < 1 || day > popup.days) {
        days.append(document.createElement('span'));
        continue;
      }
      const button = document.createElement('button');
      button.type = 'button';
      button.tabIndex = -1;
      button.textContent = String(day);
      button.setAttribute('aria-label', String(day));
      button.dataset.day = String(day);
      if (day === popup.day) button.setAttribute('aria-current', 'date');
      days.append(button);
    }
  }

  // Asks the model what changed and shows it. The DOM focus follows the model's focus after the
  // user's input into the form (`followFocus`), and otherwise only while it is inside the form.
  function update(followFocus = false) {
    if (!page) return;
    updating = true;
    try {
      const changes = JSON.parse(page.changes());
      for (const s of changes.controls) apply(s);
      showCalendar(changes.popup);
      if (changes.mla) showEntry('mla', changes.mla);
      if (changes.apa) showEntry('apa', changes.apa);
      // The DOM focus follows the model's while it is inside the form.
      if (followFocus || formEl.contains(document.activeElement) || document.activeElement === document.body) {
        const target = changes.popup && changes.focus === changes.popup.id + 1 ? calendarEl : focusables[changes.focus];
        if (target && document.activeElement !== target) target.focus();
        const s = target && desc.controls[changes.focus] && desc.controls[changes.focus].state;
        if (s && s.selection) showSelection(target, s);
      }
      for (const d of changes.dialogs) dialogQueue.push(d);
    } finally {
      updating = false;
    }
    showNextDialog();
  }

  // --- The model's messages as modal dialogs ---
  let returnFocus = null;
  function showNextDialog() {
    if (dialogEl.open || dialogQueue.length === 0) return;
    const d = dialogQueue.shift();
    dialogEl.querySelector('.dialog-caption').textContent = d.caption;
    dialogEl.querySelector('.dialog-text').textContent = d.text;
    dialogEl.querySelector('.dialog-icon').className = 'dialog-icon ' + d.icon;
    const buttons = dialogEl.querySelector('.dialog-buttons');
    buttons.textContent = '';
    d.buttons.forEach((name, answer) => {
      const b = document.createElement('button');
      b.type = 'button';
      b.textContent = name;
      b.addEventListener('click', () => closeDialog(answer));
      buttons.append(b);
    });
    returnFocus = document.activeElement;
    dialogEl.showModal();
    buttons.firstChild.focus();
  }
  function closeDialog(answer) {
    dialogEl.close();
    if (returnFocus && returnFocus.isConnected) returnFocus.focus();
    try {
      page.answer(answer);
    } catch (e) {
      statusEl.textContent = errorText(e);
    }
    update(true);
  }
  // Esc on a message is its last button (Cancel, or OK when it has only OK).
  dialogEl.addEventListener('cancel', (e) => {
    e.preventDefault();
    closeDialog(dialogEl.querySelectorAll('.dialog-buttons button').length - 1);
  });

  // --- Input into the model ---
  function shiftOf(e) {
    return (e.shiftKey ? SHIFT : 0) | (e.altKey ? ALT : 0) | (e.ctrlKey ? CTRL : 0);
  }
  // The key code the model takes (the platform's virtual keys, as the browser's keyCode gives them).
  function keyOf(e) {
    return e.keyCode || 0;
  }
  function isClipboardKey(e) {
    return e.ctrlKey && !e.altKey && (e.keyCode === 88 || e.keyCode === 67 || e.keyCode === 86);
  }
  // The character a key types, as the platform's character message would carry it; 0 for none.
  function charOf(e) {
    const altGraph = e.getModifierState && e.getModifierState('AltGraph');
    if ((e.ctrlKey || e.altKey) && !altGraph) return 0;
    if (e.key === 'Backspace') return 8;
    if (e.key === 'Enter') return 13;
    if (e.key === 'Escape') return 27;
    const chars = Array.from(e.key || '');
    return chars.length === 1 ? chars[0].codePointAt(0) : 0;
  }
  function fromModel(target) {
    return target && (formEl.contains(target) || target === calendarEl);
  }

  formEl.addEventListener('keydown', (e) => {
    if (!fromModel(e.target) || updating || e.isComposing) return;
    if (isClipboardKey(e)) return;  // the browser's cut, copy and paste events carry these
    if (e.keyCode >= 112 && e.keyCode <= 123) return;  // function keys stay the browser's
    e.preventDefault();
    if (e.key === 'Escape' && !(calendarEl && calendarEl.contains(e.target))) {
      // Tab goes round the form's fields as the control's does, so Esc is the keyboard's way out
      // of the form: on to the entries that follow it.
      document.getElementById('copy-mla').focus();
      return;
    }
    if (e.key === ' ' && e.target.type === 'radio' && !e.ctrlKey && !e.altKey) {
      // Space presses a radio button, as the platform's buttons take it: a click.
      act(() => page.click(Number(e.target.dataset.id), ''));
      return;
    }
    act(() => {
      page.keyDown(keyOf(e), shiftOf(e));
      const ch = charOf(e);
      if (ch) page.keyChar(ch);
    });
  });
  formEl.addEventListener('keyup', (e) => {
    if (!fromModel(e.target) || updating || isClipboardKey(e)) return;
    if (e.keyCode >= 112 && e.keyCode <= 123) return;
    e.preventDefault();
    act(() => page.keyUp(keyOf(e), shiftOf(e)));
  });
  // Typing that no key event carried (an input method, dictation): its text goes in as characters.
  formEl.addEventListener('beforeinput', (e) => {
    if (!fromModel(e.target)) return;
    e.preventDefault();
    if (e.inputType === 'insertText' || e.inputType === 'insertCompositionText') {
      if (e.data) act(() => { for (const ch of e.data) page.keyChar(ch.codePointAt(0)); page.keyUp(0, 0); });
    }
  });
  formEl.addEventListener('focusin', (e) => {
    if (updating) return;
    const id = e.target.dataset && e.target.dataset.id;
    if (id !== undefined && focusables[id] === e.target) act(() => page.focus(Number(id)));
  });
  formEl.addEventListener('focusout', (e) => {
    if (updating || e.target !== calendarEl) return;
    if (e.relatedTarget && calendarEl.contains(e.relatedTarget)) return;
    act(() => page.calendarKillFocus());
  });
  // Buttons of the model never take the focus from the field being edited.
  formEl.addEventListener('mousedown', (e) => {
    const button = e.target.closest('button');
    if (button && formEl.contains(button)) e.preventDefault();
  });
  formEl.addEventListener('mouseup', (e) => {
    const input = e.target;
    if (input.type !== 'text' || input.dataset.id === undefined || document.activeElement !== input) return;
    const start = codePointsOf(input.value, input.selectionStart);
    const end = codePointsOf(input.value, input.selectionEnd);
    act(() => page.select(Number(input.dataset.id), start, end - start));
  });
  formEl.addEventListener('click', (e) => {
    const button = e.target.closest('button');
    if (button && formEl.contains(button)) {
      if (button.dataset.day) act(() => page.calendarDay(Number(button.dataset.day)));
      else if (button.dataset.step) act(() => page.calendarStep(Number(button.dataset.step)));
      else if (button.dataset.id !== undefined) act(() => page.click(Number(button.dataset.id), button.dataset.part || ''));
      return;
    }
    const input = e.target;
    if (input.type === 'radio' && input.dataset.id !== undefined) act(() => page.click(Number(input.dataset.id), ''));
  });
  for (const command of ['cut', 'copy', 'paste']) {
    formEl.addEventListener(command, (e) => {
      const input = e.target;
      if (input.type !== 'text' || input.dataset.id === undefined) return;
      e.preventDefault();
      const pasted = command === 'paste' ? e.clipboardData.getData('text/plain') : '';
      let text = '';
      act(() => { text = page.edit(Number(input.dataset.id), command, pasted); });
      if (command !== 'paste') e.clipboardData.setData('text/plain', text);
    });
  }

  // --- What the writer gets beyond the controls ---
  function entryDocuments(style) {
    const changes = {
      text: page.entry(style, 'text'),
      rtf: page.entry(style, 'rtf'),
    };
    const out = document.getElementById(style);
    const html = `<p>${out.innerHTML}</p>`;
    return { text: changes.text, rtf: changes.rtf, html };
  }
  async function copyEntry(style) {
    const docs = entryDocuments(style);
    // A copy event lets the page put several kinds of text at once, without a permission.
    let written = false;
    const onCopy = (e) => {
      e.preventDefault();
      e.clipboardData.setData('text/html', docs.html);
      e.clipboardData.setData('text/plain', docs.text);
      try { e.clipboardData.setData('text/rtf', docs.rtf); } catch (_) { /* not every browser takes it */ }
      written = true;
    };
    document.addEventListener('copy', onCopy);
    try { document.execCommand('copy'); } catch (_) { /* below */ }
    document.removeEventListener('copy', onCopy);
    if (!written && navigator.clipboard && window.ClipboardItem) {
      await navigator.clipboard.write([new ClipboardItem({
        'text/html': new Blob([docs.html], { type: 'text/html' }),
        'text/plain': new Blob([docs.text], { type: 'text/plain' }),
      })]);
      written = true;
    }
    statusEl.textContent = written ? `The ${style.toUpperCase()} entry is on the clipboard.` : 'The browser did not let the page copy.';
  }
  function download(name, type, text) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(new Blob([text], { type }));
    a.download = name;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 1000);
  }
  function show(kind) {
    statusEl.textContent = '';
    dialogQueue.length = 0;
    build(JSON.parse(page.show(kind)));
    update();
  }

  kindSelect.addEventListener('change', () => act(() => show(kindSelect.value), false));
  document.getElementById('check').addEventListener('click', () => act(() => page.checkRequiredFields()));
  document.getElementById('copy-mla').addEventListener('click', () => copyEntry('mla').catch((e) => { statusEl.textContent = errorText(e); }));
  document.getElementById('copy-apa').addEventListener('click', () => copyEntry('apa').catch((e) => { statusEl.textContent = errorText(e); }));
  document.getElementById('save-saved').addEventListener('click', () =>
    download(`${desc.kind.toLowerCase()}.txt`, 'text/plain', page.savedData()));
  document.getElementById('save-csl').addEventListener('click', () =>
    download(`${desc.kind.toLowerCase()}.json`, 'application/json', page.cslJson()));
  document.getElementById('load').addEventListener('change', async (e) => {
    const file = e.target.files[0];
    if (!file) return;
    const text = await file.text();
    e.target.value = '';
    act(() => {
      const result = JSON.parse(page.load(text));
      if (result.form) build(result.form);
      statusEl.textContent = result.ok ? `Loaded ${file.name}.` : `${file.name}: ${result.message}`;
    });
  });

  // --- The script interface for hosts and tests ---
  function call(f) {
    try {
      return f();
    } catch (e) {
      throw new Error(errorText(e));
    }
  }
  let resolveReady;
  const ready = new Promise((resolve) => { resolveReady = resolve; });
  window.citara = {
    ready,
    forms: () => JSON.parse(page.forms()),
    show: (kind) => new Promise((resolve, reject) => {
      try {
        call(() => show(kind));
      } catch (e) {
        reject(e);
        return;
      }
      requestAnimationFrame(() => resolve());
    }),
    savedData: () => page.savedData(),
    setSavedData: (text) => {
      const message = call(() => page.setSavedData(String(text)));
      update();
      if (message) throw new Error(message);
    },
    entry: (style, format) => call(() => page.entry(String(style), String(format || 'rtf'))),
    validate: () => {
      const v = JSON.parse(page.validate());
      return { ok: v.ok, message: v.message };
    },
  };

  createCitara().then((m) => {
    module = m;
    page = new m.Page(measure);
    const kinds = JSON.parse(page.forms());
    for (const kind of kinds) {
      const option = document.createElement('option');
      option.value = kind;
      option.textContent = kind;
      kindSelect.append(option);
    }
    const wanted = decodeURIComponent(location.hash.slice(1));
    show(kinds.find((k) => k.toLowerCase() === wanted.toLowerCase()) || kinds[0]);
    requestAnimationFrame(() => resolveReady());
  });
})();
