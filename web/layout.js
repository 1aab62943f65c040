// Twips to CSS pixels, the panel's scale, and when the page leaves the panel
// for the finger layout. Every place comes from the module's control table
// (clientLeft, clientTop), never worked out here.

export const twipsPerCssPixel = 15;

// The finger layout: wherever the primary pointer is a finger, or the
// viewport is narrower than the panel at its own size needs (400 px with its
// border, 8 px of margin each side, up to 17 px beside a classic scroll bar,
// and some room: 440 px). page.css holds the same query; a test keeps the two
// equal.
export const fingerLayoutQuery = '(pointer: coarse), (max-width: 439px)';

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
