// The smoke suite in WebKit.
import { describe } from 'node:test';
import { startWebKit } from './engines.mjs';
import { smokeSuite } from './smoke.mjs';

describe('WebKit', () => smokeSuite(startWebKit));
