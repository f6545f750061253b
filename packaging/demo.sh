#!/bin/sh
# Runs quorva on a copy of the sample help set, with the switches in
# examples/demo-switches.txt. The copy is the folder demo beside this script, replaced on each
# run; open demo/index.htm in a browser afterwards.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
switches=$(cat "$here/examples/demo-switches.txt")
rm -rf "$here/demo"
cp -R "$here/examples/sample-help" "$here/demo"
cd "$here/demo"
# The switches are words to split; none of them is a pattern to expand.
set -f
# shellcheck disable=SC2086
"$here/quorva" setup/fsref.htm toc.htm $switches
echo
echo "The processed sample help set is in $here/demo/ (open demo/index.htm in a browser)."
