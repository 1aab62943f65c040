// The markup of Form1's window-like panel from the module's control table:
// every control at its twips place and size, ids = control names. Nothing of
// the layout is written here. The build writes it into the page, so the
// browser shows the form before any script ran; app.js then gives those
// elements their behaviour.

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
function comboboxMarkup(id, { rootAttributes, inputAttributes, listName }) {
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
// stylesheet as one rule per element id, in CSS pixels.
function rule(selector, declarations, twipsPerPixel) {
    const body = Object.entries(declarations)
        .map(([property, twips]) => `${property}: ${twips / twipsPerPixel}px;`)
        .join(' ');
    return `${selector} { ${body} }`;
}

// The element that stands in its container's layout for a control.
const placedId = (control) => (control.kind === 'ComboBox' ? `${control.name}-box` : control.name);

const caption = (text) => `<span class="caption">${escapeHtml(text)}</span>`;

function controlMarkup(control, context) {
    const kindClass = `kind-${control.kind}`;
    const place = (id) =>
        context.rule(`#${id}`, { left: control.clientLeft, top: control.clientTop, width: control.width, height: control.height });
    // The module's name for a box; its label (label for=) names it too, with the " : ".
    const name = ['aria-label', control.accessibleName ?? null];
    switch (control.kind) {
    case 'Frame': {
        // The frame stays in flow so its legend draws as usual; its children
        // are placed in the client area like all others.
        context.rule(`#${control.name}`, {
            'margin-left': control.clientLeft,
            'margin-top': control.clientTop,
            width: control.width,
            height: control.height,
        });
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

// The panel's markup, and the stylesheet rules that place its controls and
// give their reading order (the table's, by the rows its labels pair in).
// `order` moves nothing in the panel, whose controls are placed absolutely;
// the finger layout flows them in it.
export function formPanelMarkup(table) {
    // Document order is the tab order, so Tab walks the table's order.
    const controlsByName = new Map(table.controls.map((control) => [control.name, control]));
    const inTabOrder = table.tabOrder.map((name) => controlsByName.get(name));
    const rules = [];
    const context = {
        childrenOf: (container) => inTabOrder.filter((control) => control.container === container),
        rule: (selector, declarations) => rules.push(rule(selector, declarations, table.twipsPerPixel)),
    };
    context.rule('#Form1 > .client', { width: table.clientWidth, height: table.clientHeight });
    const controls = context.childrenOf('Form1').map((control) => controlMarkup(control, context)).join('');
    // One sequence over both containers: within each, it is that container's order.
    table.readingOrder.forEach((name, at) => rules.push(`#${placedId(controlsByName.get(name))} { order: ${at}; }`));
    const html = [
        '<section id="Form1" class="window" aria-labelledby="Form1-caption">',
        // The icon shows at 16 or 24 CSS pixels (page.css): the 128 pixel
        // drawing serves screens of more than 1.33 device pixels a CSS pixel.
        `<div class="title-bar"><img src="icons/karbelon-32.png" srcset="icons/karbelon-32.png 32w, icons/karbelon-128.png 128w" sizes="24px" alt=""><h1 id="Form1-caption">${escapeHtml(table.caption)}</h1></div>`,
        `<div class="client">${controls}</div>`,
        '</section>',
    ].join('');
    return { html, css: `${rules.join('\n')}\n` };
}
