// Compression (-c) changes bytes, not what a reader sees: every page of the compressed set
// renders the text of its uncompressed twin, pre blocks included, except that a pre block
// loses its empty lines as the manual's "Compression" section says.
const fs = require('node:fs');
const path = require('node:path');
const { describe, it } = require('node:test');
const assert = require('node:assert/strict');
const { usePage } = require('./chromium');
const { HELP_SETS, pageUrl } = require('./help-sets');

const pages = fs
  .readdirSync(HELP_SETS.uncompressed)
  .filter((file) => /\.htm$/i.test(file))
  .sort();

// The rendered text of the page (hidden drop-downs stay out, so the style sheets count too),
// each pre block's text, and for a frameset its frames.
async function whatAReaderSees(page, url) {
  await page.goto(url);
  return page.evaluate(() => ({
    text: document.body.innerText,
    pre: [...document.querySelectorAll('pre')].map((pre) => pre.innerText),
    frames: [...document.querySelectorAll('frame')].map((frame) => [frame.name, frame.src]),
  }));
}

function withoutEmptyLines(preText) {
  return preText.replace(/\n{2,}/g, '\n');
}

describe('compressed pages render as before', () => {
  const session = usePage();

  it('the sample holds the pages to compare, one of them with a pre block', () => {
    assert.ok(pages.length > 20);
    const withPre = pages.filter((file) =>
      fs.readFileSync(path.join(HELP_SETS.uncompressed, file), 'latin1').includes('<pre>'),
    );
    assert.ok(withPre.length > 0);
  });

  for (const file of pages) {
    it(file, async () => {
      const sizeBefore = fs.statSync(path.join(HELP_SETS.uncompressed, file)).size;
      const sizeAfter = fs.statSync(path.join(HELP_SETS.compressed, file)).size;
      assert.ok(sizeAfter < sizeBefore, `${file} compressed: ${sizeBefore} -> ${sizeAfter} bytes`);

      const before = await whatAReaderSees(session.page, pageUrl(HELP_SETS.uncompressed, file));
      const after = await whatAReaderSees(session.page, pageUrl(HELP_SETS.compressed, file));
      const expectedPre = before.pre.map(withoutEmptyLines);
      assert.deepEqual(after.pre, expectedPre);
      const expectedText = before.pre.reduce(
        (text, pre, index) => text.replace(pre, expectedPre[index]),
        before.text,
      );
      assert.equal(after.text, expectedText);
      assert.deepEqual(
        after.frames.map(([name, src]) => [name, path.basename(src)]),
        before.frames.map(([name, src]) => [name, path.basename(src)]),
      );
    });
  }
});
