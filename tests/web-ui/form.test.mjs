// Form1 in the browser, driven by clicks and keys as a user works it.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { FormPage, builtModule, presetReport, presetTexts, spellNames, useServerAndBrowser } from './harness.mjs';

const karbelon = await builtModule();
const table = karbelon.controlTable();

let server;
let browser;
useServerAndBrowser((started) => ({ server, browser } = started));

async function openForm(options = {}) {
    const context = await browser.newContext({ locale: 'ko-KR', ...options });
    context.setDefaultTimeout(5000);
    const form = await FormPage.open(context, server.url);
    return { context, form };
}

async function withForm(options, body) {
    const { context, form } = await openForm(options);
    try {
        await body(form, context);
    } finally {
        await context.close();
    }
}

describe('start', () => {
    test('preset texts, focus in the spell box with nothing selected, no request elsewhere', async () => {
        const context = await browser.newContext({ locale: 'ko-KR' });
        const requests = [];
        const errors = [];
        context.on('request', (request) => requests.push(request.url()));
        const form = new FormPage(await context.newPage());
        // A policy violation or a script error shows in the console.
        form.page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
        form.page.on('pageerror', (error) => errors.push(error.message));
        await form.goto(server.url);
        try {
            assert.deepEqual(await form.texts(), presetTexts);
            assert.equal(await form.focusedId(), 'Combo1');
            assert.equal(await form.page.title(), table.caption);
            const selection = await form.page.evaluate(() => {
                const box = document.getElementById('Combo1');
                return box.selectionEnd - box.selectionStart;
            });
            assert.equal(selection, 0);
            assert.equal(await form.options().count(), spellNames.length);
            assert.equal(await form.listShown(), false);
            assert.deepEqual(
                requests.filter((url) => !url.startsWith(server.origin)),
                [],
            );
            assert.equal(await form.page.evaluate(() => document.cookie), '');
            await form.click('Command1');
            assert.deepEqual(errors, []);
        } finally {
            await context.close();
        }
    });

    test('every control stands at its twips place, the text fits every control', async () => {
        await withForm({}, async (form) => {
            const layout = await form.page.evaluate(() => {
                const client = document.querySelector('#Form1 .client').getBoundingClientRect();
                const place = (id) => {
                    const box = (document.getElementById(`${id}-box`) ?? document.getElementById(id)).getBoundingClientRect();
                    return [box.left - client.left, box.top - client.top, box.width, box.height];
                };
                return {
                    client: [client.width, client.height],
                    Frame1: place('Frame1'),
                    Combo1: place('Combo1'),
                    Text2: place('Text2'),
                    Text4: place('Text4'),
                    Label6: place('Label6'),
                    legend: document.querySelector('#Frame1 > legend').textContent,
                };
            });
            // 15 twips a CSS pixel; Frame1's children from the frame's origin.
            assert.deepEqual(layout.client, [398, 318]);
            assert.deepEqual(layout.Frame1, [16, 8, 361, 129]);
            assert.deepEqual(layout.Combo1, [16 + 56, 8 + 24, 89, 20]);
            assert.deepEqual(layout.Text2, [16 + 224, 8 + 56, 89, 18]);
            assert.deepEqual(layout.Text4, [16, 152, 361, 73]);
            assert.deepEqual(layout.Label6, [240, 296, 145, 17]);
            assert.equal(layout.legend, '기본입력사항');

            await form.click('Command1');
            const overflow = await form.page.evaluate(() => {
                const text4 = document.getElementById('Text4');
                const wide = [...document.querySelectorAll('#Form1 .caption')].filter(
                    (caption) => caption.offsetWidth > caption.parentElement.closest('label, span:not(.caption), button, fieldset').clientWidth,
                );
                return { reportCut: text4.scrollHeight > text4.clientHeight, wide: wide.map((caption) => caption.textContent) };
            });
            assert.deepEqual(overflow, { reportCut: false, wide: [] });
        });
    });

    test('every box is called by the module\'s name for it, its label pointing at it', async () => {
        await withForm({}, async (form) => {
            const named = await form.page.evaluate(() => [...document.querySelectorAll('#Form1 [aria-label]')].map((element) => element.id));
            for (const control of table.controls.filter((entry) => 'accessibleName' in entry)) {
                const role = control.kind === 'ComboBox' ? 'combobox' : 'textbox';
                const box = form.page.getByRole(role, { name: control.accessibleName, exact: true });
                assert.equal(await box.getAttribute('id'), control.name, control.accessibleName);
                assert.ok(named.includes(control.name), control.name);
            }
            for (const control of table.controls.filter((entry) => 'labelFor' in entry)) {
                assert.equal(await form.page.locator(`label[for="${control.labelFor}"]`).getAttribute('id'), control.name);
            }
        });
    });
});

