// The warm-browser peer of bench/compare: one headless Chromium and one page for all inputs,
// driven through its DevTools protocol, one page.pdf per input (A4 unless the page says).
//   node warm-chromium.mjs OUT_FOLDER INPUT.html...
// playwright-core is looked up through NODE_PATH; CHROMIUM names the browser.
import { createRequire } from 'node:module';
import path from 'node:path';

const require = createRequire(path.join(process.cwd(), 'noop.js'));
const { chromium } = require('playwright-core');
const [out, ...inputs] = process.argv.slice(2);
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu'],
});
let status = 0;
try {
  const page = await browser.newPage();
  let number = 0;
  for (const input of inputs) {
    number += 1;
    try {
      await page.goto('file://' + input, { waitUntil: 'load' });
      await page.pdf({ path: path.join(out, String(number).padStart(3, '0') + '.pdf'),
                       format: 'A4', printBackground: true, preferCSSPageSize: true });
    } catch (error) {
      console.error(`${input}: ${error.message}`);
      status = 1;
    }
  }
} finally {
  await browser.close();
}
process.exit(status);
