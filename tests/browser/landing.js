// Whether a page or frame shows a topic of the sample: the right file, its title and heading.
const assert = require('node:assert/strict');
const { pageUrl } = require('./help-sets');
const { TOPICS } = require('./sample-help');

async function assertShowsTopic(pageOrFrame, folder, file) {
  await pageOrFrame.waitForURL(pageUrl(folder, file));
  const { title } = TOPICS[file];
  assert.equal(await pageOrFrame.title(), title, `title of ${file}`);
  assert.equal(await pageOrFrame.locator('h1').innerText(), title, `heading of ${file}`);
}

module.exports = { assertShowsTopic };