describe('spell list', () => {
    const openers = [
        ['the list button', (form) => form.page.locator('.combobox-button').click()],
        ['Alt+Down', (form) => form.page.keyboard.press('Alt+ArrowDown')],
    ];
    for (const [how, openList] of openers) {
        test(`${how} opens the eight names; a click chooses one and calculates nothing`, async () => {
            await withForm({}, async (form) => {
                await openList(form);
                assert.equal(await form.listShown(), true);
                assert.equal(await form.control('Combo1').getAttribute('aria-expanded'), 'true');
                assert.deepEqual(await form.options().allTextContents(), spellNames);
                await form.options().nth(3).click();
                assert.equal(await form.text('Combo1'), '지옥멸화');
                assert.equal(await form.listShown(), false);
                assert.equal(await form.control('Combo1').getAttribute('aria-expanded'), 'false');
                assert.equal(await form.text('Text4'), '');
                assert.equal(await form.focusedId(), 'Combo1');
            });
        });
    }

    test('arrows and Enter choose; Escape closes and keeps the text', async () => {
        await withForm({}, async (form) => {
            const keys = form.page.keyboard;
            await keys.press('ArrowDown');
            await keys.press('ArrowDown');
            await keys.press('Enter');
            assert.equal(await form.text('Combo1'), '지옥염화');
            assert.equal(await form.listShown(), false);
            await keys.press('Alt+ArrowDown');
            await keys.press('ArrowUp');
            await keys.press('Escape');
            assert.equal(await form.listShown(), false);
            assert.equal(await form.text('Combo1'), '지옥염화');
            assert.equal(await form.options().count(), spellNames.length);
        });
    });

    test('typed text is neither completed nor filtered, and Enter adds nothing', async () => {
        await withForm({}, async (form) => {
            await form.type('Combo1', '삼매');
            await form.page.keyboard.press('Enter');
            await form.page.keyboard.press('Alt+ArrowDown');
            assert.equal(await form.text('Combo1'), '삼매');
            assert.deepEqual(await form.options().allTextContents(), spellNames);
        });
    });
});

test('Tab walks the boxes and buttons in the table order, skipping the list button', async () => {
    await withForm({}, async (form) => {
        const visited = [await form.focusedId()];
        for (let step = 0; step < 6; step += 1) {
            await form.page.keyboard.press('Tab');
            visited.push(await form.focusedId());
        }
        assert.deepEqual(visited, ['Combo1', 'Text1', 'Text2', 'Text3', 'Text4', 'Command1', 'Command2']);
    });
});

