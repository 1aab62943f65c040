// The page under a finger: phones upright and turned and a small touch
// tablet, worked by taps alone. The same form as the panel, laid out for a
// finger: text to read without zooming, targets a fingertip hits, nothing
// wider than the screen.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { FormPage, builtModule, presetReport, spellNames, useServerAndBrowser } from './harness.mjs';

const karbelon = await builtModule();
const table = karbelon.controlTable();

let server;
let browser;
useServerAndBrowser((started) => ({ server, browser } = started));

const devices = [
    { name: 'phone 320 × 568', width: 320, height: 568 },
    { name: 'phone 360 × 640', width: 360, height: 640 },
    { name: 'phone 390 × 844', width: 390, height: 844 },
    { name: 'phone turned, 844 × 390', width: 844, height: 390 },
    { name: 'touch tablet 768 × 1024', width: 768, height: 1024 },
];
const touchContext = ({ width, height }, options = {}) =>
    browser.newContext({ locale: 'ko-KR', viewport: { width, height }, isMobile: true, hasTouch: true, deviceScaleFactor: 3, ...options });

// The targets a finger hits in the form and the result buttons, and neighbours in the window's
// reading order, each right of or below the one before.
const formTargets = ['#Combo1', '.combobox-button', '#Text1', '#Text2', '#Text3', '#Text4', '#Command1', '#Command2', '#Label6', '.result-buttons button'];
const readingOrder = ['Combo1-box', 'Text1', 'Text2', 'Text3', 'Text4', 'Command1', 'Command2', 'Label5', 'Label6'];

// What a reader and a finger meet on the page as it shows now, measured in
// it: each list names what falls short.
function measurePage({ targets, order }) {
    const rect = (element) => element.getBoundingClientRect();
    const name = (element) => element.id || `${element.tagName} "${element.textContent.trim().slice(0, 12)}"`;
    const shown = (element) => element.getClientRects().length > 0 && getComputedStyle(element).visibility !== 'hidden';
    const rgb = (color) => color.match(/[\d.]+/g).map(Number);
    const luminance = (color) => {
        const [r, g, b] = rgb(color).map((value) => (value / 255 <= 0.04045 ? value / 255 / 12.92 : ((value / 255 + 0.055) / 1.055) ** 2.4));
        return 0.2126 * r + 0.7152 * g + 0.0722 * b;
    };
    const background = (element) => {
        let at = element;
        while (at.parentElement !== null && (rgb(getComputedStyle(at).backgroundColor)[3] ?? 1) < 1) {
            at = at.parentElement;
        }
        return getComputedStyle(at).backgroundColor;
    };
    const contrast = (element) => {
        const [light, dark] = [luminance(getComputedStyle(element).color), luminance(background(element))].sort((a, b) => b - a);
        return (light + 0.05) / (dark + 0.05);
    };
    // Every box, and every element that shows text of its own; with the
    // message box open, only what is in it.
    const dialog = document.getElementById('MessageBox');
    const texts = [...document.body.querySelectorAll('*')].filter(
        (element) =>
            shown(element) &&
            !(dialog?.open && !dialog.contains(element)) &&
            (['INPUT', 'TEXTAREA'].includes(element.tagName) ||
                [...element.childNodes].some((node) => node.nodeType === Node.TEXT_NODE && node.textContent.trim() !== '')),
    );
    // The lines of an element's own text (a damage bar beside it is none).
    const lineCount = (element) => {
        const range = document.createRange();
        const tops = [...element.childNodes]
            .filter((node) => node.nodeType === Node.TEXT_NODE)
            .flatMap((node) => {
                range.selectNodeContents(node);
                return [...range.getClientRects()].map((box) => Math.round(box.top));
            });
        return new Set(tops).size;
    };
    const root = document.documentElement;
    const text4 = document.getElementById('Text4');
    const text4Style = getComputedStyle(text4);
    const px = (value) => Number.parseFloat(value);
    const boxes = order.map((id) => rect(document.getElementById(id)));
    const targetIds = ['Combo1-box', 'Text1', 'Text2', 'Text3', 'Text4', 'Command1', 'Command2', 'Label6'];
    let closest = { gap: Infinity };
    targetIds.forEach((first, at) => {
        for (const second of targetIds.slice(at + 1)) {
            const [a, b] = [rect(document.getElementById(first)), rect(document.getElementById(second))];
            const gap = Math.max(a.left - b.right, b.left - a.right, a.top - b.bottom, b.top - a.bottom);
            closest = gap < closest.gap ? { gap, between: `${first}, ${second}` } : closest;
        }
    });
    return {
        smallText: texts
            .filter((element) => px(getComputedStyle(element).fontSize) < (element.closest('#Comparison') === null ? 16 : 14))
            .map((element) => `${name(element)} ${getComputedStyle(element).fontSize}`),
        lowContrast: texts.filter((element) => contrast(element) < 4.5).map((element) => `${name(element)} ${contrast(element).toFixed(2)}`),
        smallTargets: targets
            .flatMap((selector) => [...document.querySelectorAll(selector)])
            .filter((element) => rect(element).width < 44 || rect(element).height < 44)
            .map((element) => `${name(element)} ${rect(element).width}×${rect(element).height}`),
        closest,
        outOfOrder: order.slice(1).filter((id, at) => {
            const [before, box] = [boxes[at], boxes[at + 1]];
            return !(Math.abs(box.top - before.top) < 1 ? box.left >= before.right : box.top >= before.bottom);
        }),
        sideways: [...document.querySelectorAll('#page *')]
            .filter((element) => shown(element) && (rect(element).left < -0.5 || rect(element).right > root.clientWidth + 0.5))
            .map(name)
            .concat(root.scrollWidth > root.clientWidth ? [`scrollWidth ${root.scrollWidth} > ${root.clientWidth}`] : []),
        text4: {
            cut: text4.scrollHeight > text4.clientHeight,
            lines: Math.round((text4.scrollHeight - px(text4Style.paddingTop) - px(text4Style.paddingBottom)) / px(text4Style.lineHeight)),
        },
        wrappedComparisonCells: [...document.querySelectorAll('#Comparison tbody :is(th, td)')].filter((cell) => lineCount(cell) > 1).map(name),
        headings: [...document.querySelectorAll('h1, h2, h3')].map((heading) => `${heading.tagName} ${heading.textContent}`),
        description: document.querySelector('meta[name="description"]')?.content ?? '',
        panelTextSize: document.getElementById('Form1').style.fontSize,
    };
}

