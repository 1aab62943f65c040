// A click on Command1 until its report, comparison and address are written,
// timed in the page from the start of the click's dispatch to the end of the
// page's own handler. The clicks are the X server's (xdotool) on a Chromium
// with no automation attached: a DevTools session makes every address change
// wait for it (about 5 ms here), which no player's browser does. A small probe
// script, served beside a copy of the page, times each click, checks that the
// report and the address are the new ones, and readies the next click; it
// talks to this script through the window title.
// With --phone, the page on a 360 × 640 screen at pixel ratio 3 (still mouse
// clicks: the X server has no touch screen to tap).
//   node bench/web/click.mjs [build/web] [clicks] [--phone]
import { execFile, spawn } from 'node:child_process';
import { once } from 'node:events';
import { cp, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { promisify } from 'node:util';
import { chromiumPath, startServer } from '../../tests/web-ui/harness.mjs';
import { startXvfb } from '../../tests/web-ui/engines.mjs';

const phone = process.argv.includes('--phone');
const [directoryArgument, clicksArgument] = process.argv.slice(2).filter((argument) => argument !== '--phone');
const directory = resolve(directoryArgument ?? 'build/web');
const clicks = Number(clicksArgument ?? 100);
const scale = phone ? 3 : 1;
const [width, height] = phone ? [360, 640] : [1280, 1024];
const goalMs = 2;

// Runs in the page. The mana alternates, so that every click writes a new
// report and a new address; the report box is emptied between clicks.
const probe = `
const clicks = ${clicks};
const button = document.getElementById('Command1');
const report = document.getElementById('Text4');
const mana = document.getElementById('Text2');
const times = [];
let wrong = 0;
let dispatched = 0;
let offset = null;
while (document.getElementById('page').dataset.state !== 'ready') {
    await new Promise((resolve) => setTimeout(resolve, 20));
}
const nextRequest = () => {
    report.value = '';
    mana.value = times.length % 2 === 0 ? '900000' : '900001';
};
const announce = () => {
    if (offset === null) {
        document.title = 'bench mouse?';
    } else if (times.length + wrong < clicks) {
        const box = button.getBoundingClientRect();
        const x = box.left + box.width / 2 + offset.x;
        const y = box.top + box.height / 2 + offset.y;
        document.title = \`bench click \${times.length + wrong} \${x} \${y}\`;
    } else {
        document.title = \`bench done \${wrong} \${JSON.stringify(times)}\`;
    }
};
// Where the page sits on the screen, in CSS pixels.
window.addEventListener('mousemove', (event) => {
    if (offset === null) {
        offset = { x: event.screenX - event.clientX, y: event.screenY - event.clientY };
        announce();
    }
});
// The window's capturing listener runs first of all.
window.addEventListener('click', () => { dispatched = performance.now(); }, true);
// Added after the page's handler, so it runs once that one is done.
button.addEventListener('click', () => {
    const now = performance.now();
    const written = report.value.startsWith('실제데미지') && location.hash.endsWith(\`&mp=\${mana.value}&defence=-100\`);
    if (written) {
        times.push(now - dispatched);
    } else {
        wrong += 1;
    }
    nextRequest();
    announce();
});
nextRequest();
announce();
`;

const run = promisify(execFile);
const work = await mkdtemp(join(tmpdir(), 'karbelon-click-'));
const pageDirectory = join(work, 'web');
await cp(directory, pageDirectory, { recursive: true });
await writeFile(join(pageDirectory, 'bench-probe.js'), probe);
const index = join(pageDirectory, 'index.html');
const html = await readFile(index, 'utf8');
await writeFile(index, html.replace('</head>', '<script type="module" src="bench-probe.js"></script>\n</head>'));

const server = await startServer(pageDirectory);
const xvfb = await startXvfb(`${width * scale}x${height * scale}x24`);
const env = { ...process.env, DISPLAY: xvfb.display, LANG: 'ko_KR.UTF-8' };
const xdotool = async (...args) => (await run('xdotool', args, { env })).stdout.trim();
const browser = spawn(chromiumPath, [
    '--no-sandbox', '--test-type', '--disable-gpu', '--no-first-run', '--no-default-browser-check',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--password-store=basic', `--user-data-dir=${join(work, 'profile')}`,
    `--force-device-scale-factor=${scale}`, '--lang=ko-KR', '--window-position=0,0',
    `--window-size=${width},${height}`, `--app=${server.url}`,
], { env, stdio: 'ignore' });

const sleep = (ms) => new Promise((resolveSleep) => setTimeout(resolveSleep, ms));
let window = '';
async function title() {
    if (!window) {
        window = (await xdotool('search', '--name', '^bench ').catch(() => '')).split('\n')[0];
    }
    return window ? xdotool('getwindowname', window).catch(() => '') : '';
}
async function waitForTitle(test, what, tries = 1500) {
    for (let attempt = 0; attempt < tries; attempt += 1) {
        const text = await title();
        if (test(text)) {
            return text;
        }
        await sleep(20);
    }
    if (what === null) {
        return null;
    }
    throw new Error(`no ${what} in the window title (it reads '${await title()}')`);
}

try {
    await waitForTitle((text) => text.startsWith('bench mouse?'), 'ready page');
    // Moves until the page has seen the mouse and knows where it sits.
    let text = null;
    for (let step = 0; step < 20 && text === null; step += 1) {
        await xdotool('mousemove', String(100 + step), String(100 + step));
        text = await waitForTitle((next) => next.startsWith('bench click'), null, 10);
    }
    text ??= await title();
    while (text.startsWith('bench click')) {
        const [, , done, x, y] = text.split(' ');
        await xdotool('mousemove', String(Math.round(Number(x) * scale)), String(Math.round(Number(y) * scale)), 'click', '1');
        text = await waitForTitle((next) => !next.startsWith(`bench click ${done} `), 'answer to a click');
    }
    const [, , wrong, json] = text.split(' ');
    if (Number(wrong) > 0) {
        throw new Error(`${wrong} of ${clicks} clicks left another report or address than their own`);
    }
    const times = JSON.parse(json).sort((a, b) => a - b);
    const median = (times[(clicks - 1) >> 1] + times[clicks >> 1]) / 2;
    console.log(`${phone ? 'phone-sized, ' : ''}clicks ${clicks}, dispatch to report and address: median ${median.toFixed(3)} ms, ` +
        `p90 ${times[Math.floor(clicks * 0.9)].toFixed(3)} ms, max ${times.at(-1).toFixed(3)} ms`);
    console.log(`goal <= ${goalMs} ms: ${median <= goalMs ? 'met' : 'NOT met'}`);
} finally {
    browser.kill('SIGTERM');
    await once(browser, 'exit');
    await xvfb.stop();
    await server.stop();
    await rm(work, { recursive: true, force: true });
}
