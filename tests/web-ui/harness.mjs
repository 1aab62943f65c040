// Test harness: a local static server on a free port of 127.0.0.1, Debian's
// Chromium driven headless through playwright-core, and a page object that
// knows where the form's controls are.
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { existsSync } from 'node:fs';
import { dirname, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { after, before } from 'node:test';
import { chromium } from 'playwright-core';

const repository = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const webDir = process.env.KARBELON_WEB_DIR ?? resolve(repository, 'build/web');
export const chromiumPath = process.env.CHROMIUM ?? '/usr/bin/chromium';

export const chromiumArgs = [
    '--headless',
    '--no-sandbox',
    '--disable-gpu',
    '--disable-quic',
    '--no-first-run',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
];

// python's server binds port 0 to a free port and names it on its first line.
export async function startServer(directory = webDir) {
    if (!existsSync(resolve(directory, 'index.html'))) {
        throw new Error(`${directory}/index.html is missing; run make web first`);
    }
    const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', directory], {
        stdio: ['ignore', 'pipe', 'pipe'],
    });
    let output = '';
    const port = await new Promise((resolvePort, reject) => {
        const onData = (chunk) => {
            output += chunk;
            const match = /port (\d+)/.exec(output);
            if (match) {
                server.stdout.off('data', onData);
                resolvePort(Number(match[1]));
            }
        };
        server.stdout.setEncoding('utf8').on('data', onData);
        server.stderr.resume();
        server.once('exit', (code) => reject(new Error(`http.server ended early (${code}): ${output}`)));
    });
    server.stdout.resume();
    const origin = `http://127.0.0.1:${port}`;
    return {
        origin,
        url: `${origin}/`,
        async stop() {
            if (server.exitCode === null && server.signalCode === null) {
                process.kill(server.pid, 'SIGTERM');
                await once(server, 'exit');
            }
        },
    };
}

// For a test file: the server and the browser, started before its tests
// (handed to `started`) and stopped after them.
export function useServerAndBrowser(started) {
    let server;
    let browser;
    before(async () => {
        server = await startServer();
        browser = await launchBrowser();
        started({ server, browser });
    });
    after(async () => {
        await browser?.close();
        await server?.stop();
    });
}

// The built module, loaded in node: the control table the page is drawn
// from, and the answers the page must show.
export async function builtModule() {
    const karbelon = await import(pathToFileURL(resolve(webDir, 'karbelon.js')).href);
    await karbelon.load();
    return karbelon;
}

// Playwright gives each launch a fresh temporary profile (user-data-dir).
export function launchBrowser() {
    return chromium.launch({ executablePath: chromiumPath, headless: true, args: chromiumArgs });
}

export const presetTexts = { Combo1: '카르벨론', Text1: '650000', Text2: '900000', Text3: '-100', Text4: '' };
export const spellNames = ['카르벨론', '지옥염화', '지옥진화', '지옥멸화', '지옥겁화', '삼매진화', '삼매멸화', '삼매겁화'];
export const presetReport = [
    '실제데미지 : 337,275',
    '파력무참진 적용시 : 674,550',
    '보호 적용시 : 168,637',
    '쿨타임 : 10초',
    '데미지 감소율 : 75%',
].join('\n');

// The form as a user sees it: boxes to fill, buttons to press, the dialog.
export class FormPage {
    constructor(page) {
        this.page = page;
    }

    static async open(context, url) {
        const form = new FormPage(await context.newPage());
        await form.goto(url);
        return form;
    }

    async goto(url) {
        await this.page.goto(url);
        await this.ready();
    }

    ready() {
        return this.page.waitForSelector('#page[data-state="ready"]');
    }

    control(name) {
        return this.page.locator(`#${name}`);
    }

    text(name) {
        return this.control(name).inputValue();
    }

    async texts() {
        const texts = {};
        for (const name of Object.keys(presetTexts)) {
            texts[name] = await this.text(name);
        }
        return texts;
    }

    // Replaces a box's text by selecting all and typing, as a user would.
    async type(name, text) {
        await this.control(name).click();
        await this.page.keyboard.press('Control+A');
        if (text === '') {
            await this.page.keyboard.press('Delete');
        } else {
            await this.page.keyboard.type(text);
        }
    }

    click(name) {
        return this.control(name).click();
    }

    focusedId() {
        return this.page.evaluate(() => document.activeElement?.id ?? '');
    }

    dialog() {
        return this.page.locator('#MessageBox');
    }

    async dialogShown() {
        return this.page.evaluate(() => document.getElementById('MessageBox')?.open ?? false);
    }

    options() {
        return this.page.locator('#Combo1-list [role="option"]');
    }

    listShown() {
        return this.page.locator('#Combo1-list').isVisible();
    }
}
