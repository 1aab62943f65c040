// What the page gives a player to pass a calculation on: its link, the copy
// and share buttons, the report read aloud, the damage bars, the dark scheme.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { describe, test } from 'node:test';
import { FormPage, builtModule, presetReport, presetTexts, useServerAndBrowser } from './harness.mjs';

const karbelon = await builtModule();
const table = karbelon.controlTable();
const axeScript = createRequire(import.meta.url).resolve('axe-core/axe.min.js');

let server;
let browser;
useServerAndBrowser((started) => ({ server, browser } = started));

const phone = { viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 };
const desktop = { viewport: { width: 900, height: 720 } };

// A page in a fresh context, watched for script errors and alerts.
async function withPage(options, body) {
    const context = await browser.newContext({ locale: 'ko-KR', ...options });
    context.setDefaultTimeout(10000);
    const problems = [];
    context.on('page', (page) => {
        page.on('pageerror', (error) => problems.push(error.message));
        page.on('dialog', (dialog) => problems.push(`${dialog.type()}: ${dialog.message()}`) && dialog.dismiss());
    });
    try {
        await body(context, problems);
    } finally {
        await context.close();
    }
}

const openAt = async (context, address) => {
    const form = new FormPage(await context.newPage());
    await form.goto(address);
    return form;
};
const request = (texts) => ({ spell: texts.Combo1, hp: texts.Text1, mp: texts.Text2, defence: texts.Text3 });
const reportFor = (texts) => karbelon.compareSpells(request(texts)).find((row) => row.spell === texts.Combo1).report.replace(/\r\n/g, '\n');

describe('the link to a calculation', () => {
    test('travels into a fresh browser whole: blanks, &#?=%+/ and Hangul; a fragment edited calculates again', async () => {
        const typed = { Combo1: ' 지옥&#?=%+/겁화 ', Text1: ' 1', Text2: '123456.5', Text3: '37' };
        let address;
        let report;
        await withPage(desktop, async (context) => {
            const form = await openAt(context, server.url);
            const entries = await form.page.evaluate(() => history.length);
            for (const [box, text] of Object.entries(typed)) {
                await form.type(box, text);
            }
            await form.click('Command1');
            address = form.page.url();
            report = await form.text('Text4');
            assert.equal(new URL(address).hash, '#spell=+%EC%A7%80%EC%98%A5%26%23%3F%3D%25%2B%2F%EA%B2%81%ED%99%94+&hp=+1&mp=123456.5&defence=37');
            assert.equal(await form.page.evaluate(() => history.length), entries, 'no history entry');
        });
        await withPage(phone, async (context, problems) => {
            const form = await openAt(context, address);
            assert.deepEqual(await form.texts(), { ...typed, Text4: report });
            assert.equal(await form.page.locator('#Comparison tbody tr').count(), 8);
            // A fragment edited in place: a message, then a report, without a reload.
            await form.page.evaluate(() => (location.hash = '#mp=%26%23%3F'));
            await form.page.waitForFunction(() => document.getElementById('MessageBox')?.open);
            assert.equal(await form.dialog().locator('#MessageBox-text').textContent(), '입력된 마력이 숫자가 아닙니다.');
            assert.equal(await form.text('Text2'), '&#?');
            await form.page.keyboard.press('Escape');
            const texts = { Combo1: '지옥겁화', Text1: '1', Text2: '123456.5', Text3: '37' };
            await form.page.evaluate((fragment) => (location.hash = fragment), `#${new URLSearchParams(Object.entries(request(texts)))}`);
            await form.page.waitForFunction(() => document.getElementById('Text4').value.startsWith('실제데미지 : 2'));
            assert.equal(await form.text('Text4'), reportFor(texts));
            assert.deepEqual(problems, []);
        });
    });

    test('a malformed or hostile address fills only its sound fields, as box texts', async () => {
        // Longer than any link the page writes; Chromium itself takes seconds over megabytes.
        const huge = '9'.repeat(100_000);
        const cases = [
            ['bad and cut encodings', '#spell=%EC%A7&hp=%zz1&mp=12%&defence=5', { Text3: '5' }],
            ['cut after a name, unknown fields, repeats', '#hp=2&top&x=1&hp=3&mp', { Text1: '2' }],
            ['nothing of ours', '#top', null],
            ['markup', '#spell=%3Cimg%20src%3Dx%20onerror%3Dalert(1)%3E&hp=%3Cscript%3Ealert(2)%3C%2Fscript%3E', {
                Combo1: '<img src=x onerror=alert(1)>',
                Text1: '<script>alert(2)</script>',
            }],
            ['a huge text', `#mp=${huge}`, { Text2: huge }],
        ];
        await withPage(desktop, async (context, problems) => {
            for (const [name, fragment, filled] of cases) {
                const form = await openAt(context, `${server.url}${fragment}`);
                const texts = await form.page.evaluate((names) => Object.fromEntries(names.map((id) => [id, document.getElementById(id).value])), ['Combo1', 'Text1', 'Text2', 'Text3']);
                const { Text4, ...start } = presetTexts;
                assert.deepEqual(texts, { ...start, ...filled }, name);
                // A calculation ran exactly where a field was sound.
                const calculated = (await form.text('Text4')) !== '' || (await form.dialogShown());
                assert.equal(calculated, filled !== null, name);
                assert.equal(await form.page.locator('body img:not(.title-bar img, #MessageBox img), body script').count(), 0, name);
                await form.page.close();
            }
            assert.deepEqual(problems, []);
        });
    });
});

