// All eight spells side by side for the report on show, below the form.
// Every text in it comes from the module: each spell's row of headed columns,
// or its message where the request gives that spell no figures, and the rate
// line, as karbelon-cli's table shows them. Each actual damage cell also gets
// a bar, its spell's share of the largest actual damage, for the eye only.

export function createComparison(document) {
    const section = document.createElement('section');
    section.id = 'Comparison';
    section.className = 'comparison';
    section.hidden = true;
    section.setAttribute('aria-labelledby', 'Comparison-title');
    const title = document.createElement('h2');
    title.id = 'Comparison-title';
    title.textContent = '마법별 비교';
    const table = document.createElement('table');
    const rate = document.createElement('p');
    rate.className = 'comparison-rate';
    section.append(title, table, rate);

    // A row of cells, the first a header for its column or row.
    function row(cellTag, texts) {
        const tr = document.createElement('tr');
        texts.forEach((text, at) => {
            const cell = document.createElement(at === 0 ? 'th' : cellTag);
            if (cell.tagName === 'TH') {
                cell.scope = cellTag === 'th' ? 'col' : 'row';
            }
            cell.textContent = text;
            tr.append(cell);
        });
        return tr;
    }

    // The actual damage is the row's first figure, after the spell's name.
    function addBar(cell, share) {
        if (share === 0) {
            return;
        }
        const bar = document.createElement('span');
        bar.className = 'damage-bar';
        bar.setAttribute('aria-hidden', 'true');
        bar.style.setProperty('--share', String(share));
        cell.classList.add('with-bar');
        cell.append(bar);
    }

    function spellRow(result, figureColumns, largest) {
        if (result.outcome === 'figures') {
            const tr = row('td', result.columns.map((column) => column.text));
            // A positive damage is at most the largest, which is then positive too.
            addBar(tr.cells[1], result.actual > 0 ? result.actual / largest : 0);
            return tr;
        }
        const tr = row('td', [result.spell, result.message]);
        tr.lastElementChild.className = 'comparison-message';
        tr.lastElementChild.colSpan = figureColumns;
        return tr;
    }

    // results: what compareSpells answers for the request of the report on
    // show: a row per spell, or the request's own outcome, which leaves no
    // table to show.
    function show(results) {
        if (!Array.isArray(results) || results.length === 0) {
            section.hidden = true;
            table.replaceChildren();
            rate.textContent = '';
            return;
        }
        const withFigures = results.find((result) => result.outcome === 'figures');
        const figureColumns = withFigures === undefined ? 1 : withFigures.columns.length - 1;
        const largest = Math.max(...results.filter((result) => result.outcome === 'figures').map((result) => result.actual));
        const body = document.createElement('tbody');
        body.append(...results.map((result) => spellRow(result, figureColumns, largest)));
        if (withFigures === undefined) {
            table.replaceChildren(body);
        } else {
            const head = document.createElement('thead');
            head.append(row('th', withFigures.columns.map((column) => column.heading)));
            table.replaceChildren(head, body);
        }
        rate.textContent = withFigures?.rateLine ?? '';
        rate.hidden = withFigures === undefined;
        section.hidden = false;
    }

    // The texts of the table on show, a row of cells each, headings first.
    function rows() {
        return [...table.rows].map((tr) => [...tr.cells].map((cell) => cell.textContent));
    }

    return { element: section, show, rows };
}
