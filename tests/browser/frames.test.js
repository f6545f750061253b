// An index frame page opens its TOC page and its topic side by side.
const { describe, it } = require('node:test');
const assert = require('node:assert/strict');
const { usePage } = require('./chromium');
const { HELP_SETS, pageUrl } = require('./help-sets');
const { assertShowsTopic } = require('./landing');
const { TOPICS } = require('./sample-help');

const listedTopics = Object.entries(TOPICS).filter(([, topic]) => topic.toc);

for (const [setName, folder] of Object.entries(HELP_SETS)) {
  describe(`index frame pages, ${setName}`, () => {
    const session = usePage();

    for (const [file, topic] of listedTopics) {
      it(`i${file} shows ${topic.toc} and ${file}`, async () => {
        const { page } = session;
        await page.goto(pageUrl(folder, `i${file}`));
        assert.equal(await page.title(), topic.title);
        const toc = page.frame({ name: 'toc' });
        assert.equal(toc.url(), pageUrl(folder, topic.toc));
        const listing = toc.locator(`a[href="${file}"]`);
        assert.equal(await listing.count(), 1, `${topic.toc} lists ${file}`);
        await assertShowsTopic(page.frame({ name: 'main' }), folder, file);
      });
    }

    it('a TOC link opens its topic in the main frame and keeps the TOC', async () => {
      const { page } = session;
      await page.goto(pageUrl(folder, 'i1006.htm'));
      const toc = page.frame({ name: 'toc' });
      await toc.getByRole('link', { name: TOPICS['1007.htm'].title }).click();
      await assertShowsTopic(page.frame({ name: 'main' }), folder, '1007.htm');
      assert.equal(toc.url(), pageUrl(folder, 'toc3.htm'));
      assert.equal(page.url(), pageUrl(folder, 'i1006.htm'));
    });
  });
}
