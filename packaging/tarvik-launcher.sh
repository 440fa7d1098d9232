#!/bin/sh
# Tarvik keeps its settings, logs and statistics beside its executable, so every user runs a
# private copy of the program directory. The copy is refreshed when the installed program
# differs from it; the user's data files are never touched.
set -e

launcher=$(readlink -f "$0")
installed="${launcher%/*}/../libexec/tarvik"
# Help and version are answered by the installed program itself: nothing is copied for them.
case "${1:-}" in
  --help | -h | --version) exec "$installed/tarvik" "$1" ;;
esac
case "$XDG_DATA_HOME" in
  /*) data="$XDG_DATA_HOME" ;;
  *) data="$HOME/.local/share" ;;
esac
own="$data/Tarvik"

mkdir -p "$own"
for file in "$installed"/*; do
  [ -f "$file" ] || continue
  name=${file##*/}
  if ! cmp -s "$file" "$own/$name"; then
    # Copied beside and renamed, so a running copy is never overwritten in place.
    cp -p "$file" "$own/.$name.new"
    mv -f "$own/.$name.new" "$own/$name"
  fi
done

# Autostart entries name this launcher rather than the private copy, so that an entry for
# all users starts each user's own copy.
TARVIK_LAUNCHER="$launcher"
export TARVIK_LAUNCHER
exec "$own/tarvik" "$@"
