// The result box grows with its report in the finger layout, as page.css asks
// with field-sizing. WebKit (Safari, and every browser on an iPhone) has no
// field-sizing: there the box is given its text's height instead.

// Gives back the fit to run after the box's text or width changed; where
// the engine sizes the box itself, a fit that does nothing.
export function reportHeightFit(box, layout) {
    const view = box.ownerDocument.defaultView;
    if (view.CSS.supports('field-sizing', 'content')) {
        return () => {};
    }
    const fit = () => {
        box.style.height = '';
        if (!layout.matches) {
            return;
        }
        // scrollHeight leaves out the borders; the box is sized border-box there.
        const style = view.getComputedStyle(box);
        const borders = Number.parseFloat(style.borderTopWidth) + Number.parseFloat(style.borderBottomWidth);
        box.style.height = `${box.scrollHeight + borders}px`;
    };
    box.addEventListener('input', fit);
    return fit;
}
