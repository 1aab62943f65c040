#!/usr/bin/env node
// calculate() of the WebAssembly module on the window's start values, per
// call from Node (marshalling and the answer object included), beside the
// native core bench's time for the same request.
//
//   node bench/web_calculate.mjs [build/web] [build/linux/bin/core_bench]
import { spawnSync } from 'node:child_process';
import path from 'node:path';
import { performance } from 'node:perf_hooks';
import { pathToFileURL } from 'node:url';

const webDir = path.resolve(process.argv[2] ?? 'build/web');
const coreBench = path.resolve(process.argv[3] ?? 'build/linux/bin/core_bench');
const startValues = { spell: '카르벨론', hp: '650000', mp: '900000', defence: '-100' };
const runs = 7;
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
// Wall and CPU time both: on a shared machine the wall clock also counts
// the time other processes hold the cores.
const wallPerCall = [];
const cpuPerCall = [];
for (let run = 0; run < runs; ++run) {
  const start = performance.now();
  const cpuStart = process.cpuUsage();
  for (let i = 0; i < callsPerRun; ++i) {
    sink += karbelon.calculate(startValues).actual;
  }
  const cpu = process.cpuUsage(cpuStart);
  wallPerCall.push(((performance.now() - start) * 1e6) / callsPerRun);
  cpuPerCall.push(((cpu.user + cpu.system) * 1e3) / callsPerRun);
}
const moduleNs = median(wallPerCall);
const moduleCpuNs = median(cpuPerCall);

const native = spawnSync(coreBench, [
  '--benchmark_filter=BM_StartValues$',
  '--benchmark_format=json',
  '--benchmark_repetitions=5',
  '--benchmark_report_aggregates_only=true',
]);
if (native.status !== 0) {
  console.error(`cannot run ${coreBench}: ${native.stderr}`);
  process.exit(1);
}
const nativeMedian = JSON.parse(native.stdout).benchmarks.find((b) => b.aggregate_name === 'median');
const nativeNs = nativeMedian.real_time;

console.log(`calculate(start values), median of ${runs} runs of ${callsPerRun} calls (checksum ${sink})`);
const nativeCpuNs = nativeMedian.cpu_time;
console.log('                          wall ns   cpu ns  (per call)');
console.log(`  WebAssembly from Node:  ${moduleNs.toFixed(0).padStart(7)}  ${moduleCpuNs.toFixed(0).padStart(7)}`);
console.log(`  native core bench:      ${nativeNs.toFixed(0).padStart(7)}  ${nativeCpuNs.toFixed(0).padStart(7)}`);
console.log(`  ratio:                  ${(moduleNs / nativeNs).toFixed(2).padStart(7)}  ${(moduleCpuNs / nativeCpuNs).toFixed(2).padStart(7)}  (goal at most 3x)`);
