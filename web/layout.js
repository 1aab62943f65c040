// Geometry of the form, derived from the module's control table.

export const twipsPerCssPixel = 15;

export function twipsToCss(twips) {
    return `${twips / twipsPerCssPixel}px`;
}

const boxKinds = new Set(['ComboBox', 'TextBox', 'MultiLineTextBox']);

// A label names the box that stands beside it: the nearest box to its right
// in the same container and row. Labels with no such box name nothing.
export function labelledBoxes(controls) {
    const rowTolerance = 60;
    const pairs = new Map();
    for (const label of controls.filter((control) => control.kind === 'Label')) {
        const beside = controls
            .filter((box) => boxKinds.has(box.kind) && box.container === label.container)
            .filter((box) => box.left > label.left && Math.abs(box.top - label.top) <= rowTolerance)
            .sort((a, b) => a.left - b.left);
        if (beside.length > 0) {
            pairs.set(label.name, beside[0].name);
        }
    }
    return pairs;
}

// Where a control stands in the form's client area: a container's children
// are placed relative to the container's origin.
export function clientRect(control, controlsByName) {
    let { left, top } = control;
    if (control.container !== 'Form1') {
        const container = controlsByName.get(control.container);
        left += container.left;
        top += container.top;
    }
    return { left, top, width: control.width, height: control.height };
}

// The factor that fits a panel of this width into the viewport, never enlarging.
export function fitScale(panelWidth, viewportWidth, margin) {
    const room = viewportWidth - 2 * margin;
    if (panelWidth <= 0 || room >= panelWidth) {
        return 1;
    }
    return Math.max(room, 1) / panelWidth;
}
