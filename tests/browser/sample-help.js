// What a reader should meet in examples/sample-help, written out by hand from its TOC pages
// (toc.htm lists toc1.htm and toc2.htm, which list toc3.htm and toc4.htm) and its topics.

// Per topic: its title, the TOC page that lists it, and the topics its breadcrumb trail links,
// one per level. 1099.htm is listed by no TOC page.
const TOPICS = {
  '1001.htm': { title: 'Welcome', toc: 'toc.htm', trail: ['1001.htm'] },
  '1002.htm': { title: 'Getting started', toc: 'toc.htm', trail: ['1002.htm'] },
  '1003.htm': { title: 'Installing', toc: 'toc1.htm', trail: ['1002.htm', '1003.htm'] },
  '1004.htm': { title: 'Your first run', toc: 'toc1.htm', trail: ['1002.htm', '1004.htm'] },
  '1005.htm': { title: 'Settings', toc: 'toc1.htm', trail: ['1002.htm', '1005.htm'] },
  '1006.htm': {
    title: 'Display settings',
    toc: 'toc3.htm',
    trail: ['1002.htm', '1005.htm', '1006.htm'],
  },
  '1007.htm': {
    title: 'File settings',
    toc: 'toc3.htm',
    trail: ['1002.htm', '1005.htm', '1007.htm'],
  },
  '1008.htm': { title: 'Working with topics', toc: 'toc.htm', trail: ['1008.htm'] },
  '1009.htm': { title: 'Creating a topic', toc: 'toc2.htm', trail: ['1008.htm', '1009.htm'] },
  '1010.htm': { title: 'Editing a topic', toc: 'toc2.htm', trail: ['1008.htm', '1010.htm'] },
  '1011.htm': { title: 'Publishing', toc: 'toc2.htm', trail: ['1008.htm', '1011.htm'] },
  '1012.htm': {
    title: 'Publishing to the web',
    toc: 'toc4.htm',
    trail: ['1008.htm', '1011.htm', '1012.htm'],
  },
  '1013.htm': {
    title: 'Publishing to print',
    toc: 'toc4.htm',
    trail: ['1008.htm', '1011.htm', '1013.htm'],
  },
  '1014.htm': {
    title: 'Troubleshooting',
    toc: 'toc4.htm',
    trail: ['1008.htm', '1011.htm', '1014.htm'],
  },
  '1015.htm': { title: 'Glossary', toc: 'toc.htm', trail: ['1015.htm'] },
  '1099.htm': { title: 'Release notes', toc: null, trail: ['1099.htm'] },
};

// The first menu button that drops a list: the book "Getting started", with the extra item
// from setup/menu-items.txt on top and the book "Settings" as a fly-out.
const FIRST_DROP_DOWN = {
  button: 'Getting started',
  entries: [
    { text: 'Start page', file: '1001.htm' },
    { text: 'Installing', file: '1003.htm' },
    { text: 'Your first run', file: '1004.htm' },
    { text: 'Settings', file: '1005.htm' },
  ],
  flyOut: {
    entry: 'Settings',
    entries: [
      { text: 'Display settings', file: '1006.htm' },
      { text: 'File settings', file: '1007.htm' },
    ],
  },
};

module.exports = { TOPICS, FIRST_DROP_DOWN };
