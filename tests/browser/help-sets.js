// The processed copies of the sample help set that scripts/test-browser prepares.
const path = require('node:path');
const { pathToFileURL } = require('node:url');

function folderFrom(variable) {
  const folder = process.env[variable];
  if (!folder) {
    throw new Error(`${variable} is not set: run these tests through scripts/test-browser`);
  }
  return folder;
}

// `make demo`'s switches, which compress; and the same switches followed by -cn.
const HELP_SETS = {
  compressed: folderFrom('QUORVA_DEMO'),
  uncompressed: folderFrom('QUORVA_DEMO_UNCOMPRESSED'),
};

function pageUrl(folder, file) {
  return pathToFileURL(path.join(folder, file)).href;
}

module.exports = { HELP_SETS, pageUrl };
