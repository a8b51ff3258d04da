#!/bin/sh
# Copies a data file kept as source into the game folder:
#   install_data_file.sh <source> <target> <record of the last copy>
# The target is written when it is missing or still holds exactly what this
# script copied last time; a file the user changed or put there is kept.
set -e
source=$1
target=$2
record=$3
if [ -e "$target" ] && ! { [ -f "$record" ] && cmp -s "$target" "$record"; }; then
  exit 0
fi
mkdir -p "$(dirname "$target")" "$(dirname "$record")"
cp "$source" "$target.tmp.$$"
mv -f "$target.tmp.$$" "$target"
cp "$source" "$record"