const measure = (page, targets = formTargets) => page.evaluate(measurePage, { targets, order: readingOrder });

function assertFit(shown, where) {
    assert.deepEqual(shown.smallText, [], `${where}: text under its least size`);
    assert.deepEqual(shown.lowContrast, [], `${where}: contrast under 4.5:1`);
    assert.deepEqual(shown.smallTargets, [], `${where}: targets under 44 × 44`);
    assert.deepEqual(shown.sideways, [], `${where}: wider than the screen`);
}

async function tapType(form, name, text) {
    await form.control(name).tap();
    await form.page.keyboard.press('Control+A');
    await (text === '' ? form.page.keyboard.press('Delete') : form.page.keyboard.type(text));
}

for (const device of devices) {
    test(`${device.name}: read, hit and used by taps alone`, async () => {
        const context = await touchContext(device);
        context.setDefaultTimeout(5000);
        try {
            await context.route('http://orvane.example/**', (route) => route.fulfill({ contentType: 'text/html', body: '<title>author</title>' }));
            const form = await FormPage.open(context, server.url);
            const { page } = form;

            await form.control('Command1').tap();
            assert.equal(await form.text('Text4'), presetReport);
            const shown = await measure(page);
            assert.equal(shown.panelTextSize, '', 'the panel\'s fitted text size stays off');
            assertFit(shown, device.name);
            assert.ok(shown.closest.gap >= 8, `${shown.closest.between} ${shown.closest.gap} px apart`);
            assert.deepEqual(shown.outOfOrder, [], 'out of the window\'s reading order');
            assert.deepEqual(shown.text4, { cut: false, lines: 5 }, 'the report cut, or a line of it wrapped');
            assert.deepEqual(shown.wrappedComparisonCells, [], 'a spell\'s name or figure broken');
            assert.deepEqual(shown.headings, [`H1 ${table.caption}`, 'H2 마법별 비교']);
            assert.notEqual(shown.description, '');
            // However it is arranged, the comparison stays a table to a screen reader.
            const comparison = page.locator('#Comparison');
            const roles = {};
            for (const role of ['table', 'row', 'columnheader', 'rowheader', 'cell']) {
                roles[role] = await comparison.getByRole(role).count();
            }
            assert.deepEqual(roles, { table: 1, row: 9, columnheader: 5, rowheader: 8, cell: 32 });

            // Typed texts, and a spell chosen from the list with the focus
            // left in the mana box: no on-screen keyboard comes up for it.
            await tapType(form, 'Combo1', '삼매');
            await tapType(form, 'Text1', '1');
            await tapType(form, 'Text3', '0');
            await tapType(form, 'Text2', '600000');
            await page.locator('.combobox-button').tap();
            assert.equal(await form.listShown(), true);
            assert.deepEqual(await form.options().allTextContents(), spellNames);
            assert.deepEqual((await measure(page, ['#Combo1-list [role="option"]'])).smallTargets, [], 'list entries under 44 × 44');
            await form.options().nth(4).tap();
            assert.equal(await form.text('Combo1'), '지옥겁화');
            assert.equal(await form.listShown(), false);
            assert.equal(await form.focusedId(), 'Text2');
            await page.locator('.combobox-button').tap();
            await page.locator('#Form1-caption').tap();
            assert.equal(await form.listShown(), false, 'a tap elsewhere closes the list');

            await form.control('Command1').tap();
            const expected = karbelon.compareSpells({ hp: '1', mp: '600000', defence: '0' }).find((row) => row.spell === '지옥겁화');
            assert.equal(await form.text('Text4'), expected.report.replace(/\r\n/g, '\n'));

            // A message, readable, and its button to dismiss it.
            await tapType(form, 'Text1', '');
            await form.control('Command1').tap();
            assert.equal(await form.dialogShown(), true);
            assert.equal(await form.dialog().locator('#MessageBox-text').textContent(), '체력을 입력하여 주십시요.');
            assertFit(await measure(page, ['#MessageBox button']), `${device.name} message`);
            await form.dialog().locator('button').tap();
            assert.equal(await form.dialogShown(), false);
            assert.equal(await form.text('Text4'), expected.report.replace(/\r\n/g, '\n'));

            await tapType(form, 'Text1', '650000');
            await tapType(form, 'Text3', '');
            await form.control('Command1').tap();
            assert.equal(await form.text('Text3'), '0');

            const [opened] = await Promise.all([context.waitForEvent('page'), form.control('Label6').tap()]);
            await opened.waitForLoadState();
            assert.equal(opened.url(), 'http://orvane.example/');
            await opened.close();

            await form.control('Command2').tap();
            await page.waitForSelector('#page[data-state="closed"]');
            const reopen = await page.locator('#Reopen').boundingBox();
            assert.ok(reopen.width >= 44 && reopen.height >= 44, `새로 열기 ${reopen.width}×${reopen.height}`);
            await page.locator('#Reopen').tap();
            await form.ready();
            assert.equal(await form.text('Combo1'), '카르벨론');
        } finally {
            await context.close();
        }
    });
}

