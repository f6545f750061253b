// The check's HTML report, written beside the help set rather than in it, read as an author
// reads it: headed with the folder, the run and the summary; every page with findings, and
// every finding's row, a link that opens that page; readable 600 px wide; filters that hide
// findings by level and kind, and every finding shown without script and in print.
const path = require('node:path');
const { describe, it } = require('node:test');
const assert = require('node:assert/strict');
const { pathToFileURL } = require('node:url');
const { usePage } = require('./chromium');

function pathFrom(variable) {
  const value = process.env[variable];
  if (!value) {
    throw new Error(`${variable} is not set: run these tests through scripts/test-browser`);
  }
  return value;
}

const report = pathToFileURL(pathFrom('QUORVA_CHECK_REPORT')).href;
// The folder the check ran in, which the report's page names are relative to.
const runFolder = pathFrom('QUORVA_CHECK_FOLDER');
// The build's folder for the browser tests' screenshots.
const screenshots = pathFrom('QUORVA_SCREENSHOT_FOLDER');

const WIDE = { width: 1200, height: 900 };
const NARROW = { width: 600, height: 900 };

// The problems and warnings the summary counts, as the console printed them.
async function summaryCounts(page) {
  const summary = await page.locator('.summary').innerText();
  const counts = /^Check: (\d+) problems? and (\d+) warnings? in \d+ pages?; /.exec(summary);
  assert.ok(counts, summary);
  return { problems: Number(counts[1]), warnings: Number(counts[2]) };
}

// How many of the rows are shown and how many hidden.
function countShown(rows) {
  return rows.evaluateAll((cells) => {
    const shown = cells.filter((row) => row.checkVisibility()).length;
    return { shown, hidden: cells.length - shown };
  });
}

async function assertNoSidewaysScroll(page) {
  const { scroll, client } = await page.evaluate(() => ({
    scroll: document.documentElement.scrollWidth,
    client: document.documentElement.clientWidth,
  }));
  assert.ok(scroll <= client, `the page is ${scroll} px wide in a ${client} px window`);
}

