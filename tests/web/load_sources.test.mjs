// Every kind of source load() takes, each in a fresh copy of the module (a
// query string makes a new module instance).
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { test } from 'node:test';

import { moduleUrl } from './harness.mjs';

const wasmUrl = new URL('./karbelon.wasm', moduleUrl);
const bytes = await readFile(wasmUrl);
const compiled = await WebAssembly.compile(bytes);
const request = { hp: '650000', mp: '900000', defence: '-100' };

const sources = [
  ['a compiled module', () => compiled],
  ['a promise of a compiled module', () => WebAssembly.compile(bytes)],
  ['a promise of bytes', () => Promise.resolve(new Uint8Array(bytes))],
  ['a promise of nothing (the file beside it)', () => Promise.resolve(undefined)],
  ['a file URL', () => wasmUrl],
];

for (const [name, source] of sources) {
  test(`load() from ${name}`, async () => {
    const karbelon = await import(`${moduleUrl}?${encodeURIComponent(name)}`);
    await karbelon.load(source());
    const [first] = karbelon.compareSpells(request);
    assert.equal(first.outcome, 'figures');
    assert.equal(first.actual, 337275);
  });
}

test('load() rejects a failed promise and what is not a source', async () => {
  const failing = await import(`${moduleUrl}?failing`);
  await assert.rejects(failing.load(Promise.reject(new Error('compile failed'))), { message: 'compile failed' });
  const wrong = await import(`${moduleUrl}?wrong`);
  await assert.rejects(wrong.load(Promise.resolve(42)), { name: 'TypeError', message: /WebAssembly\.Module/ });
});
