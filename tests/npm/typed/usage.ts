// Every export of the package, used as a TypeScript user would.
import {
  calculate,
  chooseTextSize,
  compareSpells,
  controlTable,
  createForm1,
  load,
  type Answer,
  type Comparison,
  type ControlName,
  type Form1View,
  type NumberConventions,
  type SpellRow,
} from 'karbelon';

await load();
await load(Promise.resolve(undefined));

const german: NumberConventions = { decimalSeparator: ',', thousandsSeparator: '.' };
const answer: Answer = calculate({ spell: '지옥겁화', hp: '650000', mp: '900000', defence: '-100' }, german);
switch (answer.outcome) {
  case 'figures':
    console.log(answer.report, answer.base + answer.rate + answer.actual + answer.cooldown);
    break;
  case 'message':
    console.log(answer.message.length);
    break;
  case 'defence-reset':
    break;
}

const comparison: Comparison = compareSpells({ hp: '650000', mp: '900000', defence: '-100' });
if (Array.isArray(comparison)) {
  for (const row of comparison as SpellRow[]) {
    const text = row.outcome === 'figures' ? row.columns.map((cell) => `${cell.heading}=${cell.text}`).join() + row.rateLine : row.message;
    console.log(row.spell, text);
  }
} else if (comparison.outcome === 'message') {
  console.log(comparison.message);
}

const table = controlTable();
const boxes = new Map<string, ControlName>();
for (const control of table.controls) {
  if (control.feeds !== undefined) {
    boxes.set(control.feeds, control.name);
  }
}
console.log(table.caption, table.twipsPerPixel, table.focusOrder[0], table.readingOrder.length);

const texts = new Map<ControlName, string>();
const view: Form1View = {
  controlText: (name) => texts.get(name) ?? '',
  setControlText: (name, text) => void texts.set(name, text),
  appendSpellItem: () => {},
  showErrorMessage: (text, caption) => console.log(caption, text),
  unload: () => {},
  openAuthorPage: (address) => console.log(address),
};
const form = createForm1(view);
form.load();
form.command1Click();
form.command2Click();
form.label6Click();
form.dispose();

const size: number = chooseTextSize({ reportFits: () => true, captionFits: (name, at) => name !== 'Text4' || at < 20 }, 16, 9, german);
console.log(size);