describe("the check's HTML report", () => {
  const session = usePage({ viewport: WIDE });

  it('heads with the output folder, the tool, the time of the run and the summary', async () => {
    const { page } = session;
    await page.goto(report);
    assert.equal(await page.locator('h1').innerText(), `Check of ${path.basename(runFolder)}`);
    const run = await page.locator('.run').innerText();
    const time = /^QUORVA \S+ · (\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d) UTC$/.exec(run);
    assert.ok(time, run);
    const [year, month, day, hour, minute] = time.slice(1).map(Number);
    // Written by this run of the tests, minutes ago at most, and cut to the minute.
    const age = Date.now() - Date.UTC(year, month - 1, day, hour, minute);
    assert.ok(age >= 0 && age < 60 * 60 * 1000, `${run}: written ${age} ms ago`);
    const { problems, warnings } = await summaryCounts(page);
    assert.ok(problems > 0 && warnings > 0, 'the planted help set has problems and warnings');
    assert.deepEqual(await page.locator('.counts tfoot').locator('th, td').allInnerTexts(), [
      'All kinds',
      String(problems),
      String(warnings),
    ]);
    // Ten causes in view, and every other one a click away.
    const more = /^(\d+) more causes?$/.exec(await page.locator('.causes + details summary').innerText());
    assert.ok(more, 'the planted help set has more than ten causes');
    assert.equal(await page.locator('.causes li').count(), 10 + Number(more[1]));
  });

  it('links each page with findings, and each link opens that page', async () => {
    const { page } = session;
    await page.goto(report);
    const pages = await page.locator('.page').evaluateAll((sections) =>
      sections.map((section) => ({
        heading: section.querySelector('h3 a').href,
        page: section.querySelector('h3 a').textContent,
        rows: [...section.querySelectorAll('td.line a')].map((a) => a.href),
      })),
    );
    assert.ok(pages.length >= 5, `${pages.length} pages with findings`);
    for (const { heading, page: name, rows } of pages) {
      assert.equal(heading, pathToFileURL(path.join(runFolder, name)).href);
      assert.ok(rows.length > 0, name);
      assert.deepEqual(new Set(rows), new Set([heading]), `the rows of ${name} link it`);
      // A missing file fails the navigation with net::ERR_FILE_NOT_FOUND.
      await page.goto(heading);
      assert.equal(new URL(page.url()).pathname, new URL(heading).pathname);
    }
  });

  it('reads at 1200 px and at 600 px wide, without scrolling sideways', async () => {
    const { page } = session;
    await page.goto(report);
    await page.screenshot({ path: path.join(screenshots, 'check-report-1200.png') });
    await page.setViewportSize(NARROW);
    await page.screenshot({ path: path.join(screenshots, 'check-report-600.png') });
    await assertNoSidewaysScroll(page);
    // The planted names are short: a page and a link without a place to break must wrap too.
    await page.evaluate(() => {
      const long = `${'long-folder-name/'.repeat(8)}${'x'.repeat(120)}.htm`;
      document.querySelector('.page h3 a').textContent = long;
      document.querySelector('.page td.target code').textContent = long;
      document.querySelector('.causes li').append(long);
    });
    await assertNoSidewaysScroll(page);
    await page.setViewportSize(WIDE);
  });

  it('hides the findings of a level or kind unticked, and shows all of them in print', async () => {
    const { page } = session;
    await page.goto(report);
    const { problems, warnings } = await summaryCounts(page);
    const problemRows = page.locator('tr[data-level="problem"]');
    const warningRows = page.locator('tr[data-level="warning"]');
    const shown = page.locator('.filters .shown');
    assert.equal(await shown.innerText(), `Showing ${problems + warnings} of ${problems + warnings} findings.`);

    await page.getByRole('checkbox', { name: /^warnings/ }).uncheck();
    assert.deepEqual(await countShown(warningRows), { shown: 0, hidden: warnings });
    assert.deepEqual(await countShown(problemRows), { shown: problems, hidden: 0 });
    assert.equal(await shown.innerText(), `Showing ${problems} of ${problems + warnings} findings.`);
    // A page left with nothing to show goes too.
    const pagesShown = await page
      .locator('.page')
      .evaluateAll((sections) =>
        sections.map((section) => [
          section.checkVisibility(),
          section.querySelector('tr[data-level="problem"]') !== null,
        ]),
      );
    for (const [visible, hasProblems] of pagesShown) {
      assert.equal(visible, hasProblems);
    }

    await page.getByRole('checkbox', { name: /^broken-link/ }).uncheck();
    const brokenLinks = page.locator('tr[data-kind="broken-link"]');
    assert.deepEqual(await countShown(brokenLinks), { shown: 0, hidden: await brokenLinks.count() });
    const otherProblems = page.locator('tr[data-level="problem"]:not([data-kind="broken-link"])');
    const others = await countShown(otherProblems);
    assert.ok(others.shown > 0 && others.hidden === 0, JSON.stringify(others));
    await page.getByRole('checkbox', { name: /^warnings/ }).check();
    const otherWarnings = page.locator('tr[data-level="warning"]:not([data-kind="broken-link"])');
    assert.deepEqual(await countShown(otherWarnings), {
      shown: await otherWarnings.count(),
      hidden: 0,
    });

    await page.emulateMedia({ media: 'print' });
    assert.deepEqual(await countShown(page.locator('.findings tbody tr')), {
      shown: problems + warnings,
      hidden: 0,
    });
    assert.equal(await page.locator('.filters').isVisible(), false);
    assert.equal(await page.locator('.causes li').last().isVisible(), true, 'folded causes print');
    await page.emulateMedia({ media: 'screen' });
  });

  it('shows every finding, and no filter, without script', async () => {
    const context = await session.page.context().browser().newContext({
      javaScriptEnabled: false,
      viewport: WIDE,
    });
    try {
      const page = await context.newPage();
      await page.goto(report);
      const { problems, warnings } = await summaryCounts(page);
      assert.deepEqual(await countShown(page.locator('.findings tbody tr')), {
        shown: problems + warnings,
        hidden: 0,
      });
      assert.equal(await page.locator('.filters').isVisible(), false);
    } finally {
      await context.close();
    }
  });
});
