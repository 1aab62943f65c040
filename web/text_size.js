// The form's text size by the desktop windows' rule (chosen in the module):
// measured here with the browser's own fonts on the real controls.

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

export function fitTextSize(chooseTextSize, form, conventions, systemSize, smallestSize) {
    const { panel, client, elements } = form;
    const text4 = elements.get('Text4');
    // A copy of the result box that never wraps, so a line too long for the
    // box shows as overflow instead of as an extra line.
    const probe = document.createElement('textarea');
    probe.className = 'report-probe';
    probe.tabIndex = -1;
    probe.setAttribute('aria-hidden', 'true');
    for (const side of ['left', 'top', 'width', 'height']) {
        probe.style[side] = text4.style[side];
    }
    client.append(probe);

    const applySize = (size) => {
        panel.style.fontSize = `${size}px`;
    };
    const measure = {
        reportFits(report, size) {
            applySize(size);
            probe.value = report;
            return probe.scrollWidth <= probe.clientWidth && probe.scrollHeight <= probe.clientHeight;
        },
        captionFits(name, size) {
            applySize(size);
            const element = elements.get(name);
            const caption = element.querySelector('.caption');
            return caption.offsetWidth <= captionRoom(element);
        },
    };
    try {
        const size = chooseTextSize(measure, systemSize, smallestSize, conventions);
        applySize(size);
        return size;
    } finally {
        probe.remove();
    }
}
