// The form's text size by the desktop windows' rule (chosen in the module):
// measured here with the browser's own fonts on the real controls.

// What measuring one text at one size tells about the other sizes. A text
// never gets narrower or shorter as its size grows, while a control's room
// stays the same, so a fit holds at every smaller size and a misfit at every
// larger one. That lets the fitting answer most sizes without a layout.
export class FitBounds {
    #largestFit = -Infinity;
    #smallestMisfit = Infinity;
    // How far over its room the text was at the smallest misfit (> 1).
    #misfitFill = 1;

    // fill: the room the text takes at this size over the room it has.
    record(size, fits, fill) {
        if (fits) {
            this.#largestFit = Math.max(this.#largestFit, size);
        } else if (size < this.#smallestMisfit) {
            this.#smallestMisfit = size;
            this.#misfitFill = fill;
        }
    }

    // true or false when a measurement settles it, null when none does yet.
    fitsAt(size) {
        if (size <= this.#largestFit) {
            return true;
        }
        if (size >= this.#smallestMisfit) {
            return false;
        }
        return null;
    }

    // The size to measure next to settle `size`, never one already settled.
    // After a misfit, the text's width scales about with its size, so the
    // probe goes to just above the size predicted to fit: a misfit there
    // settles every size from it upward at once, a fit moves up the floor.
    probeFor(size, smallestSize) {
        const lowest = Math.max(this.#largestFit + 1, smallestSize);
        if (this.#smallestMisfit === Infinity || lowest > size) {
            return size;
        }
        const predictedFit = Math.floor(this.#smallestMisfit / this.#misfitFill);
        return Math.min(Math.max(predictedFit + 1, lowest), size);
    }
}

// Whether the text fits at `size`, measuring (measureAt(probeSize), which
// records into bounds) only until a measurement settles it.
export function settleFit(bounds, size, smallestSize, measureAt) {
    let fits = bounds.fitsAt(size);
    while (fits === null) {
        measureAt(bounds.probeFor(size, smallestSize));
        fits = bounds.fitsAt(size);
    }
    return fits;
}

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

export function fitTextSize(chooseTextSize, form, conventions, systemSize, smallestSize) {
    const { panel, client, elements } = form;
    const text4 = elements.get('Text4');
    // A copy of the result box that never wraps, so a line too long for the
    // box shows as overflow instead of as an extra line.
    const probe = document.createElement('textarea');
    probe.className = 'report-probe';
    probe.tabIndex = -1;
    probe.setAttribute('aria-hidden', 'true');
    const placed = getComputedStyle(text4);
    for (const side of ['left', 'top', 'width', 'height']) {
        probe.style[side] = placed[side];
    }
    client.append(probe);

    const applySize = (size) => {
        panel.style.fontSize = `${size}px`;
    };
    // A size is only measured when no earlier measurement settles the
    // question, and then only on the texts measured: a caption's width
    // depends on its own font alone and every room is set in CSS pixels, so
    // that gives what the whole panel at that size would show, without
    // laying out every box and the title bar at each size again.
    const captioned = [...elements]
        .filter(([, element]) => element.querySelector('.caption') !== null)
        .map(([name, element]) => ({ name, caption: element.querySelector('.caption'), room: captionRoom(element) }));
    const captionBounds = new Map(captioned.map(({ name }) => [name, new FitBounds()]));
    const reportBounds = new Map();
    const measureCaptionsAt = (size) => {
        for (const { caption } of captioned) {
            caption.style.fontSize = `${size}px`;
        }
        // One layout for every caption: all sizes are set before any is read.
        for (const { name, caption, room } of captioned) {
            const width = caption.offsetWidth;
            captionBounds.get(name).record(size, width <= room, width / room);
        }
    };
    const measure = {
        reportFits(report, size) {
            if (!reportBounds.has(report)) {
                reportBounds.set(report, new FitBounds());
            }
            const bounds = reportBounds.get(report);
            return settleFit(bounds, size, smallestSize, (probeSize) => {
                probe.style.fontSize = `${probeSize}px`;
                probe.value = report;
                const fill = Math.max(probe.scrollWidth / probe.clientWidth, probe.scrollHeight / probe.clientHeight);
                bounds.record(probeSize, fill <= 1, fill);
            });
        },
        captionFits(name, size) {
            return settleFit(captionBounds.get(name), size, smallestSize, measureCaptionsAt);
        },
    };
    try {
        const size = chooseTextSize(measure, systemSize, smallestSize, conventions);
        applySize(size);
        return size;
    } finally {
        for (const { caption } of captioned) {
            caption.style.fontSize = '';
        }
        probe.remove();
    }
}
