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
