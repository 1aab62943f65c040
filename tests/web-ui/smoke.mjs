// The whole use of the page, written once and run in every engine
// (smoke_*.test.mjs): each step through the page object below, which works
// only through the engine interface of engines.mjs.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { builtModule, presetReport, presetTexts, spellNames, startServer } from './harness.mjs';

const karbelon = await builtModule();
const boxNames = ['Combo1', 'Text1', 'Text2', 'Text3'];

// Functions run inside the page: each stands alone, taking one argument.
const inPage = {
    state: () => document.getElementById('page')?.dataset.state ?? '',
    value: (id) => document.getElementById(id).value,
    focusedId: () => document.activeElement?.id ?? '',
    // The focused element and whether its focus ring shows.
    focusRing: () => {
        const focused = document.activeElement;
        return { id: focused?.id ?? '', ring: focused.matches(':focus-visible') && getComputedStyle(focused).outlineStyle !== 'none' };
    },
    listShown: () => {
        const list = document.getElementById('Combo1-list');
        return !list.hidden && list.getClientRects().length > 0;
    },
    options: () => [...document.querySelectorAll('#Combo1-list [role="option"]')].map((option) => option.textContent),
    comparison: () => {
        const section = document.getElementById('Comparison');
        if (section === null || section.hidden) {
            return null;
        }
        return {
            heading: [...section.querySelectorAll('thead th')].map((cell) => cell.textContent),
            rows: [...section.querySelectorAll('tbody tr')].map((row) => [...row.cells].map((cell) => cell.textContent)),
        };
    },
    message: () => {
        const dialog = document.getElementById('MessageBox');
        return {
            open: dialog?.open ?? false,
            text: dialog?.querySelector('#MessageBox-text')?.textContent ?? '',
            focused: document.activeElement?.textContent ?? '',
        };
    },
    notice: () => document.querySelector('#page .notice')?.textContent ?? '',
    address: () => location.href,
    actions: () =>
        ['copy-report', 'copy-table', 'share-link'].map((id) => {
            const button = document.getElementById(id);
            return button === null ? null : { text: button.textContent, disabled: button.disabled };
        }),
    shareStatus: () => document.getElementById('share-status')?.textContent ?? '',
    // The colours a reader sees: the page's ground and the text on it.
    colours: () => {
        const rgb = (color) => color.match(/[\d.]+/g).map(Number);
        const luminance = (color) => {
            const [r, g, b] = rgb(color).map((value) => (value / 255 <= 0.04045 ? value / 255 / 12.92 : ((value / 255 + 0.055) / 1.055) ** 2.4));
            return 0.2126 * r + 0.7152 * g + 0.0722 * b;
        };
        const ground = (element) => {
            for (let at = element; at !== null; at = at.parentElement) {
                const color = getComputedStyle(at).backgroundColor;
                if ((rgb(color)[3] ?? 1) === 1) {
                    return color;
                }
            }
            return 'rgb(255, 255, 255)';
        };
        const contrast = (element) => {
            const [light, dark] = [luminance(getComputedStyle(element).color), luminance(ground(element))].sort((a, b) => b - a);
            return (light + 0.05) / (dark + 0.05);
        };
        const shown = [...document.querySelectorAll('#page *')].filter(
            (element) =>
                element.getClientRects().length > 0 &&
                (['INPUT', 'TEXTAREA', 'BUTTON'].includes(element.tagName) ||
                    [...element.childNodes].some((node) => node.nodeType === Node.TEXT_NODE && node.textContent.trim() !== '')),
        );
        return {
            ground: luminance(ground(document.getElementById('page'))),
            report: luminance(ground(document.getElementById('Text4'))),
            lowContrast: shown.filter((element) => contrast(element) < 4.5).map((element) => `${element.id || element.tagName} ${contrast(element).toFixed(2)}`),
        };
    },
    // The finger layout at this width: on, nothing sideways, targets a
    // finger hits.
    fingerLayout: () => {
        const root = document.documentElement;
        const report = document.getElementById('Text4');
        const small = ['Combo1', 'Text1', 'Text2', 'Text3', 'Command1', 'Command2']
            .map((id) => [id, document.getElementById(id).getBoundingClientRect()])
            .filter(([, box]) => box.width < 44 || box.height < 44)
            .map(([id, box]) => `${id} ${box.width}×${box.height}`);
        return {
            width: innerWidth,
            on: getComputedStyle(root).getPropertyValue('--finger-layout').trim(),
            panelTextSize: document.getElementById('Form1').style.fontSize,
            sideways: root.scrollWidth > root.clientWidth ? `${root.scrollWidth} > ${root.clientWidth}` : '',
            small,
            reportCut: report.scrollHeight > report.clientHeight,
        };
    },
};

// The page as a user works it, in whichever engine the tab belongs to.
export class KarbelonPage {
    constructor(tab) {
        this.tab = tab;
    }

    async open(url) {
        await this.tab.goto(url);
        await this.until('ready');
    }

    // Waits for the page's state (ready, closed) as app.js marks it.
    async until(state) {
        await this.waitFor(inPage.state, state, `page state ${state}`);
    }

