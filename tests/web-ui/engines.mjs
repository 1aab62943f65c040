// The three engines players' browsers render with, each driven by its own
// client, behind one small interface the smoke suite is written against:
//
//   engine.newTab({ width, height })  a fresh tab (its own storage where the
//                                      client allows), at that viewport size
//   engine.darkTab()                   a tab under prefers-color-scheme: dark
//   engine.cannot                      what its automation cannot do, by step
//                                      (clipboard, dark, narrow, shareSheet):
//                                      the reason, shown as the test's skip
//   engine.stop()
//   tab.goto(url), tab.evaluate(fn, arg), tab.click(selector),
//   tab.type(text), tab.press('Control+A'), tab.clipboardText(), tab.close()
//
// No client downloads a browser: each drives the one Debian installs.
import { execFile, spawn } from 'node:child_process';
import { once } from 'node:events';
import { existsSync } from 'node:fs';
import { mkdtemp, mkdir, rm, writeFile } from 'node:fs/promises';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { promisify } from 'node:util';
import { chromium } from 'playwright-core';
import puppeteer from 'puppeteer-core';
import { Builder, By, Key } from 'selenium-webdriver';
import { chromiumArgs, chromiumPath } from './harness.mjs';

const firefoxPath = process.env.FIREFOX ?? '/usr/bin/firefox-esr';
const webKitDriverPath = process.env.WEBKIT_WEBDRIVER ?? '/usr/bin/WebKitWebDriver';
const miniBrowserPath = process.env.MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const defaultViewport = { width: 1024, height: 768 };

function requireFile(path, debianPackage) {
    if (!existsSync(path)) {
        throw new Error(`${path} is missing: install ${debianPackage} (scripts/install-deps.sh web-ui-test)`);
    }
}

// 'Control+A' -> { modifiers: ['Control'], key: 'A' }
function chord(keys) {
    const parts = keys.split('+');
    return { modifiers: parts.slice(0, -1), key: parts.at(-1) };
}

// Chromium through playwright-core: each tab its own context.
export async function startChromium() {
    const browser = await chromium.launch({ executablePath: chromiumPath, headless: true, args: chromiumArgs });
    const open = async (options) => {
        const context = await browser.newContext({
            locale: 'ko-KR',
            permissions: ['clipboard-read', 'clipboard-write'],
            ...options,
        });
        context.setDefaultTimeout(10000);
        const page = await context.newPage();
        return {
            goto: (url) => page.goto(url).then(() => undefined),
            evaluate: (fn, arg) => page.evaluate(fn, arg),
            click: (selector) => page.click(selector),
            type: (text) => page.keyboard.type(text),
            press: (keys) => page.keyboard.press(keys),
            clipboardText: () => page.evaluate(() => navigator.clipboard.readText()),
            close: () => context.close(),
        };
    };
    return {
        name: 'Chromium',
        cannot: { shareSheet: 'Chromium on Linux has no navigator.share, so no share sheet to drive' },
        newTab: ({ width, height } = defaultViewport) => open({ viewport: { width, height } }),
        darkTab: () => open({ viewport: defaultViewport, colorScheme: 'dark' }),
        stop: () => browser.close(),
    };
}

// Firefox ESR through puppeteer-core over WebDriver BiDi. Its clipboard is
// read by the page itself, which Firefox allows only to test profiles.
const firefoxPrefs = {
    'intl.accept_languages': 'ko-KR, ko',
    'dom.events.testing.asyncClipboard': true,
};

function launchFirefox(prefs = {}) {
    return puppeteer.launch({
        browser: 'firefox',
        protocol: 'webDriverBiDi',
        executablePath: firefoxPath,
        headless: true,
        extraPrefsFirefox: { ...firefoxPrefs, ...prefs },
    });
}

