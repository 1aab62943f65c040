// All eight spells side by side for the last successful calculation, below
// the form. Every text in it comes from the module's reports.

// A report's lines split into caption and value ("실제데미지 : 337,275"), so
// the comparison shows the module's own texts, never figures formatted here.
const captionEnd = ' : ';

export function reportLines(report) {
    return report.split(/\r\n|\n/).map((line) => {
        const at = line.indexOf(captionEnd);
        if (at < 0) {
            return { caption: line, value: '' };
        }
        return { caption: line.slice(0, at), value: line.slice(at + captionEnd.length) };
    });
}

const damageAndCooldownLines = 4;

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
        const rows = results.map((result) => ({ spell: result.spell, lines: reportLines(result.report) }));
        const shown = rows[0].lines.slice(0, damageAndCooldownLines);
        const head = document.createElement('thead');
        head.append(row('th', ['마법', ...shown.map((line) => line.caption)], 'th'));
        const body = document.createElement('tbody');
        for (const { spell, lines } of rows) {
            body.append(row('td', [spell, ...lines.slice(0, damageAndCooldownLines).map((line) => line.value)], 'th'));
        }
        table.replaceChildren(head, body);
        const rateLine = rows[0].lines[damageAndCooldownLines];
        rate.textContent = rateLine ? `${rateLine.caption} : ${rateLine.value}` : '';
        section.hidden = false;
    }

    return { element: section, show };
}
