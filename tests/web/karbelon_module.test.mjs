// The WebAssembly module through karbelon.js: the CLI's golden files, the
// same answers as `karbelon-cli --batch` for generated and hostile requests,
// both pressed through the presenter as the page does, and the window's
// table, presenter and text-size rule for a page.
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import {
  batchAnswers,
  generateRequests,
  germanConventions,
  moduleUrl,
  runCli,
  sourceDir,
  withGermanLocale,
} from './harness.mjs';

const karbelon = await import(moduleUrl);
await karbelon.load();

const requestMembers = ['spell', 'hp', 'mp', 'defence'];
const strictUtf8 = new TextDecoder('utf-8', { fatal: true });

// What a JSON value looks like once serialised: the comparison the CLI and
// the module must pass byte for byte.
const serialised = (value) => JSON.stringify(value);

// The box each request member and the report go into, as the table says.
const boxOf = Object.fromEntries(
  karbelon.controlTable().controls.filter((control) => 'feeds' in control).map((control) => [control.feeds, control.name]),
);

// A press of the calculate button with the request's texts in their boxes,
// answered in the CLI's terms: the report written, the message shown or the
// defence box reset. Nothing else may happen.
function press(request, conventions) {
  const view = recordingView(Object.fromEntries(requestMembers.map((member) => [boxOf[member], request[member]])));
  const form = karbelon.createForm1(view, conventions);
  form.command1Click();
  form.dispose();
  assert.equal(view.calls.length, 1, JSON.stringify(view.calls).slice(0, 300));
  const [[operation, first, second]] = view.calls;
  if (operation === 'showErrorMessage' && second === 'Karbelon') {
    return { outcome: 'message', message: first };
  }
  if (operation === 'setControlText' && first === boxOf.report) {
    return { outcome: 'figures', report: second };
  }
  if (operation === 'setControlText' && first === boxOf.defence && second === '0') {
    return { outcome: 'defence-reset' };
  }
  throw new Error(`unexpected ${JSON.stringify(view.calls).slice(0, 300)}`);
}

// A CLI answer as a press shows it.
function shown(answer) {
  const { outcome, report, message } = answer;
  return outcome === 'figures' ? { outcome, report } : outcome === 'message' ? { outcome, message } : { outcome };
}

function spellNamesFromForm() {
  const names = [];
  const form = karbelon.createForm1(recordingView({}, { appendSpellItem: (name) => names.push(name) }));
  form.load();
  form.dispose();
  return names;
}

test('every golden request is answered as the expected file says', () => {
  const goldenDir = path.join(sourceDir, 'tests/golden');
  const files = readdirSync(goldenDir).filter((name) => name.endsWith('.requests.jsonl'));
  assert.ok(files.length > 0);
  let compared = 0;
  for (const file of files) {
    const lines = readFileSync(path.join(goldenDir, file)).toString('latin1').split('\n');
    if (lines.at(-1) === '') {
      lines.pop();
    }
    const expectedLines = readFileSync(path.join(goldenDir, file.replace('.requests.', '.expected.')), 'utf8')
      .split('\n')
      .filter((line) => line !== '');
    assert.equal(lines.length, expectedLines.length, file);
    lines.forEach((latin1Line, index) => {
      const where = `${file} line ${index + 1}`;
      const expected = JSON.parse(expectedLines[index]);
      let request;
      try {
        request = JSON.parse(strictUtf8.decode(Buffer.from(latin1Line.replace(/\r$/, ''), 'latin1')));
      } catch {
        assert.equal(expected.outcome, 'invalid', where); // not UTF-8 or not JSON: only the CLI sees it
        return;
      }
      const isRequest =
        request !== null &&
        typeof request === 'object' &&
        !Array.isArray(request) &&
        Object.keys(request).every((key) => requestMembers.includes(key)) &&
        requestMembers.every((member) => typeof request[member] === 'string');
      if (!isRequest) {
        assert.equal(expected.outcome, 'invalid', where);
        // The comparison takes all members but the spell, and names a bad one.
        const badMember = requestMembers.slice(1).find((member) => member in request && typeof request[member] !== 'string');
        if (badMember !== undefined) {
          assert.throws(() => karbelon.compareSpells(request), { name: 'TypeError', message: `${badMember} must be a string` }, where);
        }
        return;
      }
      assert.equal(serialised(karbelon.calculate(request)), serialised(expected), where);
      assert.equal(serialised(press(request)), serialised(shown(expected)), where);
      compared += 1;
    });
  }
  assert.ok(compared > 40, `only ${compared} golden requests compared`);
});

