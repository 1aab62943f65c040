// The page: Form1 drawn from the module's control table and driven by the
// module's presenter, the same window logic as the desktop builds.
import * as karbelon from './karbelon.js';
import { createComparison } from './comparison_table.js';
import { buildFormPanel } from './form_panel.js';
import { fitScale } from './layout.js';
import { createMessageDialog } from './message_dialog.js';
import { numberConventions } from './number_conventions.js';
import { fitTextSize, systemTextSize } from './text_size.js';

const smallestTextSize = 9;
const pageMargin = 8;

const page = document.getElementById('page');
const conventions = numberConventions(navigator.language);
let messageDialog = null;
let current = null;

// Scales the whole panel down to the viewport's width; controls never move.
function scalePanel() {
    if (current === null) {
        return;
    }
    const { frame, panel } = current;
    const width = panel.offsetWidth;
    const scale = fitScale(width, document.documentElement.clientWidth, pageMargin);
    panel.style.transform = scale === 1 ? '' : `scale(${scale})`;
    frame.style.width = `${width * scale}px`;
    frame.style.height = `${panel.offsetHeight * scale}px`;
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
            messageDialog.show(text, caption);
        },
        unload() {
            state.unloadRequested = true;
        },
        openAuthorPage(address) {
            window.open(address, '_blank', 'noopener');
        },
    };
}

function openForm(table) {
    const form = buildFormPanel(document, table);
    const frame = document.createElement('div');
    frame.className = 'window-frame';
    frame.append(form.panel);
    const comparison = createComparison(document);
    page.replaceChildren(frame, comparison.element);

    fitTextSize(karbelon.chooseTextSize, form, conventions, systemTextSize(document), smallestTextSize);

    const state = { reportShown: false, unloadRequested: false };
    const presenter = karbelon.createForm1(createView(form, state), conventions);
    current = { frame, panel: form.panel, presenter };
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

    presenter.load();
    scalePanel();
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
    reopen.addEventListener('click', () => openForm(table));
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
    await karbelon.load();
    const table = karbelon.controlTable();
    document.title = table.caption;
    // Text is measured with the fonts the page will really show.
    await document.fonts.ready;
    messageDialog = createMessageDialog(document);
    openForm(table);
    window.addEventListener('resize', scalePanel);
    if ('serviceWorker' in navigator) {
        navigator.serviceWorker.register('sw.js').catch(() => {});
    }
}

start().catch(showLoadFailure);