function puppeteerTab(context, page) {
    return {
        goto: (url) => page.goto(url).then(() => undefined),
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        click: (selector) => page.click(selector),
        type: (text) => page.keyboard.type(text),
        async press(keys) {
            const { modifiers, key } = chord(keys);
            for (const modifier of modifiers) {
                await page.keyboard.down(modifier);
            }
            // puppeteer names letter keys by the character they type.
            await page.keyboard.press(key.length === 1 ? key.toLowerCase() : key);
            for (const modifier of modifiers.reverse()) {
                await page.keyboard.up(modifier);
            }
        },
        clipboardText: () => page.evaluate(() => navigator.clipboard.readText()),
        close: () => context.close(),
    };
}

export async function startFirefox() {
    requireFile(firefoxPath, 'firefox-esr');
    const browser = await launchFirefox();
    let darkBrowser = null;
    const open = async (on, { width, height }) => {
        const context = await on.createBrowserContext();
        const page = await context.newPage();
        page.setDefaultTimeout(10000);
        // The BiDi command alone: puppeteer's setViewport also overrides the
        // screen orientation, which Firefox ESR 140 (Debian 12 without its
        // security updates) does not know.
        await page.mainFrame().browsingContext.setViewport({ viewport: { width, height } });
        return puppeteerTab(context, page);
    };
    return {
        name: 'Firefox',
        cannot: { shareSheet: 'Firefox has navigator.share only on Windows and Android, so no share sheet to drive here' },
        newTab: (size = defaultViewport) => open(browser, size),
        // Media emulation needs CDP, which Firefox does not speak; a second
        // browser with a dark system theme stands in for it.
        async darkTab() {
            darkBrowser ??= await launchFirefox({ 'ui.systemUsesDarkTheme': 1 });
            return open(darkBrowser, defaultViewport);
        },
        async stop() {
            await darkBrowser?.close();
            await browser.close();
        },
    };
}

// WebKitGTK: MiniBrowser in automation mode under its own Xvfb display,
// through Debian's WebKitWebDriver and selenium-webdriver's generic builder.

// Xvfb picks a free display itself and names it on the descriptor given.
export async function startXvfb(screen = '1280x1024x24') {
    const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', screen, '-nolisten', 'tcp'], {
        stdio: ['ignore', 'ignore', 'pipe', 'pipe'],
    });
    let errors = '';
    xvfb.stderr.setEncoding('utf8').on('data', (chunk) => (errors += chunk));
    const display = await new Promise((resolveDisplay, reject) => {
        xvfb.stdio[3].setEncoding('utf8').once('data', (text) => resolveDisplay(`:${text.trim()}`));
        xvfb.once('exit', (code) => reject(new Error(`Xvfb ended early (${code}): ${errors}`)));
    });
    return { display, stop: () => stopProcess(xvfb) };
}

async function stopProcess(child) {
    if (child.exitCode === null && child.signalCode === null) {
        child.kill('SIGTERM');
        await once(child, 'exit');
    }
}

async function freePort() {
    const server = createServer().listen(0, '127.0.0.1');
    await once(server, 'listening');
    const { port } = server.address();
    server.close();
    await once(server, 'close');
    return port;
}

async function waitForDriver(url, driver) {
    for (let attempt = 0; attempt < 100; attempt += 1) {
        if (driver.exitCode !== null) {
            throw new Error(`WebKitWebDriver ended (${driver.exitCode})`);
        }
        try {
            if ((await fetch(`${url}/status`)).ok) {
                return;
            }
        } catch {
            // not listening yet
        }
        await new Promise((resolveWait) => setTimeout(resolveWait, 100));
    }
    throw new Error('WebKitWebDriver did not answer');
}

// MiniBrowser's toolbar holds its window wider than a phone; a theme of
// shrunken widgets (GTK's own, not the page's) lets it narrow to 360 px.
const narrowToolbarCss = '* { font-size: 1px; padding: 0; margin: 0; min-width: 0; min-height: 0; border-width: 0; -gtk-icon-transform: scale(0.1); }\n';

const seleniumKeys = { Control: Key.CONTROL, Alt: Key.ALT, Shift: Key.SHIFT, Enter: Key.ENTER, Escape: Key.ESCAPE, Delete: Key.DELETE, Tab: Key.TAB, ArrowDown: Key.ARROW_DOWN, ArrowUp: Key.ARROW_UP };