function assertSameAsCli(requests, conventions, locale) {
  const answers = batchAnswers(requests, locale);
  assert.equal(answers.length, requests.length);
  requests.forEach((request, index) => {
    const cliAnswer = JSON.parse(answers[index]);
    // calculate() gives the CLI's whole answer, a press what the window shows of it.
    for (const [moduleAnswer, expected] of [
      [serialised(karbelon.calculate(request, conventions)), serialised(cliAnswer)],
      [serialised(press(request, conventions)), serialised(shown(cliAnswer))],
    ]) {
      if (moduleAnswer !== expected) {
        assert.fail(`request ${index} ${JSON.stringify(request).slice(0, 300)}:\n` +
          `  module ${moduleAnswer.slice(0, 300)}\n  cli    ${answers[index].slice(0, 300)}`);
      }
    }
  });
}

test('10,000 generated requests get the answers of karbelon-cli --batch', () => {
  const requests = generateRequests(10_000, 20240614, spellNamesFromForm());
  assertSameAsCli(requests, undefined, { LC_ALL: 'C' });
});

test('under German conventions the module answers as the CLI in de_DE.UTF-8', (t) => {
  withGermanLocale((locale) => {
    if (locale === null) {
      t.skip('cannot build the de_DE.UTF-8 locale (Debian package locales)');
      return;
    }
    const requests = generateRequests(2_000, 4711, spellNamesFromForm(), germanConventions);
    assertSameAsCli(requests, germanConventions, locale);
  });
});

test('compareSpells prints what karbelon-cli --all-spells --json prints', () => {
  const cases = [
    ['650000', '900000', '-100'],
    ['650,000', '1234567.89', '-99.5'],
    ['650000', '900000', ''],
    ['', '900000', '-100'],
    ['650000', '900000', '201'],
    ['650000', '9'.repeat(400), '0'],
    ['650000', `1${'0'.repeat(308)}`, '-100'],
    ['1', '𝟙', '0'],
  ];
  for (const [hp, mp, defence] of cases) {
    const { stdout } = runCli(['--all-spells', '--json', '--hp', hp, '--mp', mp, '--defence', defence]);
    const answer = karbelon.compareSpells({ spell: 'unused', hp, mp, defence });
    assert.equal(serialised(answer), serialised(JSON.parse(stdout)), `${hp} / ${mp} / ${defence}`);
  }
  // A spell whose damage overflows has its message in its row; the others keep their figures.
  const rows = karbelon.compareSpells({ hp: '1', mp: `1${'0'.repeat(308)}`, defence: '-100' });
  assert.deepEqual(rows[2], { spell: '지옥진화', outcome: 'message', message: '입력된 마력이 너무 큽니다.' });
  assert.equal(rows[0].outcome, 'figures');
  assert.match(rows[0].report, /^실제데미지 : 37,500,[\d,]*,376\r\n/);
});

test('texts cross whole: NUL, astral characters, 10 MB, lone surrogates as U+FFFD', () => {
  const base = { spell: '카르벨론', hp: '650000', mp: '900000', defence: '-100' };
  const tenMegabytes = '1'.repeat(10 * 1024 * 1024);
  const cases = [
    // [request, the request the module must treat it as]
    [{ ...base, spell: '카르벨론\u0000' }, null],
    [{ ...base, mp: `${tenMegabytes}` }, null],
    [{ ...base, mp: `9\u0000` }, null],
    [{ ...base, spell: '\ud800카르벨론' }, { ...base, spell: '\ufffd카르벨론' }],
    [{ ...base, hp: '650000\udfff' }, { ...base, hp: '650000\ufffd' }],
  ];
  const [withNul, huge] = [cases[0][0], cases[1][0]];
  assert.equal(press(withNul).report.includes('337,275'), false, 'a NUL must not cut the spell name');
  assert.equal(press(huge).outcome, 'message');
  assert.equal(press({ ...base, hp: tenMegabytes }).outcome, 'figures');
  for (const [request, sameAs] of cases.filter(([, same]) => same !== null)) {
    assert.deepEqual(press(request), press(sameAs));
  }
  const answers = batchAnswers(cases.slice(0, 3).map(([request]) => request));
  cases.slice(0, 3).forEach(([request], index) => {
    assert.equal(serialised(press(request)), serialised(shown(JSON.parse(answers[index]))));
  });
});

