// The markup of Form1's window-like panel from the module's control table:
// every control at its twips place and size, ids = control names. Nothing of
// the layout is written here. The build writes it into the page, so the
// browser shows the form before any script ran; app.js then gives those
// elements their behaviour.
import { twipsToCss } from './layout.js';

const uncorrectedInput = [
    ['autocomplete', 'off'],
    ['autocapitalize', 'off'],
    ['autocorrect', 'off'],
    ['spellcheck', 'false'],
];

const escapes = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;' };

// Texts from the table go into the markup as text, never as markup.
export function escapeHtml(text) {
    return String(text).replace(/[&<>"']/g, (character) => escapes[character]);
}

function attributes(pairs) {
    return pairs
        .filter(([, value]) => value !== null)
        .map(([name, value]) => (value === '' ? ` ${name}` : ` ${name}="${escapeHtml(value)}"`))
        .join('');
}

// The box's markup: a text input, a button that opens the list (no tab
// stop), and the list itself, hidden. attributes() pairs for the root and the
// input; listName: what screen readers call the list, or null.
export function comboboxMarkup(id, { rootAttributes, inputAttributes, listName }) {
    const input = attributes([
        ['id', id],
        ['type', 'text'],
        ['role', 'combobox'],
        ['aria-autocomplete', 'none'],
        ['aria-expanded', 'false'],
        ['aria-controls', `${id}-list`],
        ...inputAttributes,
    ]);
    const button = attributes([
        ['type', 'button'],
        ['class', 'combobox-button'],
        ['tabindex', '-1'],
        ['aria-label', '목록 열기'],
        ['aria-controls', `${id}-list`],
        ['aria-expanded', 'false'],
    ]);
    const list = attributes([
        ['id', `${id}-list`],
        ['class', 'combobox-list'],
        ['role', 'listbox'],
        ['aria-label', listName],
        ['hidden', ''],
    ]);
    return `<div${attributes(rootAttributes)}><input${input}><button${button}></button><ul${list}></ul></div>`;
}

// The page's policy allows no style attributes, so places go into the
// stylesheet as one rule per element id.
function rule(selector, declarations) {
    const body = Object.entries(declarations)
        .map(([property, twips]) => `${property}: ${twipsToCss(twips)};`)
        .join(' ');
    return `${selector} { ${body} }`;
}

function placeRule(id, control) {
    return rule(`#${id}`, { left: control.clientLeft, top: control.clientTop, width: control.width, height: control.height });
}

// The order a reader takes one container's controls in: rows from the top,
// left to right within a row. A label stands a little lower than its box, so
// a control whose top lies in the upper half of a row's first control joins
// that row. The finger layout shows the controls in this order.
export function readingOrder(controls) {
    const rows = [];
    for (const control of [...controls].sort((a, b) => a.top - b.top || a.left - b.left)) {
        const row = rows.at(-1);
        if (row !== undefined && control.top < row[0].top + row[0].height / 2) {
            row.push(control);
        } else {
            rows.push([control]);
        }
    }
    return rows.flatMap((row) => row.sort((a, b) => a.left - b.left));
}

// The element that stands in its container's layout for a control.
const placedId = (control) => (control.kind === 'ComboBox' ? `${control.name}-box` : control.name);

const caption = (text) => `<span class="caption">${escapeHtml(text)}</span>`;

function controlMarkup(control, context) {
    const kindClass = `kind-${control.kind}`;
    const place = (id) => context.rules.push(placeRule(id, control));
    // The module's name for a box; its label (label for=) names it too, with the " : ".
    const name = ['aria-label', control.accessibleName ?? null];
    switch (control.kind) {
    case 'Frame': {
        // The frame stays in flow so its legend draws as usual; its children
        // are placed in the client area like all others.
        context.rules.push(rule(`#${control.name}`, {
            'margin-left': control.clientLeft,
            'margin-top': control.clientTop,
            width: control.width,
            height: control.height,
        }));
        const children = context.childrenOf(control.name).map((child) => controlMarkup(child, context)).join('');
        return `<fieldset${attributes([['id', control.name], ['class', kindClass]])}><legend>${caption(control.text)}</legend>${children}</fieldset>`;
    }
    case 'Label': {
        const box = control.labelFor ?? null;
        const tag = box === null ? 'span' : 'label';
        place(control.name);
        return `<${tag}${attributes([['id', control.name], ['class', kindClass], ['for', box]])}>${caption(control.text)}</${tag}>`;
    }
    case 'ComboBox': {
        place(placedId(control));
        return comboboxMarkup(control.name, {
            rootAttributes: [['id', `${control.name}-box`], ['class', `combobox ${kindClass}`]],
            inputAttributes: [...uncorrectedInput, ['value', control.text], name],
            // The list is called as its box is.
            listName: name[1],
        });
    }
    case 'TextBox':
        place(control.name);
        return `<input${attributes([['id', control.name], ['class', kindClass], ['type', 'text'], ...uncorrectedInput, ['value', control.text], name])}>`;
    case 'MultiLineTextBox':
        // The parser drops one line break right after <textarea>, so a text
        // that starts with one keeps it.
        place(control.name);
        return `<textarea${attributes([['id', control.name], ['class', kindClass], ...uncorrectedInput, name])}>\n${escapeHtml(control.text)}</textarea>`;
    case 'Button':
        place(control.name);
        return `<button${attributes([['id', control.name], ['class', kindClass], ['type', 'button']])}>${caption(control.text)}</button>`;
    default:
        throw new Error(`unknown control kind ${control.kind}`);
    }
}

// The panel's markup, in a frame that the page scales as a whole, and the
// stylesheet rules that place its controls and give their reading order.
// `order` moves nothing in the panel, whose controls are placed absolutely.
export function formPanelMarkup(table) {
    // Document order is the tab order, so Tab walks the table's order.
    const controlsByName = new Map(table.controls.map((control) => [control.name, control]));
    const inTabOrder = table.tabOrder.map((name) => controlsByName.get(name));
    const context = {
        childrenOf: (container) => inTabOrder.filter((control) => control.container === container),
        rules: [rule('#Form1 > .client', { width: table.clientWidth, height: table.clientHeight })],
    };
    const controls = context.childrenOf('Form1').map((control) => controlMarkup(control, context)).join('');
    const frames = table.controls.filter((control) => control.kind === 'Frame').map((frame) => frame.name);
    for (const container of ['Form1', ...frames]) {
        readingOrder(context.childrenOf(container)).forEach((control, at) => {
            context.rules.push(`#${placedId(control)} { order: ${at}; }`);
        });
    }
    const html = [
        '<div class="window-frame">',
        '<section id="Form1" class="window" aria-labelledby="Form1-caption">',
        `<div class="title-bar"><img src="icons/karbelon-32.png" alt=""><h1 id="Form1-caption">${escapeHtml(table.caption)}</h1></div>`,
        `<div class="client">${controls}</div>`,
        '</section>',
        '</div>',
    ].join('');
    return { html, css: `${context.rules.join('\n')}\n` };
}
