// Types of karbelon.js. Every answer is a plain object parsed from the module's JSON; the unions
// below are discriminated on `outcome`.

/** Where `load()` takes the WebAssembly module from. A string is resolved against the page's
 *  address (`document.baseURI`), or against the package in Node. */
export type ModuleSource = URL | string | Response | ArrayBuffer | ArrayBufferView | WebAssembly.Module;

/** The separators numbers are read and written with; each defaults to `'.'` and `','`. */
export interface NumberConventions {
  decimalSeparator?: string;
  thousandsSeparator?: string;
}

/** The eight spells, in table order. A request may name any text (an unknown spell calculates
 *  with base damage 0 and cooldown 0); the comparison's rows always carry one of these. */
export type SpellName =
  | '카르벨론'
  | '지옥염화'
  | '지옥진화'
  | '지옥멸화'
  | '지옥겁화'
  | '삼매진화'
  | '삼매멸화'
  | '삼매겁화';

/** One request: the four texts of the window's boxes, exactly as typed. */
export interface Request {
  spell: string;
  hp: string;
  mp: string;
  defence: string;
}

/** The comparison's request: every spell instead of one, so `spell` is not read. */
export interface ComparisonRequest {
  spell?: string;
  hp: string;
  mp: string;
  defence: string;
}

/** The report and the doubles behind it. */
export interface FiguresAnswer {
  outcome: 'figures';
  /** (mana − the spell's offset) × its multiplier. */
  base: number;
  /** The defence's reduction rate in percent. */
  rate: number;
  /** The damage after the defence, before rounding down. */
  actual: number;
  /** Seconds. */
  cooldown: number;
  /** Five lines, each but the last ending in `'\r\n'`. */
  report: string;
}

/** One of the seven fixed Korean messages, e.g. `'체력을 입력하여 주십시요.'`. */
export interface MessageAnswer {
  outcome: 'message';
  message: string;
}

/** The defence box was empty: a window sets it to `'0'`; nothing is calculated. */
export interface DefenceResetAnswer {
  outcome: 'defence-reset';
}

/** What `calculate()` returns: the answer `karbelon-cli --batch` writes for the same request. */
export type Answer = FiguresAnswer | MessageAnswer | DefenceResetAnswer;

/** One cell of a spell's row in the comparison table. */
export interface ComparisonColumn {
  heading: string;
  text: string;
}

/** A spell with figures: its answer, its row of the table and the report's rate line. */
export interface SpellFiguresRow extends FiguresAnswer {
  spell: SpellName;
  /** Headed '마법', '실제데미지', '파력무참진 적용시', '보호 적용시', '쿨타임': the spell's name,
   *  then the report's damage and cooldown texts. */
  columns: [ComparisonColumn, ComparisonColumn, ComparisonColumn, ComparisonColumn, ComparisonColumn];
  /** The report's last line (e.g. `'데미지 감소율 : 75%'`), the same in every row. */
  rateLine: string;
}

/** A spell whose own figures overflow ('입력된 마력이 너무 큽니다.'); the other rows keep theirs. */
export interface SpellMessageRow extends MessageAnswer {
  spell: SpellName;
}

export type SpellRow = SpellFiguresRow | SpellMessageRow;

/** What `compareSpells()` returns: a row per spell in table order, or the single answer of a
 *  request that no spell can change (an empty or non-numeric box, a defence out of range, an
 *  empty defence). */
export type Comparison = SpellRow[] | MessageAnswer | DefenceResetAnswer;

export type ControlName =
  | 'Frame1'
  | 'Label1'
  | 'Label2'
  | 'Label3'
  | 'Label4'
  | 'Label5'
  | 'Label6'
  | 'Combo1'
  | 'Text1'
  | 'Text2'
  | 'Text3'
  | 'Text4'
  | 'Command1'
  | 'Command2';

export type ControlKind = 'Frame' | 'Label' | 'ComboBox' | 'TextBox' | 'MultiLineTextBox' | 'Button';

/** What a box's text is to a request, or `'report'` for the result box. */
export type Feed = keyof Request | 'report';