// The separators come back inside the report, so they test both directions
// of the text exchange: every UTF-8 width and its boundaries, surrogates
// paired and lone, and texts past the short roads (over 1 KB of report,
// over 4096 UTF-16 units of request).
test('separators of every UTF-8 width cross into the report and back exactly', () => {
  const base = { spell: '카르벨론', hp: '650000', mp: '900000', defence: '-100' };
  const fractional = { ...base, defence: '-99.5' };
  const plain = press(base);
  const withFraction = press(fractional);
  assert.match(withFraction.report, /\d\.\d/, 'the fractional request must print a decimal separator');
  const asEncoded = (text) => new TextDecoder().decode(new TextEncoder().encode(text));
  const separators = [
    '\u00a0', 'ß', '\u07ff', '\u0800', '\u202f', '\ud7ff', '\ue000', '\uffff', '😀', '\udbff\udfff',
    '\ud800', '\udc00', '\ud800\ud800', '\udc00\ud800', 'x\ud800', '\ud800y', ' ',
    '가'.repeat(400), '𝒦'.repeat(2100),
  ];
  for (const separator of separators) {
    const expected = asEncoded(separator);
    assert.deepEqual(
      press(base, { decimalSeparator: '.', thousandsSeparator: separator }),
      { ...plain, report: plain.report.replaceAll(',', expected) },
      `thousands separator ${JSON.stringify(separator)}`,
    );
    assert.deepEqual(
      press({ ...fractional, defence: `-99${separator}5` }, { decimalSeparator: separator, thousandsSeparator: ',' }),
      { ...withFraction, report: withFraction.report.replaceAll('.', expected) },
      `decimal separator ${JSON.stringify(separator)}`,
    );
  }
  // A long reply to controlText moves the exchange buffer and may grow the
  // memory; what follows must neither write to where the buffer was nor
  // read through a view of the memory as it was.
  assert.equal(press({ ...base, hp: '5'.repeat(300000) }).outcome, 'figures');
  assert.deepEqual(press(base), plain);
  assert.equal(press({ ...base, hp: '5'.repeat(3000000) }).outcome, 'figures');
  assert.deepEqual(press(base), plain);
});

test('requests and conventions that are not strings are refused by name', () => {
  const base = { spell: '카르벨론', hp: '650000', mp: '900000', defence: '-100' };
  const cases = [
    [() => karbelon.calculate({ ...base, spell: undefined }), TypeError, 'spell must be a string'],
    [() => karbelon.calculate({ ...base, hp: 650000 }), TypeError, 'hp must be a string'],
    [() => karbelon.calculate(base, { decimalSeparator: 1 }), TypeError, 'decimalSeparator must be a string'],
    [() => karbelon.compareSpells({ ...base, hp: 650000 }), TypeError, 'hp must be a string'],
    [() => karbelon.compareSpells({ ...base, mp: null }), TypeError, 'mp must be a string'],
    [() => karbelon.compareSpells({ spell: '', hp: '', mp: '' }), TypeError, 'defence must be a string'],
    [() => karbelon.compareSpells({ ...base, defence: new String('1') }), TypeError, 'defence must be a string'],
    [() => karbelon.compareSpells('request'), TypeError, 'request must be an object'],
    [() => karbelon.compareSpells(base, { decimalSeparator: 1 }), TypeError, 'decimalSeparator must be a string'],
    [() => karbelon.createForm1(recordingView({}), { thousandsSeparator: [] }), TypeError, 'thousandsSeparator must be a string'],
    [() => karbelon.chooseTextSize({ reportFits() {}, captionFits() {} }, 12.5, 8), TypeError, 'systemSize must be an integer'],
    [() => karbelon.createForm1({}), TypeError, 'view.controlText must be a function'],
  ];
  for (const [call, type, message] of cases) {
    assert.throws(call, { name: type.name, message });
  }
});

