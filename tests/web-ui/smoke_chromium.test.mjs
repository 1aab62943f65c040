// The smoke suite in Chromium.
import { describe } from 'node:test';
import { startChromium } from './engines.mjs';
import { smokeSuite } from './smoke.mjs';

describe('Chromium', () => smokeSuite(startChromium));
