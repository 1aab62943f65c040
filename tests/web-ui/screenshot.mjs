// The README's pictures of the web page: the panel at a desktop width, and
// the finger layout on a phone upright and turned, each after one press of
// Command1 (report and comparison table shown); a desktop and a phone also
// in the dark scheme. The phones' pictures are
// taken at CSS pixels, so they stay small. The whole page is shown by making
// the viewport as tall as the page: Chromium's full-page capture drops the
// emulated touch screen, and the page would turn back to the panel.
//   node tests/web-ui/screenshot.mjs [docs]
import { resolve } from 'node:path';
import { FormPage, launchBrowser, startServer } from './harness.mjs';

const folder = resolve(process.argv[2] ?? 'docs');
const phone = { isMobile: true, hasTouch: true, deviceScaleFactor: 3 };
const shots = [
    { file: 'screenshot-web-desktop.png', options: { viewport: { width: 900, height: 720 }, deviceScaleFactor: 1 } },
    { file: 'screenshot-web-phone.png', options: { viewport: { width: 360, height: 640 }, ...phone } },
    { file: 'screenshot-web-phone-landscape.png', options: { viewport: { width: 844, height: 390 }, ...phone } },
    { file: 'screenshot-web-desktop-dark.png', options: { viewport: { width: 900, height: 720 }, deviceScaleFactor: 1, colorScheme: 'dark' } },
    { file: 'screenshot-web-phone-dark.png', options: { viewport: { width: 360, height: 640 }, ...phone, colorScheme: 'dark' } },
    { file: 'screenshot-web-phone-landscape-dark.png', options: { viewport: { width: 844, height: 390 }, ...phone, colorScheme: 'dark' } },
];

const server = await startServer();
const browser = await launchBrowser();
try {
    for (const { file, options } of shots) {
        const context = await browser.newContext({ locale: 'ko-KR', ...options });
        const form = await FormPage.open(context, server.url);
        if (options.hasTouch) {
            await form.control('Command1').tap();
            // The pressed look lingers a moment after a tap, as on a phone.
            await form.page.waitForFunction(() => !document.getElementById('Command1').matches(':active'));
            const height = await form.page.evaluate(() => document.documentElement.scrollHeight);
            await form.page.setViewportSize({ width: options.viewport.width, height: Math.max(height, options.viewport.height) });
            await form.page.screenshot({ path: resolve(folder, file), scale: 'css' });
        } else {
            await form.click('Command1');
            await form.page.screenshot({ path: resolve(folder, file), fullPage: true });
        }
        await context.close();
        console.log(`wrote ${resolve(folder, file)}`);
    }
} finally {
    await browser.close();
    await server.stop();
}
