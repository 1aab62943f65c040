// Builds the window-like panel of Form1 from the module's control table:
// every control at its twips place and size, ids = control names. Nothing of
// the layout is written here.
import { createCombobox } from './combobox.js';
import { clientRect, labelledBoxes, twipsToCss } from './layout.js';

const uncorrectedInput = {
    autocomplete: 'off',
    autocapitalize: 'off',
    autocorrect: 'off',
    spellcheck: 'false',
};

function place(element, rect) {
    element.style.left = twipsToCss(rect.left);
    element.style.top = twipsToCss(rect.top);
    element.style.width = twipsToCss(rect.width);
    element.style.height = twipsToCss(rect.height);
}

function captionSpan(document, text) {
    const span = document.createElement('span');
    span.className = 'caption';
    span.textContent = text;
    return span;
}

function uncorrected(element) {
    for (const [name, value] of Object.entries(uncorrectedInput)) {
        element.setAttribute(name, value);
    }
    return element;
}

function createControl(document, control, labelFor) {
    switch (control.kind) {
    case 'Frame': {
        const fieldset = document.createElement('fieldset');
        const legend = document.createElement('legend');
        legend.append(captionSpan(document, control.text));
        fieldset.append(legend);
        return { element: fieldset, focusTarget: null };
    }
    case 'Label': {
        const box = labelFor.get(control.name);
        const label = document.createElement(box ? 'label' : 'span');
        if (box) {
            label.htmlFor = box;
        }
        label.append(captionSpan(document, control.text));
        return { element: label, focusTarget: null };
    }
    case 'ComboBox': {
        const combobox = createCombobox(document, control.name);
        uncorrected(combobox.input).value = control.text;
        return { element: combobox.root, focusTarget: combobox.input, combobox };
    }
    case 'TextBox': {
        const input = uncorrected(document.createElement('input'));
        input.type = 'text';
        input.value = control.text;
        return { element: input, focusTarget: input };
    }
    case 'MultiLineTextBox': {
        const textarea = uncorrected(document.createElement('textarea'));
        textarea.value = control.text;
        return { element: textarea, focusTarget: textarea };
    }
    case 'Button': {
        const button = document.createElement('button');
        button.type = 'button';
        button.append(captionSpan(document, control.text));
        return { element: button, focusTarget: button };
    }
    default:
        throw new Error(`unknown control kind ${control.kind}`);
    }
}

// Returns the panel and, by control name, the element that holds each
// control's text (for Combo1 its input).
export function buildFormPanel(document, table) {
    const controlsByName = new Map(table.controls.map((control) => [control.name, control]));
    const labelFor = labelledBoxes(table.controls);

    const panel = document.createElement('section');
    panel.id = 'Form1';
    panel.className = 'window';
    panel.setAttribute('aria-labelledby', 'Form1-caption');

    const titleBar = document.createElement('div');
    titleBar.className = 'title-bar';
    const icon = document.createElement('img');
    icon.src = 'icons/karbelon-32.png';
    icon.alt = '';
    const caption = document.createElement('span');
    caption.id = 'Form1-caption';
    caption.textContent = table.caption;
    titleBar.append(icon, caption);

    const client = document.createElement('div');
    client.className = 'client';
    client.style.width = twipsToCss(table.clientWidth);
    client.style.height = twipsToCss(table.clientHeight);
    panel.append(titleBar, client);

    const elements = new Map();
    const containers = new Map([['Form1', client]]);
    let combobox = null;
    // Document order follows the tab indices, so Tab walks the table's order.
    const byTabIndex = [...table.controls].sort((a, b) => a.tabIndex - b.tabIndex);
    for (const control of byTabIndex) {
        const made = createControl(document, control, labelFor);
        made.element.classList.add(`kind-${control.kind}`);
        if (control.kind === 'Frame') {
            // The frame stays in flow so its legend draws as usual; its
            // children are placed in the client area like all others.
            made.element.style.marginLeft = twipsToCss(control.left);
            made.element.style.marginTop = twipsToCss(control.top);
            made.element.style.width = twipsToCss(control.width);
            made.element.style.height = twipsToCss(control.height);
            made.element.id = control.name;
            containers.set(control.name, made.element);
        } else {
            place(made.element, clientRect(control, controlsByName));
            if (made.focusTarget === null) {
                made.element.id = control.name;
            }
        }
        (containers.get(control.container) ?? client).append(made.element);
        elements.set(control.name, made.focusTarget ?? made.element);
        if (made.focusTarget !== null && made.focusTarget !== made.element) {
            made.element.id = `${control.name}-box`;
        }
        if (made.focusTarget !== null) {
            made.focusTarget.id = control.name;
        }
        combobox ??= made.combobox ?? null;
    }
    elements.get('Text4')?.setAttribute('aria-label', '결과');
    // The list is named by the label that names its box.
    for (const [label, box] of labelFor) {
        if (combobox !== null && box === combobox.input.id) {
            combobox.listbox.setAttribute('aria-labelledby', label);
        }
    }

    return { panel, client, elements, combobox };
}
