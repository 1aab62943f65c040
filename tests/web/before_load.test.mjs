// Its own file, so its own process: the module is not loaded yet here.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { test } from 'node:test';

import { moduleUrl } from './harness.mjs';

test('every export but load refuses before load() resolves; load() gives one promise', async () => {
  const karbelon = await import(moduleUrl);
  const request = { spell: '', hp: '', mp: '', defence: '' };
  const calls = [
    () => karbelon.calculate(request),
    () => karbelon.compareSpells(request),
    () => karbelon.controlTable(),
    () => karbelon.createForm1({}),
    () => karbelon.chooseTextSize({}, 12, 8),
  ];
  for (const call of calls) {
    assert.throws(call, { name: 'Error', message: 'karbelon: call load() first' });
  }
  // From bytes, as a page that fetched them itself would.
  const bytes = await readFile(new URL('./karbelon.wasm', moduleUrl));
  const first = karbelon.load(new Uint8Array(bytes));
  assert.equal(karbelon.load(), first);
  await first;
  assert.equal(karbelon.compareSpells(request).outcome, 'message');
});
