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
