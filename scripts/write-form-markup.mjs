// Writes Form1's panel into the built page, in place of its marker comment,
// and the places of its controls at the end of the page's stylesheet: both
// from the module's control table (web/form_markup.js), so the layout has one
// source and the browser shows the form before any script ran.
//   node scripts/write-form-markup.mjs OUT_DIR
import { appendFile, readFile, writeFile } from 'node:fs/promises';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { formPanelMarkup } from '../web/form_markup.js';

const out = resolve(process.argv[2] ?? 'build/web');
const marker = /<!-- Form1:[^>]*-->/;

const karbelon = await import(pathToFileURL(resolve(out, 'karbelon.js')).href);
await karbelon.load();
const page = resolve(out, 'index.html');
const html = await readFile(page, 'utf8');
if (!marker.test(html)) {
    console.error(`write-form-markup: ${page} has no <!-- Form1: … --> marker`);
    process.exit(1);
}
const { html: form, css } = formPanelMarkup(karbelon.controlTable());
await writeFile(page, html.replace(marker, () => form));
await appendFile(resolve(out, 'page.css'), `\n/* Form1's controls at their places, from the module's control table. */\n${css}`);