function seleniumTab(driver, handle, readClipboard, onClose) {
    const select = () => driver.switchTo().window(handle);
    return {
        async goto(url) {
            await select();
            await driver.get(url);
        },
        async evaluate(fn, arg) {
            await select();
            return driver.executeScript(`return (${fn})(arguments[0]);`, arg);
        },
        async click(selector) {
            await select();
            await driver.findElement(By.css(selector)).click();
        },
        async type(text) {
            await select();
            await driver.actions().sendKeys(text).perform();
        },
        async press(keys) {
            await select();
            const { modifiers, key } = chord(keys);
            let actions = driver.actions();
            for (const modifier of modifiers) {
                actions = actions.keyDown(seleniumKeys[modifier]);
            }
            actions = actions.sendKeys(seleniumKeys[key] ?? key.toLowerCase());
            for (const modifier of modifiers.reverse()) {
                actions = actions.keyUp(seleniumKeys[modifier]);
            }
            await actions.perform();
        },
        clipboardText: readClipboard,
        async close() {
            await select();
            await driver.close();
            await onClose(handle);
        },
    };
}

export async function startWebKit() {
    requireFile(webKitDriverPath, 'webkit2gtk-driver');
    requireFile(miniBrowserPath, 'libwebkit2gtk-4.1-0');
    const xvfb = await startXvfb();
    const home = await mkdtemp(join(tmpdir(), 'karbelon-webkit-'));
    await mkdir(join(home, 'gtk-3.0'));
    await writeFile(join(home, 'gtk-3.0', 'gtk.css'), narrowToolbarCss);
    const port = await freePort();
    // MiniBrowser answers navigator.language en-US whatever the locale; its
    // separators are those of ko-KR, which the expected reports hold.
    const env = { ...process.env, DISPLAY: xvfb.display, XDG_CONFIG_HOME: home };
    delete env.WAYLAND_DISPLAY;
    const server = spawn(webKitDriverPath, [`--port=${port}`], { env, stdio: ['ignore', 'ignore', 'ignore'] });
    server.once('error', () => {}); // reported by waitForDriver, as its exit
    const url = `http://127.0.0.1:${port}`;
    // WebKitWebDriver runs one session at a time: the dark one replaces
    // the plain one while it is needed, and the other way round.
    let session = null;
    const useSession = async (args) => {
        const key = args.join(' ');
        if (session?.key === key) {
            return session;
        }
        await session?.driver.quit();
        session = null;
        await waitForDriver(url, server);
        const driver = await new Builder()
            .usingServer(url)
            .withCapabilities({
                browserName: 'MiniBrowser',
                'webkitgtk:browserOptions': { binary: miniBrowserPath, args: ['--automation', ...args] },
            })
            .build();
        await driver.manage().setTimeouts({ script: 10000, pageLoad: 20000 });
        // The first window stays open, so the session outlives its tabs.
        session = { key, driver, keep: await driver.getWindowHandle() };
        return session;
    };
    // The X clipboard, as any other program on the display would read it:
    // the page keeps WebKit's own clipboard rules.
    const readClipboard = async () => {
        const { stdout } = await promisify(execFile)('xclip', ['-o', '-selection', 'clipboard'], { env, encoding: 'utf8' });
        return stdout;
    };
    const open = async (args, { width, height }) => {
        const { driver, keep } = await useSession(args);
        await driver.switchTo().window(keep);
        await driver.switchTo().newWindow('tab');
        const handle = await driver.getWindowHandle();
        // The window's size: the viewport is what is left under the toolbar.
        await driver.manage().window().setRect({ width, height });
        return seleniumTab(driver, handle, readClipboard, () => driver.switchTo().window(keep));
    };
    return {
        name: 'WebKit',
        cannot: {
            shareSheet: 'WebKitGTK has no navigator.share; Safari\'s share sheet is a system window that WebDriver cannot drive',
        },
        newTab: (size = defaultViewport) => open([], size),
        darkTab: () => open(['--dark-mode'], defaultViewport),
        async stop() {
            await session?.driver.quit().catch(() => {});
            await stopProcess(server);
            await xvfb.stop();
            await rm(home, { recursive: true, force: true });
        },
    };
}
