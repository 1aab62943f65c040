#!/usr/bin/env node
// A press of the calculate button in the WebAssembly module, per press from
// Node: the presenter reads the four boxes of a view, calculates and writes
// the report, as on the page. Beside it the native core bench's time for the
// same request (calculation and report, no view), and the module's
// comparison of all eight spells, which the page adds to each report.
//
//   node bench/web_calculate.mjs [build/web] [build/linux/bin/core_bench]
import { spawnSync } from 'node:child_process';
import path from 'node:path';
import { performance } from 'node:perf_hooks';
import { pathToFileURL } from 'node:url';

const webDir = path.resolve(process.argv[2] ?? 'build/web');
const coreBench = path.resolve(process.argv[3] ?? 'build/linux/bin/core_bench');
const runs = 9;
const pressesPerRun = 200_000;

const karbelon = await import(pathToFileURL(path.join(webDir, 'karbelon.js')).href);
await karbelon.load();

// The window's start texts, by control name, as the table gives them.
const texts = Object.fromEntries(karbelon.controlTable().controls.map((control) => [control.name, control.text]));
let sink = 0;
const view = {
  controlText: (name) => texts[name],
  setControlText: (name, text) => {
    sink += text.length;
  },
  appendSpellItem() {},
  showErrorMessage() {
    throw new Error('the start values gave a message');
  },
  unload() {},
  openAuthorPage() {},
};
const form = karbelon.createForm1(view);
const startRequest = { hp: '650000', mp: '900000', defence: '-100' };

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// Wall and CPU time per call of one run. On a shared machine the wall clock
// also counts the time other processes hold the cores.
function timed(calls, call) {
  const start = performance.now();
  const cpuStart = process.cpuUsage();
  for (let i = 0; i < calls; ++i) {
    call();
  }
  const cpu = process.cpuUsage(cpuStart);
  return {
    wall: ((performance.now() - start) * 1e6) / calls,
    cpu: ((cpu.user + cpu.system) * 1e3) / calls,
  };
}

const press = () => form.command1Click();
const compare = () => {
  sink += karbelon.compareSpells(startRequest).length;
};
timed(pressesPerRun, press); // warm-up: let the JIT settle
timed(pressesPerRun / 10, compare);

// One run of the native bench for the same request.
function nativeRun() {
  const native = spawnSync(coreBench, [
    '--benchmark_filter=BM_StartValues$',
    '--benchmark_format=json',
    '--benchmark_min_time=0.2',
  ]);
  if (native.status !== 0) {
    console.error(`cannot run ${coreBench}: ${native.stderr}`);
    process.exit(1);
  }
  const [result] = JSON.parse(native.stdout).benchmarks;
  return { wall: result.real_time, cpu: result.cpu_time };
}

// The three alternate, so that a slower spell of the machine (a virtual one
// shares its cores with others) falls on all alike; each round gives a ratio.
const rounds = [];
for (let run = 0; run < runs; ++run) {
  rounds.push({ module: timed(pressesPerRun, press), native: nativeRun(), compare: timed(pressesPerRun / 10, compare) });
}
const medianOf = (pick) => median(rounds.map(pick));
const row = (label, pick) =>
  console.log(`  ${label.padEnd(24)}${medianOf((round) => pick(round).wall).toFixed(0).padStart(7)}  ${medianOf((round) => pick(round).cpu).toFixed(0).padStart(7)}`);

console.log(`start values, median of ${runs} alternating rounds (${pressesPerRun} presses a module run; checksum ${sink})`);
console.log('                          wall ns   cpu ns  (per call)');
row('press, WebAssembly:', (round) => round.module);
row('native core bench:', (round) => round.native);
row('compareSpells, Wasm:', (round) => round.compare);
const ratio = (kind) => medianOf((round) => round.module[kind] / round.native[kind]);
console.log(`  ${'press / native:'.padEnd(24)}${ratio('wall').toFixed(2).padStart(7)}  ${ratio('cpu').toFixed(2).padStart(7)}`);
form.dispose();
