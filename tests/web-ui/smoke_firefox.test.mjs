// The smoke suite in Firefox.
import { describe } from 'node:test';
import { startFirefox } from './engines.mjs';
import { smokeSuite } from './smoke.mjs';

describe('Firefox', () => smokeSuite(startFirefox));