/** A control of the window. Places are in twips. */
export interface Control {
  name: ControlName;
  kind: ControlKind;
  container: 'Form1' | 'Frame1';
  /** Relative to the container's client origin. */
  left: number;
  top: number;
  width: number;
  height: number;
  /** The same place in Form1's client area. */
  clientLeft: number;
  clientTop: number;
  tabIndex: number;
  /** Caption or preset text. */
  text: string;
  /** On the boxes only. */
  feeds?: Feed;
  /** On a label that names a box: that box. */
  labelFor?: ControlName;
  /** On the boxes: what screen readers call them ('마법', '체력', '마력', '방어', '결과'). */
  accessibleName?: string;
}

/** The window Form1: a fresh object on every call. */
export interface ControlTable {
  caption: string;
  messageBoxCaption: string;
  /** Twips. */
  clientWidth: number;
  clientHeight: number;
  /** Twips per CSS pixel. */
  twipsPerPixel: number;
  authorAddress: string;
  /** In creation order, containers first. */
  controls: Control[];
  /** Every control by tab index. */
  tabOrder: ControlName[];
  /** The controls that take focus, in that order. */
  focusOrder: ControlName[];
  /** Every control as a reader takes them: rows from the top, left to right. */
  readingOrder: ControlName[];
}

/** What the presenter asks of the page (or any host). Control names are those of the table. */
export interface Form1View {
  /** The box's text; the result box's lines end in `'\r\n'`. Must return a string. */
  controlText(name: ControlName): string;
  /** Replaces the whole text. */
  setControlText(name: ControlName, text: string): void;
  /** Adds a spell to the end of Combo1's list. */
  appendSpellItem(text: string): void;
  /** A modal error message box; the caption is the table's `messageBoxCaption`. */
  showErrorMessage(text: string, caption: string): void;
  /** Closes the form. */
  unload(): void;
  /** The author's address with '/' appended; should return at once. */
  openAuthorPage(address: string): void;
}

/** The window's event logic over a view. After `dispose()` every other call throws. */
export interface Form1 {
  /** Fills the spell list and the preset texts. */
  load(): void;
  /** 계산하기: writes the report, shows a message, or sets the defence box to '0'. */
  command1Click(): void;
  /** 닫기. */
  command2Click(): void;
  /** The author's address. */
  label6Click(): void;
  dispose(): void;
}

/** How a page measures with its own fonts; `size` is in the page's unit (e.g. CSS px). */
export interface TextMeasure {
  /** Whether the result box shows the five report lines whole at this size. */
  reportFits(reportText: string, size: number): boolean;
  /** Whether the control's caption fits it at this size. */
  captionFits(controlName: ControlName, size: number): boolean;
}

/**
 * Instantiates the module once; by default from `karbelon.wasm` beside `karbelon.js`. Calling it
 * again returns the first promise. Every other export throws `Error('karbelon: call load() first')`
 * before it has resolved.
 * @throws (rejects) Error on an HTTP error status, TypeError for a source of another type.
 */
export function load(source?: ModuleSource | PromiseLike<ModuleSource | undefined>): Promise<void>;

/**
 * One request, answered as `karbelon-cli --batch` answers it.
 * @throws TypeError naming a member that is not a string (`'hp must be a string'`), or a request or
 *   conventions that are not objects; RangeError for texts beyond 256 Mi UTF-16 units.
 */
export function calculate(request: Request, conventions?: NumberConventions): Answer;

/**
 * Every spell for the request's health, mana and defence, as `karbelon-cli --all-spells --json`.
 * @throws TypeError as `calculate()`.
 */
export function compareSpells(request: ComparisonRequest, conventions?: NumberConventions): Comparison;

/** The window's controls, with its rules already applied. */
export function controlTable(): ControlTable;

/**
 * The presenter over a view.
 * @throws TypeError naming a missing view operation (`'view.unload must be a function'`).
 */
export function createForm1(view: Form1View, conventions?: NumberConventions): Form1;

/**
 * The largest size from `systemSize` down to `smallestSize` at which the report and every caption
 * fit; `smallestSize` if none does, `systemSize` if it is below `smallestSize`.
 * @throws TypeError for a size that is not a 32-bit integer, or a missing measure operation.
 */
export function chooseTextSize(
  measure: TextMeasure,
  systemSize: number,
  smallestSize: number,
  conventions?: NumberConventions,
): number;
