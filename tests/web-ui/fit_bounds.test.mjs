// The fitting's shortcut: answers settled from earlier measurements must be
// the ones a measurement at every size would give, with fewer layouts.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { FitBounds, settleFit } from '../../web/text_size.js';

// Texts whose width grows with the size: plainly, with hinting's rounding,
// with a jump (a fallback font taking over), or not at all.
const cases = [
    { name: 'fits below the start', width: (size) => 10 * size, room: 115, maxLayouts: 3 },
    { name: 'fits at the start', width: (size) => 10 * size, room: 500, maxLayouts: 1 },
    { name: 'fits nowhere', width: (size) => 10 * size, room: 50, maxLayouts: 4 },
    { name: 'rounded advances', width: (size) => 7 * Math.ceil(size * 1.37), room: 100, maxLayouts: 3 },
    { name: 'a jump the estimate misses', width: (size) => 5 * size + (size >= 11 ? 60 : 0), room: 110, maxLayouts: 5 },
    { name: 'one size below the start', width: (size) => 10 * size, room: 155, maxLayouts: 2 },
];

for (const { name, width, room, maxLayouts } of cases) {
    test(`fit bounds: ${name}`, () => {
        const systemSize = 16;
        const smallestSize = 9;
        const bounds = new FitBounds();
        const measured = [];
        const measureAt = (size) => {
            assert.ok(size >= smallestSize && size <= systemSize, `probe ${size} out of range`);
            assert.ok(!measured.includes(size), `size ${size} measured twice`);
            measured.push(size);
            bounds.record(size, width(size) <= room, width(size) / room);
        };
        // Asked from the start size down, as the chooser steps.
        for (let size = systemSize; size > smallestSize; size -= 1) {
            assert.equal(settleFit(bounds, size, smallestSize, measureAt), width(size) <= room, `size ${size}`);
        }
        assert.ok(measured.length <= maxLayouts, `${measured.length} layouts: ${measured}`);
    });
}

test('fit bounds: a size below the smallest is measured as asked', () => {
    const bounds = new FitBounds();
    const measured = [];
    const fits = settleFit(bounds, 7, 9, (size) => {
        measured.push(size);
        bounds.record(size, true, 0.5);
    });
    assert.equal(fits, true);
    assert.deepEqual(measured, [7]);
});