test('without scripts a phone shows the finger layout at once', async () => {
    const context = await touchContext(devices[0], { javaScriptEnabled: false });
    try {
        const page = await context.newPage();
        await page.goto(server.url);
        const shown = await measure(page);
        assertFit(shown, 'before scripts');
        assert.deepEqual(shown.outOfOrder, []);
    } finally {
        await context.close();
    }
});

// Narrowing a desktop window turns the panel into the finger layout and
// back, without a reload: the panel returns with its places and fitted size.
test('a desktop window narrowed and widened again switches layouts both ways', async () => {
    const context = await browser.newContext({ locale: 'ko-KR', viewport: { width: 900, height: 720 } });
    try {
        const form = await FormPage.open(context, server.url);
        const { page } = form;
        const places = () =>
            page.evaluate((names) => {
                const client = document.querySelector('#Form1 .client').getBoundingClientRect();
                return {
                    textSize: document.getElementById('Form1').style.fontSize,
                    places: names.map((name) => {
                        const box = (document.getElementById(`${name}-box`) ?? document.getElementById(name)).getBoundingClientRect();
                        return [name, box.left - client.left, box.top - client.top, box.width, box.height];
                    }),
                };
            }, table.controls.map((control) => control.name));
        const panel = await places();
        assert.match(panel.textSize, /^\d+px$/);
        const headings = await page.evaluate(() => [...document.querySelectorAll('h1')].map((heading) => heading.textContent));
        assert.deepEqual(headings, [table.caption]);

        await page.setViewportSize({ width: 360, height: 640 });
        await form.click('Command1');
        const narrow = await measure(page);
        assert.equal(narrow.panelTextSize, '');
        assertFit(narrow, 'narrowed');

        await page.setViewportSize({ width: 900, height: 720 });
        // The query reports its change with the next frame; the fit follows it.
        await page.waitForFunction(() => document.getElementById('Form1').style.fontSize !== '');
        assert.deepEqual(await places(), panel);
    } finally {
        await context.close();
    }
});