    async waitFor(fn, expected, what, timeout = 10000) {
        const end = Date.now() + timeout;
        let seen;
        for (;;) {
            seen = await this.tab.evaluate(fn, typeof expected === 'string' ? undefined : expected);
            if (typeof expected === 'string' ? seen === expected : seen) {
                return seen;
            }
            if (Date.now() > end) {
                throw new Error(`waited ${timeout} ms for ${what}; last seen ${JSON.stringify(seen)}`);
            }
            await new Promise((resolveWait) => setTimeout(resolveWait, 50));
        }
    }

    read(fn, arg) {
        return this.tab.evaluate(fn, arg);
    }

    text(name) {
        return this.read(inPage.value, name);
    }

    async texts(names = Object.keys(presetTexts)) {
        const texts = {};
        for (const name of names) {
            texts[name] = await this.text(name);
        }
        return texts;
    }

    // Replaces a box's text by selecting all and typing, as a user would.
    async typeInto(name, text) {
        await this.tab.click(`#${name}`);
        await this.tab.press('Control+A');
        await (text === '' ? this.tab.press('Delete') : this.tab.type(text));
    }

    async openSpellList() {
        await this.tab.click('.combobox-button');
        await this.waitFor(inPage.listShown, null, 'the spell list');
    }

    chooseSpell(index) {
        return this.tab.click(`#Combo1-option-${index}`);
    }

    calculate() {
        return this.tab.click('#Command1');
    }

    press(keys) {
        return this.tab.press(keys);
    }

    async closeForm() {
        await this.tab.click('#Command2');
        await this.until('closed');
    }

    async reopen() {
        await this.tab.click('#Reopen');
        await this.until('ready');
    }

    // Clicks a result button and waits for the status line to confirm it.
    async resultAction(id, confirmation) {
        await this.tab.click(`#${id}`);
        await this.waitFor(inPage.shareStatus, confirmation, `${id}'s status`);
    }
}

const expectedComparison = (request) => {
    const compared = karbelon.compareSpells(request);
    return {
        heading: compared[0].columns.map((column) => column.heading),
        rows: compared.map((row) => row.columns.map((column) => column.text)),
    };
};

