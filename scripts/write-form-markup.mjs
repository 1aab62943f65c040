// Writes Form1's panel into the built page, in place of its marker comment,
// the places of its controls at the end of the page's stylesheet, and the
// window's caption as the page's title and the manifest's name: all from the
// module's control table (web/form_markup.js), so the layout and the caption
// have one source and the browser shows the form before any script ran.
//   node scripts/write-form-markup.mjs OUT_DIR
import { appendFile, readFile, writeFile } from 'node:fs/promises';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { escapeHtml, formPanelMarkup } from '../web/form_markup.js';

const out = resolve(process.argv[2] ?? 'build/web');
const marker = /<!-- Form1:[^>]*-->/;
const title = /<title>[^<]*<\/title>/;

const karbelon = await import(pathToFileURL(resolve(out, 'karbelon.js')).href);
await karbelon.load();
const page = resolve(out, 'index.html');
const html = await readFile(page, 'utf8');
for (const [pattern, what] of [[marker, '<!-- Form1: … --> marker'], [title, '<title>']]) {
    if (!pattern.test(html)) {
        console.error(`write-form-markup: ${page} has no ${what}`);
        process.exit(1);
    }
}
const table = karbelon.controlTable();
const { html: form, css } = formPanelMarkup(table);
await writeFile(page, html.replace(marker, () => form).replace(title, () => `<title>${escapeHtml(table.caption)}</title>`));
const manifestFile = resolve(out, 'manifest.webmanifest');
const manifest = JSON.parse(await readFile(manifestFile, 'utf8'));
await writeFile(manifestFile, `${JSON.stringify({ name: table.caption, ...manifest }, null, 2)}\n`);
await appendFile(resolve(out, 'page.css'), `\n/* Form1's controls at their places and in their reading order, from the module's control table. */\n${css}`);
