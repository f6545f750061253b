// The drop-down menu opens on hover with the sample's menu.css, and its links open their pages.
const fs = require('node:fs');
const path = require('node:path');
const { describe, it } = require('node:test');
const assert = require('node:assert/strict');
const { usePage } = require('./chromium');
const { HELP_SETS, pageUrl } = require('./help-sets');
const { assertShowsTopic } = require('./landing');
const { FIRST_DROP_DOWN } = require('./sample-help');

// The parts of the menu a reader points at; `scope` is a page or a frame.
function menuParts(scope) {
  const dropsList = { has: scope.locator(':scope > ul.downlevel') };
  const item = scope.locator('div.menu ul.toplevel > li').filter(dropsList).first();
  const list = item.locator(':scope > ul.downlevel');
  const flyOutItem = list.locator(':scope > li').filter(dropsList);
  return {
    button: item.locator(':scope > a.menubutton'),
    list,
    flyOutEntry: flyOutItem.locator(':scope > a'),
    flyOutList: flyOutItem.locator(':scope > ul.downlevel'),
  };
}

// An entry as a reader reads it: its visible text without the drop arrow (&#9658;).
function readerText(visibleText) {
  return visibleText.replace('\u25BA', '').trim();
}

async function entriesOf(list) {
  const anchors = list.locator(':scope > li > a');
  const entries = [];
  for (const anchor of await anchors.all()) {
    const text = readerText(await anchor.innerText());
    entries.push({ text, file: await anchor.getAttribute('href') });
  }
  return entries;
}

async function assertBelow(lower, upper) {
  const top = await upper.boundingBox();
  const bottom = await lower.boundingBox();
  assert.ok(bottom.y >= top.y + top.height - 1, 'the drop-down opens below its button');
}

async function assertBeside(right, left) {
  const inner = await left.boundingBox();
  const outer = await right.boundingBox();
  assert.ok(outer.x >= inner.x + inner.width - 2, 'the fly-out opens beside its list');
}

for (const [setName, folder] of Object.entries(HELP_SETS)) {
  describe(`drop-down menu, ${setName}`, () => {
    const session = usePage();

    it(`hovering "${FIRST_DROP_DOWN.button}" drops its list, and its book flies out`, async () => {
      const { page } = session;
      await page.goto(pageUrl(folder, '1004.htm'));
      const menu = menuParts(page);
      assert.equal(readerText(await menu.button.innerText()), FIRST_DROP_DOWN.button);
      assert.equal(await menu.flyOutList.count(), 1, 'the list holds one book with a fly-out');
      assert.equal(await menu.list.isVisible(), false, 'closed before the hover');

      await menu.button.hover();
      await menu.list.waitFor({ state: 'visible' });
      await assertBelow(menu.list, menu.button);
      assert.deepEqual(await entriesOf(menu.list), FIRST_DROP_DOWN.entries);
      assert.equal(await menu.flyOutList.isVisible(), false, 'fly-out closed before its hover');

      await menu.flyOutEntry.hover();
      await menu.flyOutList.waitFor({ state: 'visible' });
      await assertBeside(menu.flyOutList, menu.list);
      assert.equal(readerText(await menu.flyOutEntry.innerText()), FIRST_DROP_DOWN.flyOut.entry);
      assert.deepEqual(await entriesOf(menu.flyOutList), FIRST_DROP_DOWN.flyOut.entries);

      await page.mouse.move(0, 400);
      await menu.list.waitFor({ state: 'hidden' });
    });

    const { entries, flyOut } = FIRST_DROP_DOWN;
    const flyOutEntries = flyOut.entries.map((entry) => ({ ...entry, inFlyOut: true }));
    for (const entry of [...entries, ...flyOutEntries]) {
      it(`"${entry.text}" in the drop-down opens ${entry.file}`, async () => {
        const { page } = session;
        await page.goto(pageUrl(folder, '1004.htm'));
        const menu = menuParts(page);
        await menu.button.hover();
        let list = menu.list;
        if (entry.inFlyOut) {
          await menu.flyOutEntry.hover();
          list = menu.flyOutList;
        }
        // A click lands only when the entry is visible and nothing covers it.
        await Promise.all([
          page.waitForEvent('load'),
          list.locator(':scope > li > a', { hasText: entry.text }).click(),
        ]);
        await assertShowsTopic(page, folder, entry.file);
      });
    }
  });
}

describe('screenshot of the menu', () => {
  const session = usePage({ viewport: { width: 960, height: 400 } });

  it('the menu opens inside the topic frame of an index frame page', async () => {
    const { page } = session;
    const screenshot = process.env.QUORVA_SCREENSHOT;
    assert.ok(screenshot, 'QUORVA_SCREENSHOT names the picture to write');
    await page.goto(pageUrl(HELP_SETS.compressed, 'i1003.htm'));
    const menu = menuParts(page.frame({ name: 'main' }));
    await menu.button.hover();
    await menu.flyOutEntry.hover();
    await menu.flyOutList.waitFor({ state: 'visible' });
    fs.mkdirSync(path.dirname(screenshot), { recursive: true });
    await page.screenshot({ path: screenshot });
    assert.ok(fs.statSync(screenshot).size > 0);
  });
});
