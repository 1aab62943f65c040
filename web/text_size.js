// The form's text size by the desktop windows' rule (chosen in the module):
// measured here with the browser's own fonts on copies of the real controls.

function px(value) {
    return Number.parseFloat(value) || 0;
}

// The width a control's caption may take on one line.
function captionRoom(element) {
    const style = getComputedStyle(element);
    let room = element.clientWidth - px(style.paddingLeft) - px(style.paddingRight);
    if (element.tagName === 'FIELDSET') {
        const legend = getComputedStyle(element.querySelector('legend'));
        room -= px(legend.marginLeft) + px(legend.paddingLeft) + px(legend.paddingRight);
    }
    return room;
}

// The size the platform uses for dialog text, as the desktop views start from.
export function systemTextSize(document) {
    const probe = document.createElement('span');
    probe.className = 'system-font-probe';
    document.body.append(probe);
    const size = Math.round(px(getComputedStyle(probe).fontSize));
    probe.remove();
    return size;
}

// A hidden copy of the panel at one size, with a copy of the result box that
// never wraps, so a line too long for the box shows as overflow.
function sizedCopy(form, size) {
    const copy = form.panel.cloneNode(true);
    const controls = new Map();
    for (const element of [copy, ...copy.querySelectorAll('[id]')]) {
        controls.set(element.id, element);
        element.removeAttribute('id');
    }
    copy.style.fontSize = `${size}px`;
    const text4 = form.elements.get('Text4');
    const probe = document.createElement('textarea');
    probe.className = 'report-probe';
    probe.tabIndex = -1;
    for (const side of ['left', 'top', 'width', 'height']) {
        probe.style[side] = text4.style[side];
    }
    copy.querySelector('.client').append(probe);
    return { copy, controls, probe };
}

export function fitTextSize(chooseTextSize, form, conventions, systemSize, smallestSize) {
    // Every candidate size is laid out side by side in one pass, instead of
    // the panel being laid out again for each size the rule asks about.
    const shelf = document.createElement('div');
    shelf.className = 'fit-shelf';
    shelf.setAttribute('aria-hidden', 'true');
    shelf.inert = true;
    const copies = new Map();
    for (let size = systemSize; size >= Math.min(smallestSize, systemSize); size -= 1) {
        const copy = sizedCopy(form, size);
        copies.set(size, copy);
        shelf.append(copy.copy);
    }
    document.body.append(shelf);
    const at = (size) => {
        if (!copies.has(size)) {
            const copy = sizedCopy(form, size);
            copies.set(size, copy);
            shelf.append(copy.copy);
        }
        return copies.get(size);
    };
    const measure = {
        reportFits(report, size) {
            const { probe } = at(size);
            probe.value = report;
            return probe.scrollWidth <= probe.clientWidth && probe.scrollHeight <= probe.clientHeight;
        },
        captionFits(name, size) {
            const element = at(size).controls.get(name);
            return element.querySelector('.caption').offsetWidth <= captionRoom(element);
        },
    };
    try {
        const size = chooseTextSize(measure, systemSize, smallestSize, conventions);
        form.panel.style.fontSize = `${size}px`;
        return size;
    } finally {
        shelf.remove();
    }
}
