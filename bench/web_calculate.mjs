#!/usr/bin/env node
// calculate() of the WebAssembly module on the window's start values, per
// call from Node (texts in, the JSON answer parsed), beside the native core
// bench's time for the same request.
//
//   node bench/web_calculate.mjs [build/web] [build/linux/bin/core_bench]
import { spawnSync } from 'node:child_process';
import path from 'node:path';
import { performance } from 'node:perf_hooks';
import { pathToFileURL } from 'node:url';

const webDir = path.resolve(process.argv[2] ?? 'build/web');
const coreBench = path.resolve(process.argv[3] ?? 'build/linux/bin/core_bench');
const startValues = { spell: '카르벨론', hp: '650000', mp: '900000', defence: '-100' };
const runs = 9;
const callsPerRun = 200_000;

const karbelon = await import(pathToFileURL(path.join(webDir, 'karbelon.js')).href);
await karbelon.load();

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

let sink = 0;
for (let i = 0; i < callsPerRun; ++i) {
  sink += karbelon.calculate(startValues).actual; // warm-up: let the JIT settle
}

// One run of the module: wall and CPU time per call. On a shared machine the
// wall clock also counts the time other processes hold the cores.
function moduleRun() {
  const start = performance.now();
  const cpuStart = process.cpuUsage();
  for (let i = 0; i < callsPerRun; ++i) {
    sink += karbelon.calculate(startValues).actual;
  }
  const cpu = process.cpuUsage(cpuStart);
  return {
    wall: ((performance.now() - start) * 1e6) / callsPerRun,
    cpu: ((cpu.user + cpu.system) * 1e3) / callsPerRun,
  };
}

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

// The two alternate, so that a slower spell of the machine (a virtual one
// shares its cores with others) falls on both alike; each round gives a ratio.
const rounds = [];
for (let run = 0; run < runs; ++run) {
  const module = moduleRun();
  const native = nativeRun();
  rounds.push({ module, native });
}
const medianOf = (pick) => median(rounds.map(pick));
const moduleNs = medianOf((round) => round.module.wall);
const moduleCpuNs = medianOf((round) => round.module.cpu);
const nativeNs = medianOf((round) => round.native.wall);
const nativeCpuNs = medianOf((round) => round.native.cpu);
const wallRatio = medianOf((round) => round.module.wall / round.native.wall);
const cpuRatio = medianOf((round) => round.module.cpu / round.native.cpu);

console.log(`calculate(start values), median of ${runs} alternating rounds (${callsPerRun} calls a module run; checksum ${sink})`);
console.log('                          wall ns   cpu ns  (per call)');
console.log(`  WebAssembly from Node:  ${moduleNs.toFixed(0).padStart(7)}  ${moduleCpuNs.toFixed(0).padStart(7)}`);
console.log(`  native core bench:      ${nativeNs.toFixed(0).padStart(7)}  ${nativeCpuNs.toFixed(0).padStart(7)}`);
console.log(`  ratio (of each round):  ${wallRatio.toFixed(2).padStart(7)}  ${cpuRatio.toFixed(2).padStart(7)}`);
