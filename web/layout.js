// Twips to CSS pixels, and the panel's scale. Every place comes from the
// module's control table (clientLeft, clientTop), never worked out here.

export const twipsPerCssPixel = 15;

export function twipsToCss(twips) {
    return `${twips / twipsPerCssPixel}px`;
}

// The factor that fits a panel of this width into the viewport, never enlarging.
export function fitScale(panelWidth, viewportWidth, margin) {
    const room = viewportWidth - 2 * margin;
    if (panelWidth <= 0 || room >= panelWidth) {
        return 1;
    }
    return Math.max(room, 1) / panelWidth;
}