describe('calculate', () => {
    test('at once and twice gives the same five lines', async () => {
        await withForm({}, async (form) => {
            await form.click('Command1');
            assert.equal(await form.text('Text4'), presetReport);
            await form.click('Command1');
            assert.equal(await form.text('Text4'), presetReport);
        });
    });

    test('each message shows in the dialog and the old report stays', async () => {
        const cases = [
            { box: 'Text1', text: '', message: '체력을 입력하여 주십시요.', close: 'Escape' },
            { box: 'Text2', text: '', message: '마력을 입력하여 주십시요.', close: 'button' },
            { box: 'Text1', text: '육십만', message: '입력된 체력이 숫자가 아닙니다.', close: 'Escape' },
            { box: 'Text2', text: '9e9e', message: '입력된 마력이 숫자가 아닙니다.', close: 'button' },
            { box: 'Text3', text: 'abc', message: '입력된 방어가 숫자가 아닙니다.', close: 'Escape' },
            { box: 'Text3', text: '201', message: '입력된 방어범위가 올바르지 않습니다. 범위는 -200~+200 입니다.', close: 'button' },
        ];
        await withForm({}, async (form) => {
            await form.click('Command1');
            for (const { box, text, message, close } of cases) {
                await form.type(box, text);
                await form.click('Command1');
                assert.equal(await form.dialogShown(), true, message);
                const dialog = form.dialog();
                assert.equal(await dialog.getAttribute('role'), 'alertdialog');
                assert.equal(await dialog.locator('#MessageBox-caption').textContent(), 'Karbelon');
                assert.equal(await dialog.locator('#MessageBox-text').textContent(), message);
                assert.equal(await dialog.locator('img[src="error-icon.svg"]').count(), 1);
                assert.deepEqual(await dialog.locator('button').allTextContents(), ['확인']);
                assert.equal(await form.page.evaluate(() => document.activeElement.textContent), '확인');

                // The page behind takes no input while the box shows.
                const behind = await form.control('Command2').boundingBox();
                await form.page.mouse.click(behind.x + 5, behind.y + 5);
                assert.equal(await form.dialogShown(), true);
                assert.equal(await form.page.locator('#Form1').count(), 1);

                if (close === 'Escape') {
                    await form.page.keyboard.press('Escape');
                } else {
                    await dialog.locator('button').click();
                }
                assert.equal(await form.dialogShown(), false);
                assert.equal(await form.focusedId(), 'Command1');
                assert.equal(await form.text('Text4'), presetReport);
                await form.type(box, presetTexts[box]);
            }
        });
    });

    test('an empty defence box is reset to 0, and the next click reports without reduction', async () => {
        await withForm({}, async (form) => {
            await form.type('Text3', '');
            await form.click('Command1');
            assert.equal(await form.text('Text3'), '0');
            assert.equal(await form.text('Text4'), '');
            assert.equal(await form.dialogShown(), false);
            await form.click('Command1');
            const lines = (await form.text('Text4')).split('\n');
            assert.equal(lines[0], '실제데미지 : 1,349,100');
            assert.equal(lines[4], '데미지 감소율 : 0%');
        });
    });

    test('a typed name that is not in the list gives empty damage and no cooldown', async () => {
        await withForm({}, async (form) => {
            await form.type('Combo1', '삼매');
            await form.click('Command1');
            assert.equal(await form.text('Combo1'), '삼매');
            assert.equal(
                await form.text('Text4'),
                ['실제데미지 : ', '파력무참진 적용시 : ', '보호 적용시 : ', '쿨타임 : 0초', '데미지 감소율 : 75%'].join('\n'),
            );
        });
    });

    test('10 MB pasted into a box is answered, and the box keeps it whole', async () => {
        const length = 10 * 1024 * 1024;
        const cases = [
            { box: 'Text2', message: '입력된 마력이 너무 큽니다.' },
            { box: 'Text1', report: presetReport },
        ];
        await withForm({}, async (form) => {
            for (const { box, message, report } of cases) {
                await form.control(box).fill('1'.repeat(length), { timeout: 60_000 });
                await form.click('Command1');
                if (message === undefined) {
                    assert.equal(await form.dialogShown(), false, box);
                    assert.equal(await form.text('Text4'), report);
                } else {
                    assert.equal(await form.dialogShown(), true, box);
                    assert.equal(await form.dialog().locator('#MessageBox-text').textContent(), message);
                    await form.page.keyboard.press('Escape');
                }
                const kept = await form.page.evaluate(
                    ([id, size]) => document.getElementById(id).value === '1'.repeat(size),
                    [box, length],
                );
                assert.equal(kept, true, box);
                await form.control(box).fill(presetTexts[box]);
            }
        });
    });

    test('typing into a long text keeps the caret where it was', async () => {
        await withForm({}, async (form) => {
            await form.control('Text2').fill('1'.repeat(70_000));
            await form.page.keyboard.press('Home');
            await form.page.keyboard.type('23');
            const box = await form.page.evaluate(() => {
                const { value, selectionStart, selectionEnd } = document.getElementById('Text2');
                return { start: value.slice(0, 4), length: value.length, selectionStart, selectionEnd };
            });
            assert.deepEqual(box, { start: '2311', length: 70_002, selectionStart: 2, selectionEnd: 2 });
        });
    });

    test('Enter and Escape in a box press no button', async () => {
        await withForm({}, async (form) => {
            for (const box of ['Combo1', 'Text1', 'Text2', 'Text3']) {
                await form.click(box);
                await form.page.keyboard.press('Enter');
                await form.page.keyboard.press('Escape');
            }
            assert.deepEqual(await form.texts(), presetTexts);
            assert.equal(await form.dialogShown(), false);
            assert.equal(await form.page.locator('#Form1').count(), 1);
        });
    });
});

