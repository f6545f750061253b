// The check's HTML report, written beside the help set rather than in it: every page with
// findings is a link, relative to the report, that opens that page.
const { describe, it } = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { usePage } = require('./chromium');

function pathFrom(variable) {
  const value = process.env[variable];
  if (!value) {
    throw new Error(`${variable} is not set: run these tests through scripts/test-browser`);
  }
  return value;
}

const report = pathFrom('QUORVA_CHECK_REPORT');
// The folder the check ran in, which the report's page names are relative to.
const runFolder = pathFrom('QUORVA_CHECK_FOLDER');

describe("the check's HTML report", () => {
  const session = usePage();

  it('links each page with findings, and each link opens that page', async () => {
    const { page } = session;
    await page.goto(pathToFileURL(report).href);
    const links = await page
      .locator('h2 a')
      .evaluateAll((anchors) => anchors.map((a) => ({ href: a.href, page: a.textContent })));
    assert.ok(links.length >= 5, `${links.length} pages with findings`);
    for (const link of links) {
      assert.equal(link.href, pathToFileURL(path.join(runFolder, link.page)).href);
      // A missing file fails the navigation with net::ERR_FILE_NOT_FOUND.
      await page.goto(link.href);
      assert.equal(new URL(page.url()).pathname, new URL(link.href).pathname);
    }
  });
});
