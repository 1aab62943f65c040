// The npm package as a user gets it: the tarball's contents and size, an
// install from it into an empty project with `import 'karbelon'`, its answers
// against karbelon-cli, and its declarations against what the module returns.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { copyFileSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { batchAnswers, runCli, sourceDir, webDir } from '../web/harness.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const packagesDir = process.env.KARBELON_PACKAGES_DIR ?? path.join(sourceDir, 'build/packages');
const tsc = path.join(sourceDir, 'tests/web-ui/node_modules/typescript/bin/tsc');
const sizeLimit = 100_000; // bytes of the gzip tarball

// The product version a.b.c.0 of the project() line, as semver a.b.c.
const productVersion = /^project\(Karbelon VERSION (\d+\.\d+\.\d+)\.0 /m.exec(
  readFileSync(path.join(sourceDir, 'CMakeLists.txt'), 'utf8'),
)[1];
const tarball = path.join(packagesDir, `karbelon-${productVersion}.tgz`);

let project;
let karbelon;

before(async () => {
  assert.ok(statSync(tarball, { throwIfNoEntry: false }), `${tarball} is missing: run make package`);
  project = mkdtempSync(path.join(tmpdir(), 'karbelon-npm-'));
  writeFileSync(path.join(project, 'package.json'), JSON.stringify({ name: 'user', private: true, type: 'module' }));
  execFileSync('npm', ['install', '--offline', '--no-audit', '--no-fund', '--loglevel=error', tarball], { cwd: project });
  // The bare specifier resolves from the user's project, not from this tree.
  writeFileSync(path.join(project, 'uses.mjs'), "export * from 'karbelon';\n");
  karbelon = await import(pathToFileURL(path.join(project, 'uses.mjs')).href);
  await karbelon.load();
});

after(() => rmSync(project, { recursive: true, force: true }));

test('the tarball holds the module, its declarations, read-me, notices and manifest, and nothing else', () => {
  const listing = execFileSync('tar', ['-tzf', tarball], { encoding: 'utf8' }).split('\n').filter(Boolean).sort();
  assert.deepEqual(listing, [
    'package/LICENSES-wasm.txt',
    'package/README.md',
    'package/karbelon.d.ts',
    'package/karbelon.js',
    'package/karbelon.wasm',
    'package/package.json',
  ]);
  const size = statSync(tarball).size;
  assert.ok(size <= sizeLimit, `${size} bytes, more than ${sizeLimit}`);

  const installed = path.join(project, 'node_modules/karbelon');
  // One wrapper: the page's own karbelon.js and the module the web build made.
  assert.deepEqual(readFileSync(path.join(installed, 'karbelon.js')), readFileSync(path.join(sourceDir, 'web/module/karbelon.js')));
  assert.deepEqual(readFileSync(path.join(installed, 'karbelon.wasm')), readFileSync(path.join(webDir, 'karbelon.wasm')));

  const manifest = JSON.parse(readFileSync(path.join(installed, 'package.json'), 'utf8'));
  assert.equal(manifest.name, 'karbelon');
  assert.equal(manifest.version, productVersion);
  assert.equal(manifest.type, 'module');
  assert.deepEqual(manifest.engines, { node: '>=18' });
  assert.equal(manifest.exports['.'].default, './karbelon.js');
  assert.equal(manifest.exports['.'].types, manifest.types);
  for (const field of ['dependencies', 'optionalDependencies', 'peerDependencies', 'scripts', 'bundleDependencies']) {
    assert.equal(manifest[field], undefined, `package.json must have no ${field}`);
  }
  assert.match(manifest.description, /[가-힣].*Karbelon/);
});

function goldenRequests() {
  const goldenDir = path.join(sourceDir, 'tests/golden');
  const members = ['spell', 'hp', 'mp', 'defence'];
  const requests = [];
  for (const file of readdirSync(goldenDir).filter((name) => name.endsWith('.requests.jsonl'))) {
    for (const line of readFileSync(path.join(goldenDir, file), 'utf8').split('\n')) {
      let request;
      try {
        request = JSON.parse(line);
      } catch {
        continue; // the CLI's own reading errors: not a request the package can take
      }
      if (request !== null && typeof request === 'object' && members.every((member) => typeof request[member] === 'string')) {
        requests.push(Object.fromEntries(members.map((member) => [member, request[member]])));
      }
    }
  }
  return requests;
}

test('the golden requests get the answers of karbelon-cli --batch', () => {
  const requests = goldenRequests();
  assert.ok(requests.length > 40, `only ${requests.length} golden requests`);
  const answers = batchAnswers(requests);
  requests.forEach((request, index) => {
    assert.equal(JSON.stringify(karbelon.calculate(request)), answers[index], JSON.stringify(request));
  });
});

// [hp, mp, defence]: figures, grouping, every request-wide outcome, an
// overflow of some spells only, of every spell, and a number beyond 2^53.
const comparisons = [
  ['650000', '900000', '-100'],
  ['650,000', '1234567.89', '-99.5'],
  ['', '900000', '-100'],
  ['650000', 'many', '0'],
  ['650000', '900000', ''],
  ['650000', '900000', '201'],
  ['1', `1${'0'.repeat(308)}`, '-100'],
  ['1', '9'.repeat(400), '0'],
  ['1', '123456789012345678901234', '200'],
];

test('compareSpells gives the rows of karbelon-cli --all-spells --json', () => {
  for (const [hp, mp, defence] of comparisons) {
    const { stdout } = runCli(['--all-spells', '--json', '--hp', hp, '--mp', mp, '--defence', defence]);
    assert.equal(JSON.stringify(karbelon.compareSpells({ hp, mp, defence })), stdout.trimEnd(), `${hp} / ${mp} / ${defence}`);
  }
});

function compile(directory, files) {
  const result = spawnSync(
    process.execPath,
    [tsc, '--noEmit', '--strict', '--target', 'es2022', '--module', 'nodenext', '--moduleResolution', 'nodenext',
      '--lib', 'es2022,dom', ...files],
    { cwd: directory, encoding: 'utf8' },
  );
  return { status: result.status, output: result.stdout + result.stderr };
}

// What the module really returns, as typed literals: `satisfies` fails on a
// member the declarations lack or miss, and on a wrong literal type.
function actualAnswersSource() {
  const lines = ["import type { Answer, Comparison, ControlTable } from 'karbelon';"];
  const typed = (value, type) => lines.push(`export const v${lines.length} = ${JSON.stringify(value)} satisfies ${type};`);
  for (const request of goldenRequests()) {
    typed(karbelon.calculate(request), 'Answer');
  }
  for (const [hp, mp, defence] of comparisons) {
    typed(karbelon.compareSpells({ hp, mp, defence }), 'Comparison');
  }
  typed(karbelon.controlTable(), 'ControlTable');
  return lines.join('\n') + '\n';
}

test('the declarations type every export and what the module really returns', () => {
  assert.ok(statSync(tsc, { throwIfNoEntry: false }), 'TypeScript is missing: cd tests/web-ui && npm ci');
  copyFileSync(path.join(here, 'typed/usage.ts'), path.join(project, 'usage.ts'));
  writeFileSync(path.join(project, 'actual.ts'), actualAnswersSource());
  const { status, output } = compile(project, ['usage.ts', 'actual.ts']);
  assert.equal(status, 0, output);
});

// Wrong uses that must not compile, each with the error TypeScript must give.
const wrongUses = [
  ['a member of one outcome read off the union', "calculate(request).report", /TS2339: Property 'report' does not exist on type 'Answer'/],
  ['the figures of a message', "const a = calculate(request); if (a.outcome === 'message') a.report;", /TS2339: Property 'report'/],
  ['a row without its outcome checked', "const c = compareSpells(request); if (Array.isArray(c)) c[0].columns;", /TS2339: Property 'columns'/],
  ['an outcome that does not exist', "if (calculate(request).outcome === 'error') {}", /TS2367/],
  ['a request member misspelt', "calculate({ spell: '', hp: '', mana: '', defence: '' });", /TS2353|TS2561/],
];

test('a wrong member on an answer does not compile', () => {
  for (const [name, code, error] of wrongUses) {
    const file = 'wrong.ts';
    writeFileSync(
      path.join(project, file),
      "import { calculate, compareSpells } from 'karbelon';\n" +
        "const request = { spell: '카르벨론', hp: '1', mp: '1', defence: '0' };\n" +
        `${code}\nexport {};\n`,
    );
    const { status, output } = compile(project, [file]);
    assert.notEqual(status, 0, `${name} compiled`);
    assert.match(output, error, name);
  }
});
