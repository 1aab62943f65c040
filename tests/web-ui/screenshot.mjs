// The README's pictures of the web page: a desktop width and a phone width,
// each after one click on Command1 (report and comparison table shown).
//   node tests/web-ui/screenshot.mjs [docs]
import { resolve } from 'node:path';
import { FormPage, launchBrowser, startServer } from './harness.mjs';

const folder = resolve(process.argv[2] ?? 'docs');
const shots = [
    { file: 'screenshot-web-desktop.png', viewport: { width: 900, height: 720 }, isMobile: false },
    { file: 'screenshot-web-phone.png', viewport: { width: 360, height: 640 }, isMobile: true },
];

const server = await startServer();
const browser = await launchBrowser();
try {
    for (const { file, viewport, isMobile } of shots) {
        const context = await browser.newContext({ locale: 'ko-KR', viewport, isMobile, hasTouch: isMobile, deviceScaleFactor: 1 });
        const form = await FormPage.open(context, server.url);
        await form.click('Command1');
        await form.page.screenshot({ path: resolve(folder, file), fullPage: true });
        await context.close();
        console.log(`wrote ${resolve(folder, file)}`);
    }
} finally {
    await browser.close();
    await server.stop();
}