describe('the result buttons', () => {
    const buttons = ['copy-report', 'copy-table', 'share-link'];
    const readClipboard = (form) => form.page.evaluate(() => navigator.clipboard.readText());
    const status = (form) => form.page.locator('#share-status').textContent();

    test('disabled before a report; then each copies and says so, reached by Tab after the form', async () => {
        await withPage({ ...desktop, permissions: ['clipboard-read', 'clipboard-write'] }, async (context) => {
            const form = await openAt(context, server.url);
            for (const id of buttons) {
                assert.equal(await form.control(id).isDisabled(), true, id);
            }
            await form.click('Command1');
            await form.control('Command2').focus();
            for (const id of buttons) {
                await form.page.keyboard.press('Tab');
                assert.equal(await form.focusedId(), id);
            }
            await form.page.keyboard.press('Shift+Tab');
            await form.page.keyboard.press('Shift+Tab');
            await form.page.keyboard.press('Enter');
            assert.equal(await readClipboard(form), presetReport);
            assert.equal(await status(form), '결과를 복사했습니다.');

            await form.click('copy-table');
            const rows = karbelon.compareSpells(request(presetTexts)).map((row) => row.columns.map((column) => column.text));
            const heading = karbelon.compareSpells(request(presetTexts))[0].columns.map((column) => column.heading);
            assert.equal(await readClipboard(form), [heading, ...rows].map((cells) => cells.join('\t')).join('\n'));
            assert.equal(await status(form), '표를 복사했습니다.');

            // Chromium on Linux has no share sheet: the link is copied.
            await form.click('share-link');
            assert.equal(await readClipboard(form), form.page.url());
            assert.match(form.page.url(), /#spell=/);
            assert.equal(await status(form), '링크를 복사했습니다.');
        });
    });

    test('the share sheet gets the caption, the report and the link; a cancel says nothing', async () => {
        await withPage(phone, async (context) => {
            await context.addInitScript(() => {
                let answers = [Promise.resolve(), Promise.reject(new DOMException('cancelled', 'AbortError'))];
                globalThis.shared = [];
                navigator.share = (data) => {
                    globalThis.shared.push(data);
                    return answers.shift();
                };
            });
            const form = await openAt(context, server.url);
            await form.control('Command1').tap();
            await form.control('share-link').tap();
            await form.page.waitForFunction(() => document.getElementById('share-status').textContent !== '');
            assert.equal(await status(form), '공유했습니다.');
            await form.control('share-link').tap();
            await form.page.waitForFunction(() => document.getElementById('share-status').textContent === '');
            const shared = await form.page.evaluate(() => globalThis.shared);
            assert.deepEqual(shared[0], { title: table.caption, text: presetReport, url: form.page.url() });
            assert.equal(shared.length, 2);
        });
    });
});

test('each report is announced once through the polite live region, unseen', async () => {
    await withPage(desktop, async (context) => {
        const form = await openAt(context, server.url);
        const announcer = form.page.locator('#report-announcer');
        assert.equal(await announcer.getAttribute('aria-live'), 'polite');
        assert.equal(await announcer.textContent(), '');
        await form.click('Command1');
        assert.equal(await announcer.textContent(), presetReport);
        const box = await announcer.boundingBox();
        assert.ok(box === null || box.width <= 1, 'shown');
        // A message is announced by its dialog; the region keeps the report.
        await form.type('Text1', '');
        await form.click('Command1');
        assert.equal(await announcer.textContent(), presetReport);
    });
});

test('the bars measure each actual damage against the largest; a negative one has none', async () => {
    const cases = [
        { mp: '900000', bars: 8 },
        { mp: '-1', bars: 0 },
    ];
    await withPage(desktop, async (context) => {
        const form = await openAt(context, server.url);
        for (const { mp, bars } of cases) {
            await form.type('Text2', mp);
            await form.click('Command1');
            const shown = await form.page.$$eval('#Comparison tbody tr', (rows) =>
                rows.map((row) => {
                    const bar = row.cells[1].querySelector('.damage-bar');
                    return bar && { hidden: bar.getAttribute('aria-hidden'), width: bar.getBoundingClientRect().width, room: row.cells[1].clientWidth - 12 };
                }),
            );
            const actual = karbelon.compareSpells({ hp: presetTexts.Text1, mp, defence: presetTexts.Text3 }).map((row) => row.actual);
            assert.equal(shown.filter((bar) => bar !== null).length, bars, mp);
            shown.forEach((bar, at) => {
                if (bar !== null) {
                    assert.equal(bar.hidden, 'true');
                    assert.ok(Math.abs(bar.width - (bar.room * actual[at]) / Math.max(...actual)) < 1, `${mp} row ${at}`);
                }
            });
        }
    });
});

describe('dark scheme', () => {
    for (const [name, options] of [['desktop', desktop], ['phone', phone]]) {
        test(`${name}: no accessibility violation, focus ring and icon shown`, async () => {
            await withPage({ ...options, colorScheme: 'dark', bypassCSP: true }, async (context) => {
                const form = await openAt(context, server.url);
                await form.click('Command1');
                await form.page.addScriptTag({ path: axeScript });
                const check = () => form.page.evaluate(async () => (await globalThis.axe.run(document)).violations.map((violation) => `${violation.id}: ${violation.nodes.map((node) => node.target).join(' ')}`));
                assert.deepEqual(await check(), []);
                const look = await form.page.evaluate(async () => {
                    const focused = document.getElementById('copy-report');
                    focused.focus({ focusVisible: true });
                    const icon = document.querySelector('.title-bar img');
                    const pixels = (await createImageBitmap(await (await fetch(icon.currentSrc)).blob())).width;
                    return {
                        scheme: getComputedStyle(document.documentElement).colorScheme,
                        ring: getComputedStyle(focused).outlineStyle,
                        iconSharp: pixels >= icon.width * devicePixelRatio,
                        themeColors: [...document.querySelectorAll('meta[name="theme-color"]')].map((meta) => meta.media),
                    };
                });
                assert.deepEqual(look, { scheme: 'dark', ring: 'solid', iconSharp: true, themeColors: ['(prefers-color-scheme: light)', '(prefers-color-scheme: dark)'] });
                await form.type('Text1', '');
                await form.click('Command1');
                assert.deepEqual(await check(), [], 'with the message box');
            });
        });
    }

    test('the desktop panel keeps its twips places beside the buttons', async () => {
        await withPage({ ...desktop, colorScheme: 'dark' }, async (context) => {
            const form = await openAt(context, `${server.url}#hp=1`);
            const places = await form.page.evaluate((names) => {
                const client = document.querySelector('#Form1 .client').getBoundingClientRect();
                return names.map((name) => {
                    const box = (document.getElementById(`${name}-box`) ?? document.getElementById(name)).getBoundingClientRect();
                    return [box.left - client.left, box.top - client.top, box.width, box.height];
                });
            }, table.controls.map((control) => control.name));
            const css = (twips) => twips / table.twipsPerPixel;
            assert.deepEqual(places, table.controls.map((control) => [control.clientLeft, control.clientTop, control.width, control.height].map(css)));
            assert.equal(await form.page.locator('#Form1 #copy-report').count(), 0);
        });
    });
});
