// The page's pure helpers, run in node against the built module's table.
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { existsSync, readFileSync } from 'node:fs';
import { resolve } from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { runInNewContext } from 'node:vm';
import { webDir } from './harness.mjs';

const page = (file) => import(pathToFileURL(resolve(webDir, file)).href);
// The start script is a classic script inline in the page: run it here with
// only what it uses of a browser (no streaming compilation, so no request).
const startScript = readFileSync(new URL('../../web/page_start.js', import.meta.url), 'utf8');
const startContext = { Intl, Promise, navigator: { language: 'ko-KR' }, WebAssembly: {} };
startContext.globalThis = startContext;
runInNewContext(startScript, startContext);
// Copied into this realm: deepEqual tells the other realm's objects apart.
const numberConventions = (locale) => ({ ...startContext.karbelonStart.numberConventions(locale) });
const karbelon = await page('karbelon.js');
await karbelon.load();

test('separators follow the locale', () => {
    const cases = [
        ['ko-KR', '.', ','],
        ['en-US', '.', ','],
        ['de-DE', ',', '.'],
        ['es-ES', ',', '.'],
        ['not a language tag', ...Object.values(numberConventions(undefined))],
    ];
    for (const [locale, decimalSeparator, thousandsSeparator] of cases) {
        assert.deepEqual(numberConventions(locale), { decimalSeparator, thousandsSeparator }, locale);
    }
});

test('the manifest and the offline file list name only files that exist', () => {
    const manifest = JSON.parse(readFileSync(resolve(webDir, 'manifest.webmanifest'), 'utf8'));
    // The build writes the window's caption as the manifest's name.
    assert.equal(manifest.name, karbelon.controlTable().caption);
    assert.equal(manifest.short_name, '카르벨론');
    assert.equal(manifest.display, 'standalone');
    const worker = readFileSync(resolve(webDir, 'sw.js'), 'utf8');
    const cached = [...worker.matchAll(/'\.\/([^']*)'/g)].map((match) => match[1]);
    // One missing file makes the worker's install fail, and nothing is kept.
    for (const file of [...manifest.icons.map((icon) => icon.src), ...cached.filter((file) => file !== '')]) {
        assert.ok(existsSync(resolve(webDir, file)), file);
    }
    for (const icon of manifest.icons) {
        assert.ok(cached.includes(icon.src), `${icon.src} is kept offline`);
    }
    assert.ok(cached.includes('karbelon.wasm') && cached.includes('index.html'));
    // The page's modules are the ones its head preloads: each kept, no other.
    const html = readFileSync(resolve(webDir, 'index.html'), 'utf8');
    const preloaded = [...html.matchAll(/<link rel="modulepreload" href="([^"]*)">/g)].map((match) => match[1]);
    assert.deepEqual(cached.filter((file) => file.endsWith('.js')).sort(), [...preloaded].sort());
});

test('the policy lets the one inline script run, by its hash, and no other', () => {
    const html = readFileSync(resolve(webDir, 'index.html'), 'utf8');
    const policy = /http-equiv="Content-Security-Policy" content="([^"]*)"/.exec(html)[1];
    const scriptSources = /script-src ([^;]*)/.exec(policy)[1].split(' ');
    const inline = [...html.matchAll(/<script>([\s\S]*?)<\/script>/g)].map((match) => match[1]);
    assert.deepEqual(inline, [startScript]);
    const digest = createHash('sha256').update(startScript, 'utf8').digest('base64');
    assert.deepEqual(scriptSources, ["'self'", "'wasm-unsafe-eval'", `'sha256-${digest}'`]);
});
