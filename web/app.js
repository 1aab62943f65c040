// The page: Form1 drawn from the module's control table and driven by the
// module's presenter, the same window logic as the desktop builds.
import * as karbelon from './karbelon.js';
import { attachCombobox } from './combobox.js';
import { createComparison } from './comparison_table.js';
import { createMessageDialog } from './message_dialog.js';
import { reportHeightFit } from './report_height.js';
import { createResultActions } from './result_actions.js';
import { clearAddress, fragmentTexts, showInAddress } from './share_link.js';
import { fitTextSize, systemTextSize } from './text_size.js';

const smallestTextSize = 9;

const page = document.getElementById('page');
// The form as the build wrote it, before anyone typed: a closed form opens
// again from a copy of it.
const writtenForm = page.querySelector('.window')?.cloneNode(true) ?? null;
// What the page's start script (page_start.js, inline in the head) began.
const started = globalThis.karbelonStart ?? null;
const conventions = started?.conventions;
let messageDialog = null;
let current = null;
// Whether the stylesheet's finger layout is on (set at start).
let fingerLayout = null;

// The finger layout's query, as page.css writes it: the media rule that
// marks the root with --finger-layout. The panel's text-size fit is for the
// panel only, so it follows the same rule.
function fingerLayoutQuery() {
    const marks = (rule) => rule instanceof CSSStyleRule && rule.style.getPropertyValue('--finger-layout') !== '';
    for (const sheet of document.styleSheets) {
        for (const rule of sheet.cssRules) {
            if (rule instanceof CSSMediaRule && [...rule.cssRules].some(marks)) {
                return rule.media.mediaText;
            }
        }
    }
    throw new Error('page.css has no rule that marks the finger layout');
}

// Made after the form is ready, or at the first message if that comes sooner.
function messageBox() {
    messageDialog ??= createMessageDialog(document);
    return messageDialog;
}

// The panel gets its fitted text size; the finger layout drops it and takes
// its sizes from the stylesheet. Run again at each switch.
function arrangeForm() {
    if (current === null) {
        return;
    }
    const { form } = current;
    if (fingerLayout.matches) {
        form.panel.style.fontSize = '';
    } else {
        fitTextSize(karbelon.chooseTextSize, form, conventions, systemTextSize(document), smallestTextSize);
    }
    form.fitReport();
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
    const { elements, combobox, reportName } = form;
    return {
        controlText(name) {
            const text = elements.get(name).value;
            // The result box gives its lines back with the report's own breaks.
            return name === reportName ? text.replace(/\r?\n/g, '\r\n') : text;
        },
        setControlText(name, text) {
            elements.get(name).value = text;
            if (name === reportName) {
                state.reportShown = true;
                form.fitReport();
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
// panel, its client area, by control name the element that holds each
// control's text (for a combo box its input), the boxes a request is read
// from by the field each feeds (spell, hp, mp, defence, in the table's
// order), and the result box.
function bindFormPanel(table) {
    const panel = document.getElementById('Form1');
    const elements = new Map(table.controls.map((control) => [control.name, document.getElementById(control.name)]));
    const comboBox = table.controls.find((control) => control.kind === 'ComboBox');
    const fed = table.controls.filter((control) => control.feeds !== undefined);
    const reportName = fed.find((control) => control.feeds === 'report').name;
    const requestBoxes = fed
        .filter((control) => control.name !== reportName)
        .map((control) => [control.feeds, elements.get(control.name)]);
    return {
        panel,
        client: panel.querySelector('.client'),
        elements,
        reportName,
        report: elements.get(reportName),
        fitReport: reportHeightFit(elements.get(reportName), fingerLayout),
        requestBoxes: new Map(requestBoxes),
        request: () => Object.fromEntries(requestBoxes.map(([field, box]) => [field, box.value])),
        combobox: comboBox === undefined ? null : attachCombobox(document, comboBox.name),
    };
}

function freshForm() {
    const panel = writtenForm.cloneNode(true);
    for (const box of panel.querySelectorAll('input, textarea')) {
        box.value = box.defaultValue;
    }
    return panel;
}

// Gives the form in the page its behaviour; the page shows it already. At
// the page's start it also calculates the link in the address, if any.
function openForm(table, atStart) {
    const form = bindFormPanel(table);
    const comparison = createComparison(document);
    // The link of the report on show, null where its texts are too long for one.
    let link = null;
    const actions = createResultActions(document, {
        reportText: () => form.report.value,
        tableRows: comparison.rows,
        shareData: () => ({ title: table.caption, text: form.report.value, url: link }),
    });
    page.append(actions.element, comparison.element, actions.announcer);

    const state = { reportShown: false, unloadRequested: false };
    const presenter = karbelon.createForm1(createView(form, state), conventions);
    current = { form, presenter, openLink };
    arrangeForm();
    const { elements } = form;

    // The table and the address always belong to the report on show: a new
    // report brings its request's comparison and link; a message or a reset
    // defence leaves them.
    function calculate() {
        state.reportShown = false;
        presenter.command1Click();
        if (state.reportShown) {
            const request = form.request();
            comparison.show(karbelon.compareSpells(request, conventions));
            link = showInAddress(request, window);
            actions.reportShown(form.report.value);
        }
    }

    // A link's texts go into their boxes, only ever as values, and are
    // calculated as a click would; a field it lacks or garbles stays as it is.
    function openLink() {
        const texts = fragmentTexts(location.hash, [...form.requestBoxes.keys()]);
        if (texts.size === 0) {
            return;
        }
        for (const [field, text] of texts) {
            form.requestBoxes.get(field).value = text;
        }
        calculate();
    }

    elements.get('Command1').addEventListener('click', calculate);
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
    elements.get(table.focusOrder[0]).focus();
    if (atStart) {
        openLink();
    }
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
    // The report goes, and its link with it.
    clearAddress(window);
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
        openForm(table, false);
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
    // Text is measured with the fonts the page will really show. The page
    // names only the system's fonts, so nothing is loading as a rule; the
    // ready promise would still wait for the next frame.
    if (document.fonts.status !== 'loaded') {
        await document.fonts.ready;
    }
    fingerLayout = matchMedia(fingerLayoutQuery());
    openForm(table, true);
    // Nothing of the form needs it at once; made now, its icon is loaded
    // before the first message.
    setTimeout(messageBox, 0);
    // Turning a phone or narrowing a window switches layouts without a reload.
    fingerLayout.addEventListener('change', arrangeForm);
    // A new width wraps the report anew.
    window.addEventListener('resize', () => current?.form.fitReport());
    // A fragment edited in the address bar, or another link opened in this tab.
    window.addEventListener('hashchange', () => current?.openLink());
    if ('serviceWorker' in navigator) {
        navigator.serviceWorker.register('sw.js').catch(() => {});
    }
}

start().catch(showLoadFailure);
