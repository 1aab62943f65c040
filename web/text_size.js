// The form's text size by the desktop windows' rule (chosen in the module):
// measured here with the browser's own fonts on the real controls.

function px(value) {
    return Number.parseFloat(value) || 0;
}

// The width a control's caption may take on one line.
export function captionRoom(element) {
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

// form: the panel, its client area, its controls' elements by name, and the
// result box (report).
export function fitTextSize(chooseTextSize, form, conventions, systemSize, smallestSize) {
    const { panel, client, elements, report: resultBox } = form;
    // A copy of the result box that never wraps, so a line too long for the
    // box shows as overflow instead of as an extra line.
    const probe = document.createElement('textarea');
    probe.className = 'report-probe';
    probe.tabIndex = -1;
    probe.setAttribute('aria-hidden', 'true');
    const placed = getComputedStyle(resultBox);
    for (const side of ['left', 'top', 'width', 'height']) {
        probe.style[side] = placed[side];
    }
    client.append(probe);

    // Only the measured texts are sized: a caption's width depends on its
    // own font alone and every room is set in CSS pixels, so that gives what
    // the whole panel at that size would show without laying all of it out.
    const captioned = [...elements]
        .filter(([, element]) => element.querySelector('.caption') !== null)
        .map(([name, element]) => ({ name, caption: element.querySelector('.caption'), room: captionRoom(element) }));
    // The chooser asks caption by caption; one layout answers them all.
    const fittingCaptions = new Map();
    const captionsFittingAt = (size) => {
        if (!fittingCaptions.has(size)) {
            for (const { caption } of captioned) {
                caption.style.fontSize = `${size}px`;
            }
            const fitting = captioned.filter(({ caption, room }) => caption.offsetWidth <= room);
            fittingCaptions.set(size, new Set(fitting.map(({ name }) => name)));
        }
        return fittingCaptions.get(size);
    };
    const measure = {
        reportFits(report, size) {
            probe.style.fontSize = `${size}px`;
            probe.value = report;
            return probe.scrollWidth <= probe.clientWidth && probe.scrollHeight <= probe.clientHeight;
        },
        captionFits(name, size) {
            return captionsFittingAt(size).has(name);
        },
    };
    try {
        const size = chooseTextSize(measure, systemSize, smallestSize, conventions);
        panel.style.fontSize = `${size}px`;
        return size;
    } finally {
        for (const { caption } of captioned) {
            caption.style.fontSize = '';
        }
        probe.remove();
    }
}
