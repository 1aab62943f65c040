// Shared by the module's Node tests: where the built files are, the CLI run
// in batch mode, and the repeatable request generator.
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

export const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const webDir = process.env.KARBELON_WEB_DIR ?? path.join(sourceDir, 'build/web');
export const cliPath = process.env.KARBELON_CLI ?? path.join(sourceDir, 'build/linux/bin/karbelon-cli');
export const moduleUrl = pathToFileURL(path.join(webDir, 'karbelon.js')).href;

export const germanConventions = { decimalSeparator: ',', thousandsSeparator: '.' };

function cliEnvironment(locale) {
  const env = Object.fromEntries(
    Object.entries(process.env).filter(([name]) => !name.startsWith('LC_') && name !== 'LANG'),
  );
  return { ...env, ...locale };
}

// Runs karbelon-cli with the given arguments and standard input.
export function runCli(args, { input = '', locale = { LC_ALL: 'C' } } = {}) {
  if (!existsSync(cliPath)) {
    throw new Error(`${cliPath} is missing: build it first (make linux), or set KARBELON_CLI`);
  }
  const result = spawnSync(cliPath, args, {
    input,
    env: cliEnvironment(locale),
    maxBuffer: 1 << 30,
  });
  if (result.error) {
    throw result.error;
  }
  return { status: result.status, stdout: result.stdout.toString('utf8'), stderr: result.stderr.toString('utf8') };
}

// The answer lines of `karbelon-cli --batch` for the requests, one per request.
export function batchAnswers(requests, locale) {
  const input = requests.map((request) => JSON.stringify(request)).join('\n') + '\n';
  const { stdout, stderr } = runCli(['--batch'], { input, locale });
  if (stderr !== '') {
    throw new Error(`karbelon-cli --batch wrote to standard error: ${stderr.slice(0, 500)}`);
  }
  return stdout.split('\n').slice(0, -1);
}

// A German UTF-8 locale built into a temporary folder (as tests/cli does), or
// null where the 'locales' package is missing.
export function withGermanLocale(use) {
  const directory = mkdtempSync(path.join(tmpdir(), 'karbelon-web-locales-'));
  try {
    const built = spawnSync('localedef', ['-i', 'de_DE', '-f', 'UTF-8', path.join(directory, 'de_DE.UTF-8')]);
    if (built.error || built.status !== 0) {
      return use(null);
    }
    return use({ LOCPATH: directory, LC_ALL: 'de_DE.UTF-8' });
  } finally {
    rmSync(directory, { recursive: true, force: true });
  }
}

// mulberry32: small, fast and the same sequence on every machine.
export function seededRandom(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const megabyteOfDigits = '7'.repeat(1 << 20);

// Number texts, plain and hostile: grouping right and wrong, foreign and
// missing separators, NUL, astral and full-width digits, exponents, words,
// huge and tiny values and a megabyte of digits.
function numberText(random, pick, decimal, thousands) {
  const whole = () => String(Math.floor(random() * 10 ** (1 + Math.floor(random() * 9))));
  const grouped = (digits) => digits.replace(/\B(?=(\d{3})+(?!\d))/g, thousands);
  const forms = [
    () => whole(),
    () => whole(),
    () => `${whole()}${decimal}${whole()}`,
    () => grouped(whole()),
    () => `${grouped(whole())}${decimal}${whole()}`,
    () => `${pick(['-', '+', ' ', ''])}${whole()}${pick([' ', '  ', ''])}`,
    () => `${whole()}${pick([thousands, decimal])}${whole().slice(0, 2)}`, // a group of the wrong size
    () => `${whole()}${pick(['·', '٫', '\u202f', '\u00a0', "'", '_', ';'])}${whole()}`,
    () => `${whole()}\u0000${whole()}`,
    () => pick(['', ' ', '-', '+', decimal, thousands, `${decimal}5`, `5${decimal}`, `${thousands}5`]),
    () => pick(['𝟙𝟚𝟛', '１２３', '😀', '12😀', '٣', '1e5', '1E-3', 'NaN', 'inf', '-Infinity', '0x10']),
    () => `${'9'.repeat(300 + Math.floor(random() * 40))}`,
    () => `0${decimal}${'0'.repeat(320 + Math.floor(random() * 20))}1`,
    () => `${pick(['-', ''])}${random() * 400 - 200}`.replace('.', decimal),
    () => (random() < 0.02 ? megabyteOfDigits : whole()),
  ];
  return pick(forms)();
}

// count requests from a fixed seed; spellNames are the table's spells.
export function generateRequests(count, seed, spellNames, conventions = {}) {
  const decimal = conventions.decimalSeparator ?? '.';
  const thousands = conventions.thousandsSeparator ?? ',';
  const random = seededRandom(seed);
  const pick = (items) => items[Math.floor(random() * items.length)];
  const hostileSpells = ['', '불꽃', ' 카르벨론', '카르벨론 ', '카르벨론\u0000', '😀', '카르\u0000벨론', '𝒦'];
  const defences = () =>
    random() < 0.5 ? String(Math.round(random() * 500 - 250)) : numberText(random, pick, decimal, thousands);
  const requests = [];
  for (let i = 0; i < count; ++i) {
    requests.push({
      spell: random() < 0.85 ? pick(spellNames) : pick(hostileSpells),
      hp: numberText(random, pick, decimal, thousands),
      mp: numberText(random, pick, decimal, thousands),
      defence: defences(),
    });
  }
  return requests;
}
