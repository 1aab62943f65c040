// The page: Form1 drawn from the module's control table and driven by the
// module's presenter, the same window logic as the desktop builds.
import * as karbelon from './karbelon.js';
import { attachCombobox } from './combobox.js';
import { createComparison } from './comparison_table.js';
import { fingerLayoutQuery, fitScale } from './layout.js';
import { createMessageDialog } from './message_dialog.js';
import { fitTextSize, systemTextSize } from './text_size.js';

const smallestTextSize = 9;
const pageMargin = 8;

const page = document.getElementById('page');
// The form as the build wrote it, before anyone typed: a closed form opens
// again from a copy of it.
const writtenForm = page.querySelector('.window-frame')?.cloneNode(true) ?? null;
// What the page's start script (page_start.js, inline in the head) began.
const started = globalThis.karbelonStart ?? null;
const conventions = started?.conventions;
let messageDialog = null;
let current = null;
// The stylesheet lays the form out for a finger under the same query; the
// panel's text-size fit and scale are for the panel only.
const fingerLayout = matchMedia(fingerLayoutQuery);

// Made after the form is ready, or at the first message if that comes sooner.
function messageBox() {
    messageDialog ??= createMessageDialog(document);
    return messageDialog;
}

// Scales the whole panel down to the viewport's width; controls never move.
// The finger layout takes over where the panel would not fit at its own
// size, so this only guards against a scroll bar wider than its rule allows.
function scalePanel() {
    if (current === null || fingerLayout.matches) {
        return;
    }
    const { frame, panel } = current;
    const width = panel.offsetWidth;
    const scale = fitScale(width, document.documentElement.clientWidth, pageMargin);
    panel.style.transform = scale === 1 ? '' : `scale(${scale})`;
    frame.style.width = `${width * scale}px`;
    frame.style.height = `${panel.offsetHeight * scale}px`;
}

// The panel gets its fitted text size and scale; the finger layout drops
// both and takes its sizes from the stylesheet. Run again at each switch.
function arrangeForm() {
    if (current === null) {
        return;
    }
    const { frame, panel, form } = current;
    if (fingerLayout.matches) {
        panel.style.fontSize = '';
        panel.style.transform = '';
        frame.style.width = '';
        frame.style.height = '';
        return;
    }
    fitTextSize(karbelon.chooseTextSize, form, conventions, systemTextSize(document), smallestTextSize);
    scalePanel();
}

// Chromium spends half a second of each frame on 10 MB that an edit changed, none on the same
// text set by script: a long text is set anew after each edit, selection kept, undo history lost.
const longText = 65536;

function settleLongText(box) {
    if (box.value.length < longText) {
        return;
    }
    const { value, selectionStart, selectionEnd, selectionDirection } = box;
    box.value = '';
    box.value = value;
    box.setSelectionRange(selectionStart, selectionEnd, selectionDirection);
}

function createView(form, state) {
    const { elements, combobox } = form;
    return {
        controlText(name) {
            const text = elements.get(name).value;
            // A multi-line box gives its lines back with the report's own breaks.
            return name === 'Text4' ? text.replace(/\r?\n/g, '\r\n') : text;
        },
        setControlText(name, text) {
            elements.get(name).value = text;
            if (name === 'Text4') {
                state.reportShown = true;
            }
        },
        appendSpellItem(text) {
            combobox.addOption(text);
        },
        showErrorMessage(text, caption) {
            messageBox().show(text, caption);
        },
        unload() {
            state.unloadRequested = true;
        },
        openAuthorPage(address) {
            window.open(address, '_blank', 'noopener');
        },
    };
}

// The panel's elements in the document, with the list box's behaviour: the
// panel, its client area and, by control name, the element that holds each
// control's text (for Combo1 its input).
function bindFormPanel(table) {
    const panel = document.getElementById('Form1');
    const elements = new Map(table.controls.map((control) => [control.name, document.getElementById(control.name)]));
    const comboBox = table.controls.find((control) => control.kind === 'ComboBox');
    return {
        panel,
        client: panel.querySelector('.client'),
        elements,
        combobox: comboBox === undefined ? null : attachCombobox(document, comboBox.name),
    };
}

