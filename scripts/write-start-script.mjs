// Writes the page's start script (web/page_start.js) into the built page, in
// place of its marker comment, and lets exactly that script run: its SHA-256
// joins the script-src of the page's Content-Security-Policy, which allows
// no other inline script.
//   node scripts/write-start-script.mjs OUT_DIR
import { createHash } from 'node:crypto';
import { readFile, writeFile } from 'node:fs/promises';
import { dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const repository = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const out = resolve(process.argv[2] ?? 'build/web');
const marker = /<!-- Start script:[^>]*-->/;
const scriptSources = /(<meta http-equiv="Content-Security-Policy" content="[^"]*script-src )([^;"]*)/;

function fail(message) {
    console.error(`write-start-script: ${message}`);
    process.exit(1);
}

const script = await readFile(resolve(repository, 'web/page_start.js'), 'utf8');
// The HTML parser ends a script at the first "</script", whatever the JS means.
if (/<\/script/i.test(script)) {
    fail('web/page_start.js contains "</script"');
}
const page = resolve(out, 'index.html');
const html = await readFile(page, 'utf8');
if (!marker.test(html)) {
    fail(`${page} has no <!-- Start script: … --> marker`);
}
if (!scriptSources.test(html)) {
    fail(`${page} has no Content-Security-Policy with a script-src`);
}
// The hash covers the script's text exactly as it stands between the tags.
const digest = createHash('sha256').update(script, 'utf8').digest('base64');
await writeFile(
    page,
    html
        .replace(scriptSources, (_, head, sources) => `${head}${sources} 'sha256-${digest}'`)
        .replace(marker, () => `<script>${script}</script>`),
);