// The steps, each in a fresh tab of the engine that start() gives.
export function smokeSuite(start) {
    let server;
    let engine;
    before(async () => {
        server = await startServer();
        engine = await start();
    });
    after(async () => {
        await engine?.stop();
        await server?.stop();
    });

    async function withPage(body, { size, dark = false, url = server.url } = {}) {
        const tab = dark ? await engine.darkTab() : await engine.newTab(size);
        try {
            const page = new KarbelonPage(tab);
            await page.open(url);
            await body(page);
        } finally {
            await tab.close();
        }
    }

    // Where the engine's automation cannot do a step, the test says why.
    const stepTest = (name, step, body) =>
        test(name, async (t) => {
            const reason = engine.cannot[step];
            if (reason) {
                t.skip(reason);
                return;
            }
            await body(t);
        });

    test('loads to the ready form, the preset texts in its boxes and the focus in the spell box', async () => {
        await withPage(async (page) => {
            assert.deepEqual(await page.texts(), presetTexts);
            assert.equal(await page.read(inPage.focusedId), 'Combo1');
            assert.deepEqual(await page.read(inPage.options), spellNames);
            assert.equal(await page.read(inPage.listShown), false);
            assert.equal(await page.read(inPage.comparison), null);
            // The keyboard moves on in the window's order, and shows where it is.
            await page.press('Tab');
            assert.deepEqual(await page.read(inPage.focusRing), { id: 'Text1', ring: true });
        });
    });

    test('typed texts stay in each box; the spell list opens and an entry is chosen', async () => {
        await withPage(async (page) => {
            const typed = { Combo1: '삼매 진화', Text1: '1,000', Text2: '600000.5', Text3: '-7' };
            for (const name of boxNames) {
                await page.typeInto(name, typed[name]);
            }
            assert.deepEqual(await page.texts(boxNames), typed);
            await page.openSpellList();
            assert.deepEqual(await page.read(inPage.options), spellNames);
            await page.chooseSpell(4);
            assert.equal(await page.text('Combo1'), spellNames[4]);
            assert.equal(await page.read(inPage.listShown), false);
            assert.equal(await page.read(inPage.focusedId), 'Combo1');
            assert.equal(await page.text('Text4'), '');
        });
    });

    test('a calculation shows the report and the comparison of all eight spells', async () => {
        await withPage(async (page) => {
            await page.calculate();
            assert.equal(await page.text('Text4'), presetReport);
            assert.deepEqual(
                await page.read(inPage.comparison),
                expectedComparison({ hp: presetTexts.Text1, mp: presetTexts.Text2, defence: presetTexts.Text3 }),
            );
        });
    });

    test('a message shows in the box, Enter dismisses it, and the report stays', async () => {
        await withPage(async (page) => {
            await page.calculate();
            await page.typeInto('Text1', '');
            await page.calculate();
            assert.deepEqual(await page.read(inPage.message), { open: true, text: '체력을 입력하여 주십시요.', focused: '확인' });
            await page.press('Enter');
            assert.equal((await page.read(inPage.message)).open, false);
            assert.equal(await page.read(inPage.focusedId), 'Command1');
            assert.equal(await page.text('Text4'), presetReport);
        });
    });

    test('an empty defence is reset to 0, and the next calculation has no reduction', async () => {
        await withPage(async (page) => {
            await page.typeInto('Text3', '');
            await page.calculate();
            assert.equal(await page.text('Text3'), '0');
            assert.equal((await page.read(inPage.message)).open, false);
            await page.calculate();
            const lines = (await page.text('Text4')).split('\n');
            assert.deepEqual([lines[0], lines[4]], ['실제데미지 : 1,349,100', '데미지 감소율 : 0%']);
        });
    });

    test('닫기 ends the form where the tab stays, and a fresh one opens', async () => {
        // A tab the user navigated in cannot be closed by the page.
        await withPage(async (page) => {
            await page.open(`${server.url}?again`);
            await page.typeInto('Text1', '1');
            await page.calculate();
            await page.closeForm();
            assert.match(await page.read(inPage.notice), /계산기를 닫았습니다\./);
            await page.reopen();
            assert.deepEqual(await page.texts(), presetTexts);
            assert.equal(await page.read(inPage.focusedId), 'Combo1');
        });
    });

    test('a calculation\'s link opens a fresh page with the same boxes and report', async () => {
        const typed = { Combo1: spellNames[4], Text1: '650000', Text2: '900000', Text3: '-100' };
        const request = { hp: typed.Text1, mp: typed.Text2, defence: typed.Text3 };
        const report = karbelon
            .compareSpells(request)
            .find((row) => row.spell === typed.Combo1)
            .report.replace(/\r\n/g, '\n');
        let link;
        await withPage(async (page) => {
            for (const name of boxNames.slice(1)) {
                await page.typeInto(name, typed[name]);
            }
            await page.openSpellList();
            await page.chooseSpell(4);
            await page.calculate();
            link = await page.read(inPage.address);
        });
        assert.equal(new URL(link).hash, `#${new URLSearchParams({ spell: typed.Combo1, ...request })}`);
        await withPage(
            async (page) => {
                assert.deepEqual(await page.texts(boxNames), typed);
                assert.equal(await page.text('Text4'), report);
                assert.deepEqual(await page.read(inPage.comparison), expectedComparison(request));
            },
            { url: link },
        );
    });

    stepTest('the copy buttons put the report, the table and the link on the clipboard', 'clipboard', async () => {
        await withPage(async (page) => {
            assert.deepEqual(await page.read(inPage.actions), [
                { text: '결과 복사', disabled: true },
                { text: '표 복사', disabled: true },
                { text: '링크 공유', disabled: true },
            ]);
            await page.calculate();
            await page.resultAction('copy-report', '결과를 복사했습니다.');
            assert.equal(await page.tab.clipboardText(), presetReport);

            await page.resultAction('copy-table', '표를 복사했습니다.');
            const { heading, rows } = await page.read(inPage.comparison);
            assert.equal(await page.tab.clipboardText(), [heading, ...rows].map((cells) => cells.join('\t')).join('\n'));

            await page.resultAction('share-link', '링크를 복사했습니다.');
            assert.equal(await page.tab.clipboardText(), await page.read(inPage.address));
        });
    });

    stepTest('at 360 px wide the finger layout, nothing sideways, targets a finger hits, the report whole', 'narrow', async () => {
        await withPage(
            async (page) => {
                await page.calculate();
                assert.deepEqual(await page.read(inPage.fingerLayout), { width: 360, on: 'on', panelTextSize: '', sideways: '', small: [], reportCut: false });
                assert.equal(await page.text('Text4'), presetReport);
                // Figures of hundreds of digits wrap over many lines: the box grows to show them.
                await page.typeInto('Text2', `1${'0'.repeat(308)}`);
                await page.calculate();
                const shown = await page.read(inPage.fingerLayout);
                assert.deepEqual([shown.sideways, shown.reportCut], ['', false]);
            },
            { size: { width: 360, height: 740 } },
        );
    });

    // 링크 공유 opens the system's share sheet where navigator.share exists;
    // the engines here have none, so the step above takes the copy path.
    test('링크 공유 through the system\'s share sheet', (t) => t.skip(engine.cannot.shareSheet));

    stepTest('the dark scheme: a dark ground, every text readable on it', 'dark', async () => {
        let light;
        await withPage(async (page) => {
            await page.calculate();
            light = await page.read(inPage.colours);
        });
        await withPage(
            async (page) => {
                await page.calculate();
                const dark = await page.read(inPage.colours);
                assert.ok(light.ground > 0.5 && dark.ground < 0.2, `ground luminance ${light.ground} light, ${dark.ground} dark`);
                assert.ok(dark.report < 0.2, `report box luminance ${dark.report}`);
                assert.deepEqual(dark.lowContrast, [], 'contrast under 4.5:1');
            },
            { dark: true },
        );
    });
}