// A view that keeps the boxes' texts and records every call.
function recordingView(texts, overrides = {}) {
  const calls = [];
  const view = {
    texts: { ...texts },
    calls,
    controlText(name) {
      return view.texts[name] ?? '';
    },
    setControlText(name, text) {
      calls.push(['setControlText', name, text]);
      view.texts[name] = text;
    },
    appendSpellItem(text) {
      calls.push(['appendSpellItem', text]);
    },
    showErrorMessage(text, caption) {
      calls.push(['showErrorMessage', text, caption]);
    },
    unload() {
      calls.push(['unload']);
    },
    openAuthorPage(address) {
      calls.push(['openAuthorPage', address]);
    },
    ...overrides,
  };
  return view;
}

test('the control table comes from the C++ table, in creation order', () => {
  const table = karbelon.controlTable();
  assert.equal(table.clientWidth, 5970);
  assert.equal(table.clientHeight, 4770);
  assert.equal(table.messageBoxCaption, 'Karbelon');
  assert.deepEqual(
    table.controls.map((control) => control.name),
    ['Frame1', 'Label2', 'Combo1', 'Label1', 'Text1', 'Label3', 'Text2', 'Label4', 'Text3', 'Text4',
      'Command1', 'Command2', 'Label5', 'Label6'],
  );
  const label6 = table.controls.find((control) => control.name === 'Label6');
  assert.equal(label6.text, table.authorAddress);
  for (const control of table.controls) {
    assert.ok(['Form1', 'Frame1'].includes(control.container), control.name);
    for (const member of ['left', 'top', 'width', 'height', 'tabIndex']) {
      assert.ok(Number.isInteger(control[member]), `${control.name}.${member}`);
    }
  }
  table.controls.length = 0; // a caller's copy, not the module's
  assert.equal(karbelon.controlTable().controls.length, 14);
});

test('the control table carries the window rules: client places, label pairs, names, tab order', () => {
  const table = karbelon.controlTable();
  const byName = new Map(table.controls.map((control) => [control.name, control]));
  const frame = byName.get('Frame1');
  for (const [name, left, top] of [['Frame1', 240, 120], ['Text2', frame.left + 3360, frame.top + 840], ['Command1', 1080, 3600]]) {
    const { clientLeft, clientTop } = byName.get(name);
    assert.deepEqual([clientLeft, clientTop], [left, top], name);
  }
  const members = (member) => Object.fromEntries(
    table.controls.filter((control) => member in control).map((control) => [control.name, control[member]]),
  );
  assert.deepEqual(members('labelFor'), { Label2: 'Combo1', Label1: 'Text1', Label3: 'Text2', Label4: 'Text3' });
  assert.deepEqual(members('accessibleName'), { Combo1: '마법', Text1: '체력', Text2: '마력', Text3: '방어', Text4: '결과' });
  assert.deepEqual(table.tabOrder, [...table.controls].sort((a, b) => a.tabIndex - b.tabIndex).map((control) => control.name));
  assert.deepEqual(table.focusOrder, ['Combo1', 'Text1', 'Text2', 'Text3', 'Text4', 'Command1', 'Command2']);
  assert.deepEqual(members('feeds'), { Combo1: 'spell', Text1: 'hp', Text2: 'mp', Text3: 'defence', Text4: 'report' });
  // Rows from the top, left to right, each label in its box's row; Form1's own first.
  assert.deepEqual(table.readingOrder, ['Frame1', 'Text4', 'Command1', 'Command2', 'Label5', 'Label6',
    'Label2', 'Combo1', 'Label1', 'Text1', 'Label3', 'Text2', 'Label4', 'Text3']);
  assert.equal(table.twipsPerPixel, 15);
});