test('the web label opens the address with "/" in a new tab without an opener', async () => {
    await withForm({}, async (form, context) => {
        await context.route('http://orvane.example/**', (route) =>
            route.fulfill({ contentType: 'text/html', body: '<title>author</title>' }),
        );
        assert.equal(await form.control('Label6').textContent(), 'http://orvane.example');
        const [opened] = await Promise.all([context.waitForEvent('page'), form.click('Label6')]);
        await opened.waitForLoadState();
        assert.equal(opened.url(), 'http://orvane.example/');
        assert.equal(await opened.evaluate(() => window.opener), null);
        assert.equal(await form.text('Text4'), '');
    });
});

describe('close', () => {
    test('where the tab stays, the form goes and a fresh one can be opened', async () => {
        await withForm({}, async (form) => {
            // A tab the user navigated in cannot be closed by the page.
            await form.goto(`${server.url}?again`);
            await form.type('Text1', '1');
            await form.click('Command1');
            await form.click('Command2');
            await form.page.waitForSelector('#page[data-state="closed"]');
            assert.equal(await form.page.locator('#Form1').count(), 0);
            assert.equal(await form.page.locator('#Comparison').count(), 0);
            assert.match(await form.page.locator('#page .notice').textContent(), /계산기를 닫았습니다\./);
            await form.page.locator('#Reopen').click();
            await form.ready();
            assert.deepEqual(await form.texts(), presetTexts);
            assert.equal(await form.focusedId(), 'Combo1');
            assert.equal(await form.options().count(), spellNames.length);
        });
    });

    test('a tab opened by a script closes', async () => {
        await withForm({}, async (form, context) => {
            const [opened] = await Promise.all([
                context.waitForEvent('page'),
                form.page.evaluate((url) => window.open(url), server.url),
            ]);
            const second = new FormPage(opened);
            await second.ready();
            // The tab may close before the click's own reply comes back; only that
            // error is expected, and only once the tab really is gone.
            const clicked = second.click('Command2').then(
                () => null,
                (error) => error,
            );
            await opened.waitForEvent('close');
            const clickError = await clicked;
            if (clickError !== null && !/closed/.test(clickError.message)) {
                throw clickError;
            }
            assert.equal(opened.isClosed(), true);
        });
    });
});

test('German browser language: comma for decimals, dot for groups', async () => {
    await withForm({ locale: 'de-DE' }, async (form) => {
        await form.page.locator('.combobox-button').click();
        await form.options().nth(4).click();
        await form.click('Command1');
        assert.equal(
            await form.text('Text4'),
            ['실제데미지 : 455.542', '파력무참진 적용시 : 911.085', '보호 적용시 : 227.771', '쿨타임 : 7,5초', '데미지 감소율 : 75%'].join('\n'),
        );
    });
});

test('the comparison table shows all eight spells and changes only when a calculation succeeds', async () => {
    await withForm({}, async (form) => {
        const table = form.page.locator('#Comparison');
        assert.equal(await table.isVisible(), false);
        await form.click('Command1');
        const rows = () => table.locator('tbody tr').evaluateAll((trs) => trs.map((tr) => [...tr.cells].map((cell) => cell.textContent)));
        const first = await rows();
        assert.deepEqual(first.map((row) => row[0]), spellNames);
        assert.deepEqual(first[0], ['카르벨론', '337,275', '674,550', '168,637', '10초']);
        assert.deepEqual(first[4], ['지옥겁화', '455,542', '911,085', '227,771', '7.5초']);
        assert.deepEqual(await table.locator('thead th').allTextContents(), ['마법', '실제데미지', '파력무참진 적용시', '보호 적용시', '쿨타임']);
        assert.equal(await table.locator('.comparison-rate').textContent(), '데미지 감소율 : 75%');
        // Every text is the module's own comparison for the same request.
        const compared = karbelon.compareSpells({ hp: '650000', mp: '900000', defence: '-100' });
        assert.deepEqual(first, compared.map((spell) => spell.columns.map((column) => column.text)));
        assert.deepEqual(
            await table.locator('thead th').allTextContents(),
            compared[0].columns.map((column) => column.heading),
        );

        await form.type('Text1', '');
        await form.click('Command1');
        await form.page.keyboard.press('Escape');
        await form.type('Text1', presetTexts.Text1);
        await form.type('Text3', '');
        await form.click('Command1');
        assert.deepEqual(await rows(), first);

        await form.click('Command1');
        assert.equal((await rows())[0][1], '1,349,100');
        assert.equal(await table.locator('.comparison-rate').textContent(), '데미지 감소율 : 0%');
    });
});

