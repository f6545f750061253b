// A topic's breadcrumb trail links one page per level, and every link opens its page.
const { describe, it } = require('node:test');
const assert = require('node:assert/strict');
const { usePage } = require('./chromium');
const { HELP_SETS, pageUrl } = require('./help-sets');
const { assertShowsTopic } = require('./landing');
const { TOPICS } = require('./sample-help');

for (const [setName, folder] of Object.entries(HELP_SETS)) {
  describe(`breadcrumb trails, ${setName}`, () => {
    const session = usePage();

    for (const [file, topic] of Object.entries(TOPICS)) {
      const titles = topic.trail.map((level) => TOPICS[level].title);
      it(`${file}: ${titles.join(' » ')}`, async () => {
        const { page } = session;
        await page.goto(pageUrl(folder, file));
        const trail = page.locator('p.breadcrumbs');
        const links = await trail.locator('a').evaluateAll((anchors) =>
          anchors.map((a) => ({ href: a.getAttribute('href'), text: a.innerText })),
        );
        assert.deepEqual(
          links,
          topic.trail.map((level) => ({ href: level, text: TOPICS[level].title })),
        );
        const shown = (await trail.innerText()).replace(/\s+/g, ' ').trim();
        assert.equal(shown, titles.join(' » '));

        for (const [index, level] of topic.trail.entries()) {
          await page.goto(pageUrl(folder, file));
          // The last link opens the page itself, so wait for the load, not a new address.
          await Promise.all([page.waitForEvent('load'), trail.locator('a').nth(index).click()]);
          await assertShowsTopic(page, folder, level);
        }
      });
    }
  });
}
