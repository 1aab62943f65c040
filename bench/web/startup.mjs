// Start time of the web page in headless Chromium: navigation to the form
// painted and ready for input, against a floor page holding the same controls and no
// script (the page's own DOM once ready, with its scripts removed). Runs
// alternate between the two, each in a fresh browser context. With --phone,
// both load on a 360 × 640 touch screen (the finger layout). With --link, the
// page also opens a link to a calculation (ready once its report is shown),
// against the plain page's start.
//   node bench/web/startup.mjs [build/web] [runs] [--phone] [--link]
import { cp, mkdtemp, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { launchBrowser, startServer } from '../../tests/web-ui/harness.mjs';

const phone = process.argv.includes('--phone');
const link = process.argv.includes('--link');
const [directoryArgument, runsArgument] = process.argv.slice(2).filter((argument) => !argument.startsWith('--'));
const directory = resolve(directoryArgument ?? 'build/web');
const runs = Number(runsArgument ?? 30);
const device = phone ? { viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 } : {};
const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

const site = await mkdtemp(join(tmpdir(), 'karbelon-start-'));
await cp(directory, site, { recursive: true });
const server = await startServer(site);
const browser = await launchBrowser();
try {
    // Service workers stay off, so every run loads the page's files anew.
    const newContext = () => browser.newContext({ locale: 'ko-KR', serviceWorkers: 'block', ...device });

    const snapshotContext = await newContext();
    const snapshot = await snapshotContext.newPage();
    await snapshot.goto(server.url);
    await snapshot.waitForSelector('#page[data-state="ready"]');
    const floor = await snapshot.evaluate(() => {
        const copy = document.documentElement.cloneNode(true);
        copy.querySelectorAll('script, link[rel="modulepreload"], link[rel="preload"]').forEach((node) => node.remove());
        return `<!doctype html>\n${copy.outerHTML}`;
    });
    await snapshotContext.close();
    await writeFile(join(site, 'floor.html'), floor);

    // Runs in the page from its first script on: the form is ready once
    // painted (first contentful paint) and, for the page, once its own mark
    // is set (list filled, focus in Combo1). It reports through the console,
    // so nothing of the harness runs in the page while it starts: an
    // evaluate() after the load event would inject the harness's script into
    // the page's start, but mostly after the floor's paint.
    const reportReady = (markName) => {
        let painted = null;
        let marked = markName === null ? 0 : null;
        const report = () => {
            if (painted !== null && marked !== null) {
                console.debug(`karbelon-startup ${Math.max(painted, marked)}`);
            }
        };
        const watch = (type, name, found) => {
            new PerformanceObserver((list, observer) => {
                const entry = list.getEntries().find((candidate) => candidate.name === name);
                if (entry) {
                    observer.disconnect();
                    found(entry.startTime);
                    report();
                }
            }).observe({ type, buffered: true });
        };
        watch('paint', 'first-contentful-paint', (time) => {
            painted = time;
        });
        if (markName !== null) {
            watch('mark', markName, (time) => {
                marked = time;
            });
        }
    };
    const measure = async (path, markName) => {
        const context = await newContext();
        await context.addInitScript(reportReady, markName);
        const page = await context.newPage();
        const ready = new Promise((done) => {
            page.on('console', (message) => {
                const match = /^karbelon-startup (\S+)$/.exec(message.text());
                if (match) {
                    done(Number(match[1]));
                }
            });
        });
        await page.goto(`${server.url}${path}`, { waitUntil: 'commit' });
        const time = await ready;
        await context.close();
        return time;
    };

    const page = [];
    const floorTimes = [];
    const linkTimes = [];
    const linkPath = `#${new URLSearchParams({ spell: '지옥겁화', hp: '1', mp: '123456.5', defence: '37' })}`;
    for (let run = 0; run < runs; run += 1) {
        page.push(await measure('', 'karbelon-form-ready'));
        floorTimes.push(await measure('floor.html', null));
        if (link) {
            linkTimes.push(await measure(linkPath, 'karbelon-form-ready'));
        }
    }
    const pageMedian = median(page);
    const floorMedian = median(floorTimes);
    console.log(`runs ${runs} each, interleaved, fresh context per run${phone ? ', 360 × 640 touch screen' : ''}`);
    console.log(`page  median ${pageMedian.toFixed(1)} ms (min ${Math.min(...page).toFixed(1)}, max ${Math.max(...page).toFixed(1)})`);
    console.log(`floor median ${floorMedian.toFixed(1)} ms (min ${Math.min(...floorTimes).toFixed(1)}, max ${Math.max(...floorTimes).toFixed(1)})`);
    const ratio = pageMedian / floorMedian;
    console.log(`ratio ${ratio.toFixed(2)}x; goal <= 1.5x: ${ratio <= 1.5 ? 'met' : 'NOT met'}`);
    if (link) {
        const linkMedian = median(linkTimes);
        const linkRatio = linkMedian / pageMedian;
        console.log(`link  median ${linkMedian.toFixed(1)} ms (min ${Math.min(...linkTimes).toFixed(1)}, max ${Math.max(...linkTimes).toFixed(1)}), report shown`);
        console.log(`link to plain start ${linkRatio.toFixed(2)}x; goal <= 1.5x: ${linkRatio <= 1.5 ? 'met' : 'NOT met'}`);
    }
} finally {
    await browser.close();
    await server.stop();
    await rm(site, { recursive: true, force: true });
}
