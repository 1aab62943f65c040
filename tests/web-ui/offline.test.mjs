// After one visit the page works with the network cut: the service worker
// has kept every file. A new version of the files brings a new cache.
import assert from 'node:assert/strict';
import { cp, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { FormPage, builtModule, launchBrowser, presetReport, startServer, webDir } from './harness.mjs';

const karbelon = await builtModule();

let browser;
let site;

before(async () => {
    browser = await launchBrowser();
    // A copy of the page, so a changed version can be served without touching the build.
    site = await mkdtemp(join(tmpdir(), 'karbelon-web-'));
    await cp(webDir, site, { recursive: true });
});

after(async () => {
    await browser?.close();
    await rm(site, { recursive: true, force: true });
});

const cacheNames = (page) => page.evaluate(() => caches.keys());

// Visits the copy once, until the service worker controls the page.
async function afterFirstVisit(body) {
    const server = await startServer(site);
    const context = await browser.newContext({ locale: 'ko-KR' });
    context.setDefaultTimeout(10000);
    try {
        const form = await FormPage.open(context, server.url);
        await form.page.evaluate(() => navigator.serviceWorker.ready);
        await form.page.waitForFunction(() => navigator.serviceWorker.controller !== null);
        await body(form, server, context);
    } finally {
        await context.close();
        await server.stop();
    }
}

test('a reload with the network cut opens the calculator', async () => {
    await afterFirstVisit(async (form, server, context) => {
        const cached = await cacheNames(form.page);
        assert.equal(cached.length, 1);
        assert.match(cached[0], /^karbelon-web-[0-9a-f]{16}$/);

        await server.stop();
        await context.setOffline(true);
        await form.page.reload();
        await form.ready();
        await form.click('Command1');
        assert.equal(await form.text('Text4'), presetReport);

        // A link opened offline in a new tab shows its report.
        const linked = new FormPage(await context.newPage());
        await linked.goto(form.page.url().replace('mp=900000', 'mp=1000'));
        const request = { spell: '카르벨론', hp: '650000', mp: '1000', defence: '-100' };
        assert.equal(await linked.text('Text4'), karbelon.calculate(request).report.replace(/\r\n/g, '\n'));
    });
});

test('a new version replaces the cache', async () => {
    await afterFirstVisit(async (form) => {
        const [first] = await cacheNames(form.page);
        const worker = join(site, 'sw.js');
        const source = await readFile(worker, 'utf8');
        await writeFile(worker, source.replace(/const cacheVersion = '[^']*';/, "const cacheVersion = 'fedcba9876543210';"));
        await form.page.evaluate(() => navigator.serviceWorker.getRegistration().then((registration) => registration.update()));
        await form.page.waitForFunction(
            async () => (await caches.keys()).join() === 'karbelon-web-fedcba9876543210',
            undefined,
            { polling: 100 },
        );
        assert.notEqual(first, 'karbelon-web-fedcba9876543210');
    });
});
