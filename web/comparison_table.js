// All eight spells side by side for the last successful calculation, below
// the form. Every text in it comes from the module: each spell's row of
// headed columns and the rate line, as karbelon-cli's table shows them.

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

    function row(cellTag, texts, firstTag) {
        const tr = document.createElement('tr');
        texts.forEach((text, at) => {
            const cell = document.createElement(at === 0 ? firstTag : cellTag);
            if (cell.tagName === 'TH') {
                cell.scope = cellTag === 'th' ? 'col' : 'row';
            }
            cell.textContent = text;
            tr.append(cell);
        });
        return tr;
    }

    // results: what compareSpells returns; anything but figures is ignored.
    function show(results) {
        if (!Array.isArray(results) || results.length === 0) {
            return;
        }
        const head = document.createElement('thead');
        head.append(row('th', results[0].columns.map((column) => column.heading), 'th'));
        const body = document.createElement('tbody');
        for (const result of results) {
            body.append(row('td', result.columns.map((column) => column.text), 'th'));
        }
        table.replaceChildren(head, body);
        rate.textContent = results[0].rateLine;
        section.hidden = false;
    }

    return { element: section, show };
}