function freshForm() {
    const frame = writtenForm.cloneNode(true);
    for (const box of frame.querySelectorAll('input, textarea')) {
        box.value = box.defaultValue;
    }
    return frame;
}

// Gives the form in the page its behaviour; the page shows it already.
function openForm(table) {
    const frame = page.querySelector('.window-frame');
    const form = bindFormPanel(table);
    const comparison = createComparison(document);
    page.append(comparison.element);

    const state = { reportShown: false, unloadRequested: false };
    const presenter = karbelon.createForm1(createView(form, state), conventions);
    current = { frame, panel: form.panel, form, presenter };
    arrangeForm();
    const { elements } = form;
    const request = () => ({
        spell: elements.get('Combo1').value,
        hp: elements.get('Text1').value,
        mp: elements.get('Text2').value,
        defence: elements.get('Text3').value,
    });

    elements.get('Command1').addEventListener('click', () => {
        state.reportShown = false;
        presenter.command1Click();
        if (state.reportShown) {
            comparison.show(karbelon.compareSpells(request(), conventions));
        }
    });
    elements.get('Command2').addEventListener('click', () => {
        presenter.command2Click();
        // Closing disposes the presenter, so it waits until its handler returned.
        if (state.unloadRequested) {
            closeForm(table);
        }
    });
    elements.get('Label6').addEventListener('click', () => presenter.label6Click());
    for (const box of form.panel.querySelectorAll('input, textarea')) {
        box.addEventListener('input', (event) => event.isComposing || settleLongText(box));
        box.addEventListener('compositionend', () => settleLongText(box));
    }

    presenter.load();
    elements.get('Combo1').focus();
    page.setAttribute('aria-busy', 'false');
    page.dataset.state = 'ready';
    performance.mark('karbelon-form-ready');
}

// A page may only close a tab that a script opened; otherwise the form ends
// as the program would, and a fresh one can be opened.
function closeForm(table) {
    window.close();
    current.presenter.dispose();
    current = null;
    if (window.closed) {
        return;
    }
    const notice = document.createElement('p');
    notice.className = 'notice';
    notice.textContent = '계산기를 닫았습니다.';
    const reopen = document.createElement('button');
    reopen.type = 'button';
    reopen.id = 'Reopen';
    reopen.textContent = '새로 열기';
    reopen.addEventListener('click', () => {
        page.replaceChildren(freshForm());
        openForm(table);
    });
    notice.append(' ', reopen);
    page.replaceChildren(notice);
    page.dataset.state = 'closed';
    reopen.focus();
}

function showLoadFailure() {
    const notice = document.createElement('p');
    notice.className = 'notice';
    notice.textContent = '계산기를 불러오지 못했습니다. 페이지를 다시 열어 주십시오.';
    page.replaceChildren(notice);
    page.setAttribute('aria-busy', 'false');
    page.dataset.state = 'failed';
}

async function start() {
    if (writtenForm === null || started === null) {
        throw new Error('the page holds no form or no start script; build it with make web');
    }
    await karbelon.load(started.compiledModule);
    const table = karbelon.controlTable();
    document.title = table.caption;
    // Text is measured with the fonts the page will really show. The page
    // names only the system's fonts, so nothing is loading as a rule; the
    // ready promise would still wait for the next frame.
    if (document.fonts.status !== 'loaded') {
        await document.fonts.ready;
    }
    openForm(table);
    // Nothing of the form needs it at once; made now, its icon is loaded
    // before the first message.
    setTimeout(messageBox, 0);
    window.addEventListener('resize', scalePanel);
    // Turning a phone or narrowing a window switches layouts without a reload.
    fingerLayout.addEventListener('change', arrangeForm);
    if ('serviceWorker' in navigator) {
        navigator.serviceWorker.register('sw.js').catch(() => {});
    }
}

start().catch(showLoadFailure);