// What the table must show for a comparison: a row of texts per spell, its
// figures or its name and message, or no table for the request's own outcome.
function comparisonRows(compared) {
    if (!Array.isArray(compared)) {
        return null;
    }
    return compared.map((row) => (row.outcome === 'figures' ? row.columns.map((column) => column.text) : [row.spell, row.message]));
}

const shownComparison = (form) =>
    form.page.evaluate(() => {
        const section = document.getElementById('Comparison');
        if (section.hidden) {
            return null;
        }
        return [...section.querySelectorAll('tbody tr')].map((tr) => [...tr.cells].map((cell) => cell.textContent));
    });

test('the table shown always belongs to the report in the result box', async () => {
    const hugeMana = `1${'0'.repeat(308)}`;
    await withForm({}, async (form) => {
        await form.click('Command1');
        await form.type('Text2', hugeMana);
        await form.click('Command1');
        // One spell may overflow where another does not: the chosen one gives its report.
        const report = await form.text('Text4');
        assert.notEqual(report, presetReport);
        assert.match(report, /^실제데미지 : [\d,]+\n/);
        const request = { hp: presetTexts.Text1, mp: hugeMana, defence: presetTexts.Text3 };
        const expected = comparisonRows(karbelon.compareSpells(request));
        assert.deepEqual(await shownComparison(form), expected);

        // A message leaves the report, and with it its table.
        await form.type('Text1', '');
        await form.click('Command1');
        await form.page.keyboard.press('Escape');
        assert.equal(await form.text('Text4'), report);
        assert.deepEqual(await shownComparison(form), expected);
    });
});

// The table's rows from fixed answers, as the module gives them: spells with
// figures and spells with a message, only messages, or the request's own outcome.
test('a spell without figures shows its message across the figure columns', async () => {
    const figures = (spell, actual) => ({
        spell,
        outcome: 'figures',
        columns: [['마법', spell], ['실제데미지', actual], ['파력무참진 적용시', '2'], ['보호 적용시', '3'], ['쿨타임', '4초']].map(([heading, text]) => ({ heading, text })),
        rateLine: '데미지 감소율 : 0%',
    });
    const overflow = (spell) => ({ spell, outcome: 'message', message: '입력된 마력이 너무 큽니다.' });
    const cases = [
        {
            name: 'figures and a message',
            answer: [figures('카르벨론', '37,500'), overflow('지옥진화'), figures('지옥멸화', '1')],
            shown: {
                head: ['마법', '실제데미지', '파력무참진 적용시', '보호 적용시', '쿨타임'],
                rows: [['TH 카르벨론', 'TD 37,500', 'TD 2', 'TD 3', 'TD 4초'], ['TH 지옥진화', 'TD*4 입력된 마력이 너무 큽니다.'], ['TH 지옥멸화', 'TD 1', 'TD 2', 'TD 3', 'TD 4초']],
                rate: '데미지 감소율 : 0%',
            },
        },
        {
            name: 'only messages',
            answer: [overflow('카르벨론'), overflow('지옥진화')],
            shown: { head: [], rows: [['TH 카르벨론', 'TD 입력된 마력이 너무 큽니다.'], ['TH 지옥진화', 'TD 입력된 마력이 너무 큽니다.']], rate: null },
        },
        { name: 'the request\'s own outcome', answer: { outcome: 'message', message: '입력된 마력이 너무 큽니다.' }, shown: null },
    ];
    await withForm({}, async (form) => {
        for (const { name, answer, shown } of cases) {
            const found = await form.page.evaluate(async ({ before, results }) => {
                const { createComparison } = await import('./comparison_table.js');
                const comparison = createComparison(document);
                // Whatever was shown before goes.
                comparison.show(before);
                comparison.show(results);
                const { element } = comparison;
                if (element.hidden) {
                    return element.querySelector('table').childElementCount === 0 ? null : 'hidden, rows kept';
                }
                const rate = element.querySelector('.comparison-rate');
                return {
                    head: [...element.querySelectorAll('thead th')].map((cell) => cell.textContent),
                    rows: [...element.querySelectorAll('tbody tr')].map((tr) =>
                        [...tr.cells].map((cell) => `${cell.tagName}${cell.colSpan > 1 ? `*${cell.colSpan}` : ''} ${cell.textContent}`)),
                    rate: rate.hidden ? null : rate.textContent,
                };
            }, { before: [figures('삼매겁화', '9')], results: answer });
            assert.deepEqual(found, shown, name);
        }
    });
});
