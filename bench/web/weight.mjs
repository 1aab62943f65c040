// Weight of the web page: every file the service worker keeps (the module
// included) and the worker itself, each gzip'd at level 9, summed.
//   node bench/web/weight.mjs [build/web]
import { readFileSync } from 'node:fs';
import { resolve } from 'node:path';
import { gzipSync } from 'node:zlib';

const directory = resolve(process.argv[2] ?? 'build/web');
const goalBytes = 135 * 1024;
const worker = readFileSync(resolve(directory, 'sw.js'), 'utf8');
const list = /^const pageFiles = \[(.*)\];$/m.exec(worker)[1];
const files = [...list.matchAll(/'\.\/([^']+)'/g)].map((match) => match[1]).concat('sw.js');

let total = 0;
let raw = 0;
for (const file of files) {
    const bytes = readFileSync(resolve(directory, file));
    const packed = gzipSync(bytes, { level: 9 }).length;
    raw += bytes.length;
    total += packed;
    console.log(`${String(packed).padStart(8)}  ${String(bytes.length).padStart(8)}  ${file}`);
}
console.log(`${String(total).padStart(8)}  ${String(raw).padStart(8)}  total (gzip, raw bytes) of ${files.length} files`);
console.log(`gzip total ${(total / 1024).toFixed(1)} KB; goal <= ${goalBytes / 1024} KB: ${total <= goalBytes ? 'met' : 'NOT met'}`);
