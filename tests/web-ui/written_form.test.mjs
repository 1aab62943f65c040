// The form the build writes into the page: what shows before any script ran
// must be the control table's form, and the script's text-size fit must give
// what laying out the whole panel at each size gives.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { formPanelMarkup } from '../../web/form_markup.js';
import { FormPage, builtModule, useServerAndBrowser } from './harness.mjs';

const karbelon = await builtModule();
const table = karbelon.controlTable();

let server;
let browser;
useServerAndBrowser((started) => ({ server, browser } = started));

test('without scripts the page shows every control of the table at its place, with its text', async () => {
    const context = await browser.newContext({ locale: 'ko-KR', javaScriptEnabled: false });
    try {
        const page = await context.newPage();
        await page.goto(server.url);
        const shown = await page.evaluate((controls) => {
            const client = document.querySelector('#Form1 > .client').getBoundingClientRect();
            return controls.map(({ name }) => {
                const element = document.getElementById(`${name}-box`) ?? document.getElementById(name);
                const box = element.getBoundingClientRect();
                const text = document.getElementById(name);
                return {
                    name,
                    rect: [box.left - client.left, box.top - client.top, box.width, box.height],
                    text: 'value' in text && text.tagName !== 'BUTTON' ? text.value : text.querySelector('.caption').textContent,
                    labelFor: text.tagName === 'LABEL' ? text.htmlFor : null,
                    ariaLabel: text.getAttribute('aria-label'),
                };
            });
        }, table.controls);
        const css = (twips) => twips / table.twipsPerPixel;
        for (const control of table.controls) {
            // A fieldset's box is its place; the others are placed the same way.
            const expected = [css(control.clientLeft), css(control.clientTop), css(control.width), css(control.height)];
            const found = shown.find((entry) => entry.name === control.name);
            assert.deepEqual(found.rect, expected, `${control.name} place`);
            assert.equal(found.text, control.text, `${control.name} text`);
            // Exactly the labels that the module pairs with a box name it.
            assert.equal(found.labelFor, control.labelFor ?? null, `${control.name} names its box`);
            assert.equal(found.ariaLabel, control.accessibleName ?? null, `${control.name} is called so`);
        }
        // Tab walks the table's order in the written document too.
        const focusable = await page.evaluate(() => [...document.querySelectorAll('#Form1 input, #Form1 textarea, #Form1 button:not([tabindex="-1"])')].map((element) => element.id));
        assert.deepEqual(focusable, table.focusOrder);
        const title = await page.title();
        assert.equal(title, table.caption);
    } finally {
        await context.close();
    }
});

test('texts go into the written markup as text, never as markup', () => {
    const hostile = '<img src=x onerror=alert(1)> & "quoted" \'single\'';
    const cases = [
        ['a caption', (copy) => (copy.caption = hostile)],
        ['a label', (copy) => (copy.controls.find((control) => control.kind === 'Label').text = hostile)],
        ['a box preset', (copy) => (copy.controls.find((control) => control.kind === 'TextBox').text = hostile)],
        ['the result box', (copy) => (copy.controls.find((control) => control.kind === 'MultiLineTextBox').text = hostile)],
    ];
    for (const [where, change] of cases) {
        const copy = structuredClone(table);
        change(copy);
        const { html } = formPanelMarkup(copy);
        assert.ok(!html.includes('<img src=x'), where);
        assert.ok(html.includes('&lt;img src=x onerror=alert(1)&gt; &amp; &quot;quoted&quot; &#39;single&#39;'), where);
    }
    // The parser drops one line break right after <textarea>; a preset that
    // starts with one must keep it.
    const copy = structuredClone(table);
    copy.controls.find((control) => control.kind === 'MultiLineTextBox').text = '\nsecond line';
    assert.match(formPanelMarkup(copy).html, /<textarea[^>]*>\n\nsecond line<\/textarea>/);
});

// The fit sizes only the texts it measures; laying out the whole panel at
// each size (what the desktop windows do) must choose the same size.
test('the text-size fit chooses what sizing the whole panel chooses', async () => {
    const cases = [
        ['Korean', { locale: 'ko-KR' }, []],
        ['German', { locale: 'de-DE' }, []],
        ['narrower buttons', { locale: 'ko-KR' }, [['Command1', 'width', '48px'], ['Command2', 'width', '48px']]],
        ['a narrower frame', { locale: 'ko-KR' }, [['Frame1', 'width', '72px']]],
        ['a shorter result box', { locale: 'ko-KR' }, [['Text4', 'height', '66px']]],
    ];
    for (const [name, options, changes] of cases) {
        const context = await browser.newContext(options);
        try {
            const form = await FormPage.open(context, server.url);
            const [fitted, wholePanel] = await form.page.evaluate(async ({ controls, changes }) => {
                for (const [id, property, value] of changes) {
                    document.getElementById(id).style[property] = value;
                }
                const module = await import('./karbelon.js');
                const { captionRoom, fitTextSize, systemTextSize } = await import('./text_size.js');
                const browserConventions = globalThis.karbelonStart.conventions;
                const panel = document.getElementById('Form1');
                const client = panel.querySelector('.client');
                const elements = new Map(controls.map((control) => [control.name, document.getElementById(control.name)]));
                const systemSize = systemTextSize(document);
                panel.style.fontSize = '';
                const resultBox = elements.get(controls.find((control) => control.feeds === 'report').name);
                const fittedSize = fitTextSize(module.chooseTextSize, { panel, client, elements, report: resultBox }, browserConventions, systemSize, 9);

                // The whole panel at each size asked, every time.
                const probe = document.createElement('textarea');
                probe.className = 'report-probe';
                const placed = getComputedStyle(resultBox);
                for (const side of ['left', 'top', 'width', 'height']) {
                    probe.style[side] = placed[side];
                }
                client.append(probe);
                const measure = {
                    reportFits(report, size) {
                        panel.style.fontSize = `${size}px`;
                        probe.value = report;
                        return probe.scrollWidth <= probe.clientWidth && probe.scrollHeight <= probe.clientHeight;
                    },
                    captionFits(controlName, size) {
                        panel.style.fontSize = `${size}px`;
                        const element = elements.get(controlName);
                        return element.querySelector('.caption').offsetWidth <= captionRoom(element);
                    },
                };
                const wholeSize = module.chooseTextSize(measure, systemSize, 9, browserConventions);
                probe.remove();
                return [fittedSize, wholeSize];
            }, { controls: table.controls, changes });
            assert.equal(fitted, wholePanel, name);
        } finally {
            await context.close();
        }
    }
});

// The finger layout takes every narrower window, so the panel never needs
// scaling: at the narrowest width it gets, with the comparison making the
// page scroll, it stands whole at its own size.
test('the narrowest window that gets the panel shows it whole, unscaled', async () => {
    const context = await browser.newContext({ locale: 'ko-KR', viewport: { width: 440, height: 400 } });
    try {
        const form = await FormPage.open(context, server.url);
        await form.click('Command1');
        const shown = await form.page.evaluate(() => {
            const root = document.documentElement;
            const panel = document.getElementById('Form1');
            const box = panel.getBoundingClientRect();
            return {
                fitted: /^\d+px$/.test(panel.style.fontSize),
                scrolls: root.scrollHeight > root.clientHeight,
                width: box.width,
                inside: box.left >= 0 && box.right <= root.clientWidth,
                sideways: root.scrollWidth > root.clientWidth,
            };
        });
        const width = table.clientWidth / table.twipsPerPixel + 2;
        assert.deepEqual(shown, { fitted: true, scrolls: true, width, inside: true, sideways: false });
    } finally {
        await context.close();
    }
});