test('Form1 over a JavaScript view behaves as the desktop window', () => {
  const presets = Object.fromEntries(
    karbelon.controlTable().controls.map((control) => [control.name, control.text]),
  );
  const startRequest = { spell: presets.Combo1, hp: presets.Text1, mp: presets.Text2, defence: presets.Text3 };
  // The module's own comparison gives the report of each spell, or the message.
  const compared = (request, conventions) => {
    const answer = karbelon.compareSpells(request, conventions);
    return Array.isArray(answer) ? answer.find((row) => row.spell === request.spell) : answer;
  };
  const cases = [
    {
      name: 'the preset texts give the report',
      texts: presets,
      act: (form) => form.command1Click(),
      calls: [['setControlText', 'Text4', compared(startRequest).report]],
    },
    {
      name: 'German conventions reach the report',
      texts: { ...presets, Text2: '900.000' },
      conventions: germanConventions,
      act: (form) => form.command1Click(),
      calls: [['setControlText', 'Text4', compared({ ...startRequest, mp: '900.000' }, germanConventions).report]],
    },
    {
      name: 'an empty health box is a message in a box captioned Karbelon',
      texts: { ...presets, Text1: '' },
      act: (form) => form.command1Click(),
      calls: [['showErrorMessage', compared({ ...startRequest, hp: '' }).message, 'Karbelon']],
    },
    {
      name: 'an astral digit and a NUL reach the core unchanged',
      texts: { ...presets, Text2: '9\u0000𝟙' },
      act: (form) => form.command1Click(),
      calls: [['showErrorMessage', compared({ ...startRequest, mp: '9\u0000𝟙' }).message, 'Karbelon']],
    },
    {
      name: 'an empty defence box becomes 0',
      texts: { ...presets, Text3: '' },
      act: (form) => form.command1Click(),
      calls: [['setControlText', 'Text3', '0']],
    },
    {
      name: 'the web label opens the address with a slash',
      texts: presets,
      act: (form) => form.label6Click(),
      calls: [['openAuthorPage', `${presets.Label6}/`]],
    },
    { name: 'close unloads', texts: presets, act: (form) => form.command2Click(), calls: [['unload']] },
  ];
  for (const { name, texts, conventions, act, calls } of cases) {
    const view = recordingView(texts);
    const form = karbelon.createForm1(view, conventions);
    act(form);
    form.dispose();
    assert.deepEqual(view.calls, calls, name);
  }
});

test('Form1 loads the eight spells in table order; a disposed form refuses events', () => {
  const names = spellNamesFromForm();
  assert.equal(names.length, 8);
  assert.deepEqual(
    karbelon.compareSpells({ hp: '650000', mp: '900000', defence: '-100' }).map((row) => row.spell),
    names,
  );
  const form = karbelon.createForm1(recordingView({}));
  form.dispose();
  form.dispose();
  assert.throws(() => form.command1Click(), /disposed/);
});

test('chooseTextSize applies the C++ rule through the page measure', () => {
  const captioned = ['Frame1', 'Label2', 'Label1', 'Label3', 'Label4', 'Command1', 'Command2', 'Label5', 'Label6'];
  const cases = [
    // [largest size at which the report fits, at which captions fit, system, smallest, expected]
    [12, 14, 16, 8, 12],
    [20, 20, 16, 8, 16],
    [4, 20, 16, 8, 8],
    [20, 20, 6, 8, 6],
    [12, 10, 16, 8, 10],
  ];
  for (const [reportLimit, captionLimit, system, smallest, expected] of cases) {
    const asked = new Set();
    let report = '';
    const measure = {
      reportFits(text, size) {
        report = text;
        return size <= reportLimit;
      },
      captionFits(name, size) {
        asked.add(name);
        return size <= captionLimit;
      },
    };
    assert.equal(karbelon.chooseTextSize(measure, system, smallest), expected, `${reportLimit}/${captionLimit}`);
    if (system > smallest) {
      assert.deepEqual([...asked].sort(), [...captioned].sort());
      assert.equal(report, press({ spell: '카르벨론', hp: '650000', mp: '900000', defence: '-100' }).report);
    }
  }
});
