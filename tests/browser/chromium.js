// Starts Debian's headless Chromium with a fresh profile and drives it over the DevTools pipe.
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { before, after } = require('node:test');
const { chromium } = require('playwright-core');

// Exactly these switches: Playwright's defaults are left out, and Chromium makes no network
// calls of its own (they are refused on the build machines).
const SWITCHES = [
  '--headless',
  '--no-sandbox',
  '--disable-gpu',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

// Pages of the sample load from disk at once; a missing element should fail fast.
const TIMEOUT_MS = 5000;

async function launchChromium() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorva-chromium-'));
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    ignoreDefaultArgs: true,
    args: [...SWITCHES, `--user-data-dir=${profile}`, '--remote-debugging-pipe'],
  });
  return {
    browser,
    // The profile goes once Chromium has exited, so nothing writes to it any more.
    async close() {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// One browser and page for the tests of the calling suite; session.page is set once they run.
function usePage(pageOptions) {
  const session = {};
  let chromiumRun;
  before(async () => {
    chromiumRun = await launchChromium();
    session.page = await chromiumRun.browser.newPage(pageOptions);
    session.page.setDefaultTimeout(TIMEOUT_MS);
  });
  after(async () => {
    await chromiumRun?.close();
  });
  return session;
}

module.exports = { usePage };
